// download, upload, compare and ports: the very workflows of the Communications
// menu, over a real serial port, with the messages printed instead of shown.
#include "tools/cli/cli_prompter.h"
#include "tools/cli/commands.h"

#include "link/link.h"
#include "link/portsettings.h"
#include "link/serialport.h"
#include "link/workflows.h"
#include "params/codec.h"
#include "params/datafile.h"

#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <QCoreApplication>
#include <QMetaObject>
#include <atomic>
#include <windows.h>
#endif

namespace {

struct Args {
    QString port;
    QString file;
    QString backup;  // upload only
};

bool parseArgs(const char* command, const QStringList& args, Args* out, bool backupAllowed = false)
{
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
            std::fprintf(stderr, "%s: unknown option '%s'\n", command, qPrintable(a));
            return false;
        } else if (out->file.isEmpty()) {
            out->file = a;
        } else {
            std::fprintf(stderr, "%s: more than one file given\n", command);
            return false;
        }
    }
    if (out->port.isEmpty() || out->file.isEmpty()) {
        std::fprintf(stderr, "usage: revora-shift-cli %s %s--port PORT FILE.dat  (PORT: see revora-shift-cli ports)\n",
                     command, backupAllowed ? "[--backup DIR] " : "");
        return false;
    }
    if (backupAllowed && out->backup.isEmpty() && args.contains(QStringLiteral("--backup="))) {
        std::fprintf(stderr, "%s: --backup needs a folder\n", command);
        return false;
    }
    return true;
}

// Ctrl+C during a transfer does what Esc does in the window: the read or
// verify loop stops at its next byte, the link check at its next step. The
// interrupt only hands itself to the event loop, which the transfers run at
// least once per byte, and the flag is set there. Programming cannot stop
// half-way (the controller would hold a mix of two configurations), so a
// Ctrl+C there is answered once with what will happen, and no Ctrl+C ends the
// program while a transfer runs.
class InterruptReaction {
public:
    InterruptReaction(LinkState& state, CliLinkView& view, CliConsole& console)
        : m_state(state), m_view(view), m_console(console)
    {
    }
    // True when Ctrl+C stopped the workflow without a word of its own.
    bool stoppedSilently(const CliConsole& console) const
    {
        return m_messagesAtInterrupt >= 0 && console.count() == m_messagesAtInterrupt;
    }

protected:
    void interrupted()
    {
        if (m_messagesAtInterrupt < 0)
            m_messagesAtInterrupt = m_console.count();
        m_state.UserAbort = true;
        if (!m_toldProgramming && m_view.transfer() == QLatin1String(linktext::kProgrammingCaption)) {
            m_toldProgramming = true;
            m_console.error(QStringLiteral("Ctrl+C: the configuration block is being written and cannot be "
                                           "stopped half-way; the transfer stops when it is written."));
        }
    }

private:
    LinkState& m_state;
    CliLinkView& m_view;
    CliConsole& m_console;
    int m_messagesAtInterrupt = -1;
    bool m_toldProgramming = false;
};

#ifdef Q_OS_UNIX
// The signal only writes to a pipe, which the event loop watches.
int g_sigPipe[2] = {-1, -1};

void onSigInt(int)
{
    const char c = 1;
    [[maybe_unused]] ssize_t n = ::write(g_sigPipe[1], &c, 1);
}

class InterruptToAbort : public InterruptReaction {
public:
    InterruptToAbort(LinkState& state, CliLinkView& view, CliConsole& console)
        : InterruptReaction(state, view, console)
    {
        if (::pipe(g_sigPipe) != 0)
            return;
        ::fcntl(g_sigPipe[0], F_SETFL, O_NONBLOCK);
        ::fcntl(g_sigPipe[1], F_SETFL, O_NONBLOCK);
        m_notifier = new QSocketNotifier(g_sigPipe[0], QSocketNotifier::Read);
        QObject::connect(m_notifier, &QSocketNotifier::activated, [this] {
            char buf[16];
            while (::read(g_sigPipe[0], buf, sizeof buf) > 0) {
            }
            interrupted();
        });
        std::signal(SIGINT, onSigInt);
    }
    ~InterruptToAbort()
    {
        std::signal(SIGINT, SIG_DFL);
        delete m_notifier;
        for (int& fd : g_sigPipe)
            if (fd >= 0) {
                ::close(fd);
                fd = -1;
            }
    }

private:
    QSocketNotifier* m_notifier = nullptr;
};
#elif defined(Q_OS_WIN)
// The console calls its Ctrl+C handler on a thread of its own; the handler
// queues the interrupt for the event loop and keeps the program running.
class InterruptToAbort;
std::atomic<InterruptToAbort*> g_interrupt{nullptr};

