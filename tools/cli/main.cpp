// revora-shift-cli: the configuration tools without the window, for backups,
// fleets of cars and checking files. Runs the same core as the windowed program.
#include "core/appinfo.h"
#include "tools/cli/commands.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <cstring>
#include <memory>
#ifdef REVORA_CLI_REPORT
#include <QGuiApplication>
#endif

namespace {
struct Command {
    const char* name;
    int (*run)(const QStringList&);
    const char* usage;
};

const Command kCommands[] = {
    {"defaults", cmdDefaults, "defaults FILE.dat           write the factory defaults as a data file"},
    {"show", cmdShow, "show [--no-date | --json] FILE.dat  print the file's configuration as the report's text\n"
                      "                              (--no-date: without the print time; --json: one JSON object)"},
    {"diff", cmdDiff, "diff A.dat B.dat            print what differs (exit 0 same, 1 different, 2 error)"},
    {"download", cmdDownload, "download --port PORT FILE.dat  read the controller into FILE.dat"},
    {"upload", cmdUpload, "upload [--backup DIR] --port PORT FILE.dat  program the controller from FILE.dat\n"
                          "                              (--backup: first keep the controller's block in DIR)"},
    {"compare", cmdCompare, "compare --port PORT FILE.dat  print what differs between the controller and FILE.dat"},
    {"ports", cmdPorts, "ports                       list the serial ports (names for --port)"},
#ifdef REVORA_CLI_REPORT
    {"report", cmdReport, "report FILE.dat --pdf OUT.pdf [--comment TEXT]  print the report sheet to a PDF"},
#endif
};

int usage(FILE* out)
{
    std::fprintf(out, "usage: revora-shift-cli COMMAND ...\n");
    for (const Command& c : kCommands)
        std::fprintf(out, "  revora-shift-cli %s\n", c.usage);
    std::fprintf(out, "  revora-shift-cli --help | --version\n");
#ifdef Q_OS_WIN
    const char* const device = "a device name (\\\\.\\COM3)";
#else
    const char* const device = "a device path (/dev/ttyUSB0)";
#endif
    std::fprintf(out, "PORT is a name from 'revora-shift-cli ports', %s or Com1 to Com255.\n", device);
    std::fprintf(out,
                 "Results go to standard output, messages and errors to standard error.\n"
                 "Exit status:\n"
                 "  0  done; diff and compare: no difference\n"
                 "  1  download or upload failed (also when its data file cannot be read or written);\n"
                 "     diff and compare: a difference was found\n"
                 "  2  wrong arguments; defaults, show, diff, report: a file that cannot be read or\n"
                 "     written; compare: the comparison could not be made\n"
                 "  128+N  download, upload, compare: stopped by signal N (130 Ctrl+C, 143 SIGTERM,\n"
                 "     129 SIGHUP); an upload stopped while programming finishes the block first\n");
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
    for (const Command& c : kCommands)
        if (name == QLatin1String(c.name))
            return c.run(args);
    std::fprintf(stderr, "revora-shift-cli: unknown command '%s'\n", qPrintable(name));
    return usage(stderr);
}
