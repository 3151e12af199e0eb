// revora-shift-bench: a full download and upload over the real serial backend
// against the emulator program on a pseudo-terminal, with the wall time, the
// CPU time and the floor that the protocol's own pauses and waits set.
//
//   revora-shift-bench [--emulator PATH] [--runs N]
#include "link/link.h"
#include "link/serialport.h"
#include "link/workflows.h"
#include "tools/cli/cli_prompter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <cstdio>
#include <ctime>

namespace {

double cpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// The pauses the protocol itself asks for, counted from the workflows:
//   link checks: one pause after each of resync, status, firmware ID        3
//   an address command: two between its bytes, one after the reply          3
//   read: per byte one after the reply and one in the loop         144 x 2 = 288
//   program: per byte one between command and data, one after      144 x 2 = 288
//   verify: per byte one after the reply                           144 x 1 = 144
//   reset: four between its five bytes, one after the reply                 5
constexpr int kDownloadPauses = 3 + 3 + 288;
constexpr int kUploadPauses = 3 + (3 + 288) + (3 + 144) + 5;

struct Figures {
    bool ok = false;
    double wall = 0;
    double cpu = 0;
};

class Emulator {
public:
    bool start(const QString& program, const QStringList& args)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(program, args);
        if (!m_process.waitForStarted(5000))
            return false;
        while (!m_process.canReadLine() && m_process.waitForReadyRead(5000)) {
        }
        m_tty = QString::fromLocal8Bit(m_process.readLine()).trimmed();
        return !m_tty.isEmpty();
    }
    ~Emulator()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(2000);
    }
    QString tty() const { return m_tty; }

private:
    QProcess m_process;
    QString m_tty;
};

Figures timed(const std::function<bool()>& run)
{
    Figures f;
    const double cpu0 = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    f.ok = run();
    f.wall = clock.nsecsElapsed() / 1e9;
    f.cpu = cpuSeconds() - cpu0;
    return f;
}

void printFigures(const char* what, const Figures& f, double floor)
{
    std::printf("%-28s %s  wall %.3f s  cpu %.3f s (%4.1f%% of wall)  floor %.3f s  wall over floor %+5.1f%%\n",
                what, f.ok ? "ok    " : "FAILED", f.wall, f.cpu, 100.0 * f.cpu / f.wall, floor,
                100.0 * (f.wall - floor) / floor);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QString emulator = QCoreApplication::applicationDirPath() + QStringLiteral("/revora-shift-emulator");
    int runs = 3;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--emulator") && i + 1 < args.size())
            emulator = args[++i];
        else if (args[i] == QLatin1String("--runs") && i + 1 < args.size())
            runs = qMax(1, args[++i].toInt());
        else {
            std::fprintf(stderr, "usage: revora-shift-bench [--emulator PATH] [--runs N]\n");
            return 2;
        }
    }

    const LinkTiming timing;
    const double pause = timing.pauseMs / 1000.0;
    const double resetWait = timing.replyDeadlineMs / 1000.0;
    std::printf("pauses of %d ms, reply deadline %d ms; %d run(s) of each\n", timing.pauseMs,
                timing.replyDeadlineMs, runs);

    bool allOk = true;
    for (const bool ackOnly : {false, true}) {
        Emulator emu;
        QStringList emuArgs;
        if (ackOnly)
            emuArgs << QStringLiteral("--fail") << QStringLiteral("reset-ack-only");
        if (!emu.start(emulator, emuArgs)) {
            std::fprintf(stderr, "revora-shift-bench: cannot start %s\n", qPrintable(emulator));
            return 1;
        }
        CliConsole console;
        CliPrompter prompter(console);
        NullLinkView view;
        SerialPort port;
        LinkState state;
        state.DevicePath = emu.tty();
        ControllerLink link(port, prompter, view, state, timing);
        ParameterStore store;

        if (!ackOnly) {
            // Where the time over the floor goes: the pauses themselves, and the
            // line's round trip (command out, the emulator's answer back in).
            const Figures p = timed([&] {
                for (int i = 0; i < kDownloadPauses; ++i)
                    link.DelayTimer(timing.pauseMs);
                return true;
            });
            printFigures("pauses alone", p, kDownloadPauses * pause);
            LinkTiming noPauses = timing;
            noPauses.pauseMs = 0;
            ControllerLink bare(port, prompter, view, state, noPauses);
            bare.SetEEPROMAddress(16);
            const Figures rt = timed([&] {
                bool ok = true;
                for (int i = 0; i < kConfigSize; ++i)
                    ok = bool(bare.ReadEEPROM()) && ok;
                return ok;
            });
            bare.closePort();
            std::printf("%-28s %s  %.0f us per one-byte transaction (%d reads without pauses, cpu %.0f us each)\n",
                        "round trip", rt.ok ? "ok    " : "FAILED", rt.wall * 1e6 / kConfigSize, kConfigSize,
                        rt.cpu * 1e6 / kConfigSize);
        }
        for (int run = 0; run < runs; ++run) {
            if (!ackOnly) {
                store.image.ClearEEPROMBuffer();
                const Figures d = timed([&] { return bool(runDownload(link, store)); });
                printFigures("download", d, kDownloadPauses * pause);
                allOk = allOk && d.ok;
            } else if (store.image.BufferEmpty) {
                allOk = bool(runDownload(link, store)) && allOk;
            }
            const Figures u = timed([&] { return bool(runUpload(link, store)); });
            printFigures(ackOnly ? "upload (reset answered 06)" : "upload (reset answered 06 00)", u,
                   kUploadPauses * pause + (ackOnly ? resetWait : 0));
            allOk = allOk && u.ok;
        }
    }
    return allOk ? 0 : 1;
}
