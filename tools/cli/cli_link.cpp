// download, upload, compare and ports: the very workflows of the Communications
// menu, over a real serial port, with the messages printed instead of shown.
#include "tools/cli/cli_output.h"
#include "tools/cli/cli_prompter.h"
#include "tools/cli/commands.h"

#include "link/link.h"
#include "link/portsettings.h"
#include "link/serialport.h"
#include "link/stopsignals.h"
#include "link/workflows.h"
#include "params/codec.h"
#include "params/datafile.h"
#include "params/layout.h"

#include <cstdio>

namespace {

struct Args {
    QString port;
    QString file;
    QString backup;  // upload only
};

bool parseArgs(const char* command, const QStringList& args, Args* out, bool backupAllowed = false)
{
    const QString name = QLatin1String(command);
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--port") && i + 1 < args.size()) {
            out->port = args.at(++i);
        } else if (a.startsWith(QLatin1String("--port="))) {
            out->port = a.mid(7);
        } else if (backupAllowed && a == QLatin1String("--backup") && i + 1 < args.size()) {
            out->backup = args.at(++i);
        } else if (backupAllowed && a.startsWith(QLatin1String("--backup="))) {
            out->backup = a.mid(9);
        } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            cli::usageError(name, QStringLiteral("unknown option '%1', or an option without its value.").arg(a));
            return false;
        } else if (out->file.isEmpty()) {
            out->file = a;
        } else {
            cli::usageError(name, QStringLiteral("more than one data file given ('%1' and '%2').").arg(out->file, a));
            return false;
        }
    }
    if (out->port.isEmpty() || out->file.isEmpty()) {
        cli::usageError(name, out->file.isEmpty() ? QStringLiteral("no data file given.")
                                                  : QStringLiteral("no --port given (revora-shift-cli ports lists "
                                                                   "the ports)."));
        return false;
    }
    if (backupAllowed && out->backup.isEmpty() && args.contains(QStringLiteral("--backup="))) {
        cli::usageError(name, QStringLiteral("--backup needs a folder."));
        return false;
    }
    return true;
}

// Ctrl+C, SIGTERM and SIGHUP during a transfer do what Esc does in the window:
// the read or verify loop stops at its next byte, the link check at its next
// step. Programming cannot stop half-way (the controller would hold a mix of two
// configurations), so a signal there is answered once with what will happen,
// the block is finished, and nothing more is sent. No signal but SIGKILL ends
// the program while a transfer runs.
class InterruptToAbort {
public:
    InterruptToAbort(LinkState& state, CliLinkView& view, CliConsole& console)
    {
        QObject::connect(&m_signals, &StopSignals::stopRequested, [this, &state, &view, &console](int signo) {
            if (m_messagesAtInterrupt < 0)
                m_messagesAtInterrupt = console.count();
            if (state.StopSignal == 0)
                state.StopSignal = signo;
            state.UserAbort = true;
            if (!m_toldProgramming && view.transfer() == QLatin1String(linktext::kProgrammingCaption)) {
                m_toldProgramming = true;
                console.error(QStringLiteral("%1: the configuration block is being written and cannot be "
                                             "stopped half-way; the transfer stops when it is written.")
                                  .arg(StopSignals::name(signo)));
            }
        });
    }
    // True when a signal stopped the workflow without a word of its own.
    bool stoppedSilently(const CliConsole& console) const
    {
        return m_messagesAtInterrupt >= 0 && console.count() == m_messagesAtInterrupt;
    }

private:
    StopSignals m_signals;
    int m_messagesAtInterrupt = -1;
    bool m_toldProgramming = false;
};

// Everything one run of a workflow needs, wired the way the main window wires it.
struct Session {
    CliConsole console;
    CliPrompter prompter{console};
    CliLinkView view{console};
    SerialPort port;
    LinkState state;
    ParameterStore store;
    ControllerLink link{port, prompter, view, state};
    InterruptToAbort interrupt{state, view, console};
    Args args;

