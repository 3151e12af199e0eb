// revora-shift-bench: a full download and upload over the real serial backend
// against the emulator program on a pseudo-terminal, with the wall time, the
// CPU time and the floor that the protocol's own pauses and waits set.
//
// Then the same on a modelled line (the emulator's line model): 56000 baud,
// behind a USB adapter with a 1 ms and with a 16 ms latency timer, each beside
// the floor that the pauses, the byte times and the latency set.
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
#include <optional>

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
//   a download and a compare read the block twice                      x 2
constexpr int kReadPauses = 3 + 288;
constexpr int kDownloadPauses = 3 + 2 * kReadPauses;
constexpr int kUploadPauses = 3 + (3 + 288) + (3 + 144) + 5;

// What crosses the line, for the line model's floor: bytes each way and round trips.
//   checks: resync 1/1, status 1/1, firmware ID 1/24 (the default ID and CR); 3 round trips
//   a read pass: address 3/1, then 144 reads of 1/1; 145 round trips
//   programming: address 3/1, then 144 writes of 2/1; verify as a read pass; reset 5/2
struct Traffic {
    int pauses, out, in, roundTrips;
};
constexpr Traffic kChecks{3, 3, 26, 3};
constexpr Traffic kReadPass{kReadPauses, 3 + 144, 1 + 144, 145};
constexpr Traffic kDownload{kDownloadPauses, kChecks.out + 2 * kReadPass.out, kChecks.in + 2 * kReadPass.in,
                            kChecks.roundTrips + 2 * kReadPass.roundTrips};
constexpr Traffic kUpload{kUploadPauses, kChecks.out + (3 + 288) + kReadPass.out + 5,
                          kChecks.in + (1 + 144) + kReadPass.in + 2, kChecks.roundTrips + 145 + 145 + 1};

double lineFloor(const Traffic& t, double pause, double byteTime, double answer, double latency)
{
    return t.pauses * pause + (t.out + t.in) * byteTime + t.roundTrips * (answer + latency);
}

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

// An emulator and the program's side of the line to it, opened as the command-line tool opens it.
struct Session {
    Emulator emu;
    CliConsole console;
    CliPrompter prompter{console};
    NullLinkView view;
    SerialPort port;
    LinkState state;
    std::optional<ControllerLink> link;
    ParameterStore store;

    bool start(const QString& emulator, const QStringList& args, const LinkTiming& timing)
    {
        if (!emu.start(emulator, args)) {
            std::fprintf(stderr, "revora-shift-bench: cannot start %s\n", qPrintable(emulator));
            return false;
        }
        state.DevicePath = emu.tty();
        link.emplace(port, prompter, view, state, timing);
        return true;
    }
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
        QStringList emuArgs;
        if (ackOnly)
            emuArgs << QStringLiteral("--fail") << QStringLiteral("reset-ack-only");
        Session session;
        if (!session.start(emulator, emuArgs, timing))
            return 1;
        ControllerLink& link = *session.link;
        ParameterStore& store = session.store;

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
            ControllerLink bare(session.port, session.prompter, session.view, session.state, noPauses);
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

    // The modelled line: what a real controller on a real cable costs.
    const double byteTime = 10.0 / 56000;
    const double answer = 50e-6;
    double costOf1ms = 0;
    for (const int latencyMs : {0, 1, 16}) {
        QStringList emuArgs{QStringLiteral("--line"), QStringLiteral("--answer-us"), QStringLiteral("50")};
        if (latencyMs > 0)
            emuArgs << QStringLiteral("--usb-latency") << QString::number(latencyMs);
        Session session;
        if (!session.start(emulator, emuArgs, timing))
            return 1;
        ControllerLink& link = *session.link;
        ParameterStore& store = session.store;
        const double latency = latencyMs / 1000.0;
        const QByteArray where = latencyMs == 0 ? QByteArray("56000 baud")
                                                : QByteArray::number(latencyMs) + " ms adapter";
        std::printf("-- line model: 56000 baud, 50 us answer%s\n",
                    latencyMs ? qPrintable(QStringLiteral(", %1 ms USB latency timer").arg(latencyMs)) : "");
        store.image.ClearEEPROMBuffer();
        const Figures d = timed([&] { return bool(runDownload(link, store)); });
        printFigures(("download, " + where).constData(), d, lineFloor(kDownload, pause, byteTime, answer, latency));
        ImageBuffer again;
        const Figures r = timed([&] { return link.ReadEEPROMData(again) == LinkError::None; });
        printFigures("  the second read's cost", r,
                     lineFloor(kReadPass, pause, byteTime, answer, latency));
        const Figures u = timed([&] { return bool(runUpload(link, store)); });
        printFigures(("upload, " + where).constData(), u, lineFloor(kUpload, pause, byteTime, answer, latency));
        allOk = allOk && d.ok && r.ok && u.ok;
        if (latencyMs == 1)
            costOf1ms = d.wall + u.wall;
        else if (latencyMs == 16 && costOf1ms > 0)
            std::printf("the 16 ms adapter costs %.2f s more per download and upload than the 1 ms one "
                        "(%.2f s against %.2f s)\n",
                        d.wall + u.wall - costOf1ms, d.wall + u.wall, costOf1ms);
    }
    return allOk ? 0 : 1;
}
