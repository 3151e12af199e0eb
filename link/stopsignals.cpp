#include "link/stopsignals.h"

#include <QSocketNotifier>
#include <csignal>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>

namespace {
// The handler only writes the signal's number to a pipe; everything else
// happens in the event loop.
int g_pipe[2] = {-1, -1};
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

void onSignal(int signo)
{
    const char c = char(signo);
    [[maybe_unused]] ssize_t n = ::write(g_pipe[1], &c, 1);
}
}  // namespace

StopSignals::StopSignals(QObject* parent) : QObject(parent)
{
    if (g_pipe[0] >= 0 || ::pipe(g_pipe) != 0)
        return;  // one watcher per process
    for (int fd : g_pipe) {
        ::fcntl(fd, F_SETFL, O_NONBLOCK);
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char buf[16];
        ssize_t n;
        while ((n = ::read(g_pipe[0], buf, sizeof buf)) > 0)
            for (ssize_t i = 0; i < n; ++i)
                emit stopRequested(int(buf[i]));
    });
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int s : kSignals)
        ::sigaction(s, &sa, nullptr);
}

StopSignals::~StopSignals()
{
    if (!m_notifier)
        return;
    for (int s : kSignals)
        std::signal(s, SIG_DFL);
    delete m_notifier;
    for (int& fd : g_pipe) {
        ::close(fd);
        fd = -1;
    }
}
#elif defined(Q_OS_WIN)
#include <QCoreApplication>
#include <QMetaObject>
#include <atomic>
#include <windows.h>

namespace {
// The console calls its Ctrl+C handler on a thread of its own; the handler
// queues the interrupt for the event loop and keeps the program running.
std::atomic<StopSignals*> g_watcher{nullptr};

BOOL WINAPI onControl(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;  // closing the console or logging off still ends the program
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [] {
            if (StopSignals* w = g_watcher.load())
                emit w->stopRequested(SIGINT);
        },
        Qt::QueuedConnection);
    return TRUE;
}
}  // namespace

StopSignals::StopSignals(QObject* parent) : QObject(parent)
{
    StopSignals* none = nullptr;
    if (!g_watcher.compare_exchange_strong(none, this))
        return;  // one watcher per process
    SetConsoleCtrlHandler(&onControl, TRUE);
}

StopSignals::~StopSignals()
{
    StopSignals* self = this;
    if (!g_watcher.compare_exchange_strong(self, nullptr))
        return;
    SetConsoleCtrlHandler(&onControl, FALSE);  // an interrupt still queued finds nobody
}
#else
// Elsewhere the signals keep their ordinary meaning.
StopSignals::StopSignals(QObject* parent) : QObject(parent) {}
StopSignals::~StopSignals() = default;
#endif

QString StopSignals::name(int signo)
{
    switch (signo) {
    case SIGINT: return QStringLiteral("Ctrl+C");
#ifdef Q_OS_UNIX
    case SIGHUP: return QStringLiteral("SIGHUP");
#endif
    case SIGTERM: return QStringLiteral("SIGTERM");
    default: return QStringLiteral("signal %1").arg(signo);
    }
}
