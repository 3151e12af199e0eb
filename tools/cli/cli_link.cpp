// download and upload: the very workflows of the Communications menu, over a
// real serial port, with the messages printed instead of shown.
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

namespace {

struct Args {
    QString port;
    QString file;
};

bool parseArgs(const char* command, const QStringList& args, Args* out)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--port") && i + 1 < args.size()) {
            out->port = args.at(++i);
        } else if (a.startsWith(QLatin1String("--port="))) {
            out->port = a.mid(7);
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
        std::fprintf(stderr, "usage: revora-shift-cli %s --port PORT FILE.dat  (PORT: a device path or ComN)\n",
                     command);
        return false;
    }
    return true;
}

#ifdef Q_OS_UNIX
// Ctrl+C during a transfer does what Esc does in the window: the read or
// verify loop stops at its next byte. The signal only writes to a pipe; the
// flag is set from the event loop, which the transfers run once per byte.
// A second Ctrl+C ends the program the ordinary way.
int g_sigPipe[2] = {-1, -1};
volatile std::sig_atomic_t g_interrupts = 0;

void onSigInt(int)
{
    if (g_interrupts++ > 0) {
        std::signal(SIGINT, SIG_DFL);
        std::raise(SIGINT);
        return;
    }
    const char c = 1;
    [[maybe_unused]] ssize_t n = ::write(g_sigPipe[1], &c, 1);
}

class InterruptToAbort {
public:
    explicit InterruptToAbort(LinkState& state)
    {
        if (::pipe(g_sigPipe) != 0)
            return;
        ::fcntl(g_sigPipe[0], F_SETFL, O_NONBLOCK);
        ::fcntl(g_sigPipe[1], F_SETFL, O_NONBLOCK);
        m_notifier = new QSocketNotifier(g_sigPipe[0], QSocketNotifier::Read);
        QObject::connect(m_notifier, &QSocketNotifier::activated, [&state] {
            char buf[16];
            while (::read(g_sigPipe[0], buf, sizeof buf) > 0) {
            }
            state.UserAbort = true;
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
#else
// Elsewhere Ctrl+C keeps its ordinary meaning.
class InterruptToAbort {
public:
    explicit InterruptToAbort(LinkState&) {}
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
    InterruptToAbort interrupt{state};

    bool setPort(const char* command, const QString& text)
    {
        QString error;
        state.DevicePath = portsettings::resolvePortArgument(text, &error);
        if (state.DevicePath.isEmpty()) {
            std::fprintf(stderr, "%s: %s\n", command, qPrintable(error));
            return false;
        }
        return true;
    }
};

}  // namespace

int cmdDownload(const QStringList& args)
{
    Args a;
    if (!parseArgs("download", args, &a))
        return 2;
    Session s;
    if (!s.setPort("download", a.port))
        return 2;
    if (!mnuDownload_Click(s.link, s.store))
        return 1;
    // Only a complete, decoded download reaches the file.
    const datafile::Result written = datafile::write(a.file, s.store.image);
    if (!written.ok) {
        s.console.line(written.error);
        return 1;
    }
    return 0;
}

int cmdUpload(const QStringList& args)
{
    Args a;
    if (!parseArgs("upload", args, &a))
        return 2;
    Session s;
    if (!s.setPort("upload", a.port))
        return 2;
    // The file is loaded as File > Open loads it: read, decode, marked as data.
    const datafile::Result read = datafile::read(a.file, s.store.image);
    if (!read.ok) {
        s.console.line(read.error);
        return 1;
    }
    const CodecResult decoded = UpdateParams(s.store.image, s.store.params);
    if (!decoded) {
        s.console.line(decoded.message());
        return 1;
    }
    // The text goes up as the window's text box would hold it after the open.
    s.store.params.UserData = shownUserText(s.store.params.UserData);
    s.store.image.BufferEmpty = false;
    return mnuUpload_Click(s.link, s.store) ? 0 : 1;
}
