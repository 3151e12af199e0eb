// revora-shift-cli: the configuration tools without the window, for backups,
// fleets of cars and checking files. Runs the same core as the windowed program.
#include "core/appinfo.h"
#include "tools/cli/cli_output.h"
#include "tools/cli/commands.h"
#include "tools/cli/commandtable.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <cstring>
#include <memory>
#ifdef REVORA_CLI_REPORT
#include <QGuiApplication>
#endif

namespace {
// What runs each command of the table; the texts about it live in the table.
int (*runner(const QString& name))(const QStringList&)
{
    static const struct {
        const char* name;
        int (*run)(const QStringList&);
    } kRunners[] = {
        {"defaults", cmdDefaults}, {"show", cmdShow}, {"diff", cmdDiff},   {"download", cmdDownload},
        {"upload", cmdUpload},     {"compare", cmdCompare}, {"ports", cmdPorts},
#ifdef REVORA_CLI_REPORT
        {"report", cmdReport},
#endif
    };
    for (const auto& r : kRunners)
        if (name == QLatin1String(r.name))
            return r.run;
    return nullptr;
}

int usage(FILE* out)
{
    std::fputs(cli::terminalText(clitable::helpText()).constData(), out);
    return out == stderr ? 2 : 0;
}
}  // namespace

int main(int argc, char** argv)
{
    // The report lays its text out in real fonts and so needs the GUI application,
    // without a display unless one is asked for; the other commands stay on the core.
    std::unique_ptr<QCoreApplication> app;
#ifdef REVORA_CLI_REPORT
    if (argc > 1 && std::strcmp(argv[1], "report") == 0) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
#endif
    if (!app)
        app = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(appinfo::applicationName());
    QStringList args = app->arguments().mid(1);
    if (args.isEmpty())
        return usage(stderr);
    const QString name = args.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help"))
        return usage(stdout);
    if (name == QLatin1String("--version")) {
        std::printf("revora-shift-cli %s\n", qPrintable(appinfo::version()));
        return 0;
    }
    const clitable::CommandText* command = clitable::command(name);
    const auto run = runner(name);
    if (!command || !run) {
        std::fprintf(stderr, "revora-shift-cli: unknown command '%s'\n", cli::terminalText(name).constData());
        return usage(stderr);
    }
    // Every command explains itself, whatever else is on the line.
    if (args.contains(QStringLiteral("--help")) || args.value(0) == QLatin1String("-h")) {
        cli::printOut(clitable::commandHelp(*command));
        return 0;
    }
    return run(args);
}