class InterruptToAbort : public InterruptReaction {
public:
    InterruptToAbort(LinkState& state, CliLinkView& view, CliConsole& console)
        : InterruptReaction(state, view, console)
    {
        g_interrupt = this;
        SetConsoleCtrlHandler(&onControl, TRUE);
    }
    ~InterruptToAbort()
    {
        SetConsoleCtrlHandler(&onControl, FALSE);
        g_interrupt = nullptr;  // an interrupt still queued finds nobody
    }

private:
    static BOOL WINAPI onControl(DWORD event)
    {
        if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
            return FALSE;  // closing the console or logging off still ends the program
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [] {
                if (InterruptToAbort* i = g_interrupt.load())
                    i->interrupted();
            },
            Qt::QueuedConnection);
        return TRUE;
    }
};
#else
// Elsewhere Ctrl+C keeps its ordinary meaning.
class InterruptToAbort : public InterruptReaction {
public:
    using InterruptReaction::InterruptReaction;
};
#endif

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
            std::fprintf(stderr, "%s: %s\n", command, qPrintable(error));
            return false;
        }
        return true;
    }
    // Loads a data file as File > Open does: read, decode, marked as data. Says
    // why on failure.
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
        store.image.BufferEmpty = false;
        return true;
    }
    // Ends the conversation: the last message where it belongs.
    int finish(bool succeeded)
    {
        console.finish(succeeded);
        if (!succeeded)
            sayIfStopped();
        return succeeded ? 0 : 1;
    }
    // A workflow Ctrl+C ended without a word of its own still ends with one.
    void sayIfStopped()
    {
        if (interrupt.stoppedSilently(console))
            console.error(QStringLiteral("Stopped by Ctrl+C."));
    }
};

}  // namespace

int cmdDownload(const QStringList& args)
{
    Session s;
    if (!s.start("download", args))
        return 2;
    if (!mnuDownload_Click(s.link, s.store))
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
    // The text goes up as the window's text box would hold it after the open.
    s.store.params.UserData = shownUserText(s.store.params.UserData);
    UploadOptions options;
    options.backupFolder = s.args.backup;
    options.confirm = false;  // asked for on the command line: no question
    QString backupFile;
    const bool ok = mnuUpload_Click(s.link, s.store, options, &backupFile);
    const int status = s.finish(ok);
    if (!backupFile.isEmpty()) {
        const QString line = QStringLiteral("Backup saved as %1").arg(backupFile);
        ok ? s.console.result(line) : s.console.error(line);
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
    // The file's own bytes, not a re-encoding of them.
    const CompareOutcome outcome = compareWithController(s.link, s.store.image);
    s.console.finish(false);  // the firmware ID is no part of the differences
    if (!outcome) {
        s.sayIfStopped();
        return 2;
    }
    if (outcome.differences.same()) {
        s.console.error(QString::fromLatin1(linkworkflow::kSameConfiguration));
        return 0;
    }
    for (const QString& line : report::differenceLines(outcome.differences, cliOffsetName))
        s.console.result(line);
    return 1;
}

int cmdPorts(const QStringList& args)
{
    if (!args.isEmpty()) {
        std::fprintf(stderr, "ports: takes no arguments\n");
        return 2;
    }
    // The ports that exist and the Com numbers mapped to a device; every other
    // ComN is accepted as well.
    const QMap<int, QString> mapped = portsettings::mappedPorts();
    const QList<portsettings::PortEntry> entries = portsettings::portEntries(scanSerialPorts(), mapped);
    for (const portsettings::PortEntry& e : entries) {
        const bool com = e.name.startsWith(QLatin1String("Com"));
        if (com && !mapped.contains(e.name.mid(3).toInt()))
            continue;
        std::printf("%s\n", qPrintable(e.name == e.label ? e.name : e.name + QStringLiteral("  ") + e.label));
    }
    return 0;
}