    // Reads the command's arguments and sets the port up; false on a usage error (said).
    bool start(const char* command, const QStringList& list, bool backupAllowed = false)
    {
        if (!parseArgs(command, list, &args, backupAllowed))
            return false;
        port.setChoosePortHint(QStringLiteral("with --port (revora-shift-cli ports lists the ports)"));
        QString error;
        state.DevicePath = portsettings::resolvePortArgument(args.port, &error);
        if (state.DevicePath.isEmpty()) {
            cli::printError(QLatin1String(command), error);
            return false;
        }
        return true;
    }
    // Loads a data file as File > Open leaves the window: read, decoded, marked
    // as data, the user text as its text box shows it (the box is what an upload
    // takes). Says why on failure.
    bool load(const QString& path)
    {
        const datafile::Result read = datafile::read(path, store.image);
        if (!read.ok) {
            console.error(read.error);
            return false;
        }
        const CodecResult decoded = UpdateParams(store.image, store.params);
        if (!decoded) {
            console.error(decoded.message());
            return false;
        }
        store.params.UserData = shownUserText(store.params.UserData);
        store.image.BufferEmpty = false;
        return true;
    }
    // Ends the conversation: the last message where it belongs. A transfer a
    // signal stopped ends with the customary status, 128 + the signal's number.
    int finish(bool succeeded, int failed = 1)
    {
        console.finish(succeeded);
        if (succeeded)
            return 0;
        sayIfStopped();
        return state.StopSignal != 0 ? StopSignals::exitStatus(state.StopSignal) : failed;
    }
    // A workflow a signal ended without a word of its own still ends with one.
    void sayIfStopped()
    {
        if (interrupt.stoppedSilently(console))
            console.error(QStringLiteral("Stopped by %1.").arg(StopSignals::name(state.StopSignal)));
    }
};

}  // namespace

int cmdDownload(const QStringList& args)
{
    Session s;
    if (!s.start("download", args))
        return 2;
    if (!runDownload(s.link, s.store))
        return s.finish(false);
    // Only a complete, decoded download reaches the file.
    const datafile::Result written = datafile::write(s.args.file, s.store.image);
    if (!written.ok)
        s.console.message(written.error);
    return s.finish(written.ok);
}

int cmdUpload(const QStringList& args)
{
    Session s;
    if (!s.start("upload", args, true))
        return 2;
    if (!s.load(s.args.file))
        return 1;
    UploadOptions options;
    options.backupFolder = s.args.backup;
    options.confirm = false;  // asked for on the command line: no question
    const TransferOutcome outcome = runUpload(s.link, s.store, options);
    const int status = s.finish(bool(outcome));
    if (!outcome.backupFile.isEmpty()) {
        const QString line = QStringLiteral("Backup saved as %1").arg(outcome.backupFile);
        outcome ? s.console.result(line) : s.console.error(line);
    }
    return status;
}

int cmdCompare(const QStringList& args)
{
    Session s;
    if (!s.start("compare", args))
        return 2;
    if (!s.load(s.args.file))
        return 2;
    // What an upload of the file writes, as the window compares its configuration:
    // right after an upload of the same file nothing differs.
    const TransferOutcome outcome = compareWithController(s.link, s.store);
    if (!outcome)
        return s.finish(false, 2);
    s.console.finish(false);  // the firmware ID is no part of the differences
    if (outcome.differences.same()) {
        s.console.error(QString::fromLatin1(linkworkflow::kSameConfiguration));
        return 0;
    }
    s.console.result(comparisonHeading(QStringLiteral("the controller"), s.args.file));
    for (const QString& line : report::differenceLines(outcome.differences, layout::nameAt))
        s.console.result(line);
    return 1;
}

int cmdPorts(const QStringList& args)
{
    if (!args.isEmpty())
        return cli::usageError(QStringLiteral("ports"), QStringLiteral("takes no arguments."));
    // The ports that exist and the Com numbers mapped to a device; every other
    // ComN is accepted as well.
    const QMap<int, QString> mapped = portsettings::mappedPorts();
    const QList<portsettings::PortRecord> records = scanSerialPorts();
    const QList<portsettings::PortEntry> entries = portsettings::portEntries(records, mapped);
    for (const portsettings::PortEntry& e : entries) {
        const bool com = e.name.startsWith(QLatin1String("Com"));
        if (com && !mapped.contains(e.name.mid(3).toInt()))
            continue;
        cli::printOut((e.name == e.label ? e.name : e.name + QStringLiteral("  ") + e.label) + QLatin1Char('\n'));
    }
    const QString advice = portsettings::latencyAdvice(records);
    if (!advice.isEmpty())
        std::fputs(cli::terminalText(advice + QLatin1Char('\n')).constData(), stderr);
    return 0;
}
