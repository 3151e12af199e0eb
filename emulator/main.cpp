// revora-shift-emulator: serves an emulated shift light controller on a
// pseudo-terminal, so the program can be tried and tested without the hardware.
#include "core/appinfo.h"
#include "emulator/controller.h"
#include "emulator/factoryimage.h"
#include "emulator/line.h"
#include "link/portsettings.h"
#include "params/datafile.h"
#include "params/paramset.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/signalfd.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

const char* const kProgram = "revora-shift-emulator";

void complain(const QString& text)
{
    std::fprintf(stderr, "%s: %s\n", kProgram, text.toLocal8Bit().constData());
}

struct Options {
    QString eepromFile;
    QString saveFile;
    QByteArray firmwareId = emu::kDefaultFirmwareId;
    int status = 0;
    QVector<emu::Failure> failures;
    bool log = false;
    int com = 0;  // 0: no settings store mapping
    emu::LineModel line;
};

QString extraHelp()
{
    return QStringLiteral(
               "\nThe first line on standard output is the pseudo-terminal's path (for example\n"
               "/dev/pts/3); open it as the controller's serial port. With --com N the program\n"
               "finds it as ComN. It stops on SIGTERM, SIGHUP or Ctrl+C, saving (--save) and\n"
               "removing the ComN mapping.\n"
               "\nBy default the emulator answers at once. The line model makes it take the time\n"
               "a real controller on a real cable takes:\n"
               "  --line             every byte, each way, takes its time at %2 baud, 8N1\n"
               "                     (10 bits, %3 us a byte), one after the other\n"
               "  --answer-us US     the controller's own time from a command to its answer\n"
               "  --usb-latency MS   a USB serial adapter's latency timer: the adapter holds a\n"
               "                     reply until MS ms after its first byte came, then passes\n"
               "                     on what it holds (16 is the usual default, 1 low latency)\n"
               "  --strict-pacing    the controller is busy %4 us after each byte it takes and\n"
               "                     after each answer it sends, and a byte that comes meanwhile\n"
               "                     is lost, as in a busy controller polling its UART: a PC that\n"
               "                     skips or shortens the protocol's 2 ms pauses gets no\n"
               "                     answer, or has its data byte taken as the next command.\n"
               "\nThe controller answers: 33 resync -> 06; 2E status -> the status byte;\n"
               "10 firmware ID -> the text and 0D; 14 lo hi set address -> 06; 15 read -> the\n"
               "byte at the address, then the next address; 16 data write -> 06, then the next\n"
               "address; 34 5A A5 3C C3 reset -> 06 00 (a wrong confirmation byte -> 15 at once).\n"
               "Unknown commands and addresses beyond 511 -> 15. A command whose next byte is\n"
               "more than %1 ms late is dropped.\n"
               "\nFailure modes for --fail (A: an EEPROM address 0-511, decimal or 0x hex;\n"
               "without it, every address):\n")
               .arg(emu::kCommandByteTimeoutMs)
               .arg(emu::kLineBaud)
               .arg(double(emu::LineModel{emu::kLineBaud}.byteNs()) / 1000, 0, 'f', 1)
               .arg(emu::kStrictPacingUs)
           + emu::failureModesHelp() + QLatin1Char('\n');
}

// Returns the exit code to stop with, or -1 to go on.
int parseOptions(const QStringList& args, Options& o)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Serves an emulated Revora shift light controller on a pseudo-terminal."));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help."));
    const QCommandLineOption eeprom(QStringLiteral("eeprom"),
                                    QStringLiteral("Loads EEPROM addresses 16 to 159 from a data file (144 bytes). "
                                                   "Default: the factory defaults."),
                                    QStringLiteral("FILE.dat"));
    const QCommandLineOption save(QStringLiteral("save"),
                                  QStringLiteral("Writes addresses 16 to 159 to a data file after each completed "
                                                 "reset and when the emulator stops."),
                                  QStringLiteral("FILE.dat"));
    const QCommandLineOption firmware(QStringLiteral("firmware"),
                                      QStringLiteral("Firmware ID text (default \"%1\").").arg(emu::kDefaultFirmwareId),
                                      QStringLiteral("TEXT"));
    const QCommandLineOption status(QStringLiteral("status"),
                                    QStringLiteral("Status byte 0 to 255 (0 and 1: not armed, 2 and above: armed; "
                                                   "default 0)."),
                                    QStringLiteral("N"));
    const QCommandLineOption fail(QStringLiteral("fail"),
                                  QStringLiteral("Adds a failure mode (repeatable); see the list below."),
                                  QStringLiteral("MODE"));
    const QCommandLineOption log(QStringLiteral("log"),
                                 QStringLiteral("Writes the traffic in hex on standard error, one line per command."));
    const QCommandLineOption com(QStringLiteral("com"),
                                 QStringLiteral("Maps ComN (1 to 255) to the pseudo-terminal in the program's "
                                                "settings while the emulator runs."),
                                 QStringLiteral("N"));
    const QCommandLineOption line(QStringLiteral("line"),
                                  QStringLiteral("Bytes take their time at 56000 baud (see below)."));
    const QCommandLineOption answer(QStringLiteral("answer-us"),
                                    QStringLiteral("The controller's time to answer a command (see below)."),
                                    QStringLiteral("US"));
    const QCommandLineOption latency(QStringLiteral("usb-latency"),
                                     QStringLiteral("Replies wait for a USB adapter's latency timer (see below)."),
                                     QStringLiteral("MS"));
    const QCommandLineOption strict(QStringLiteral("strict-pacing"),
                                    QStringLiteral("The controller needs the protocol's pauses (see below)."));
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("Shows the version."));
    parser.addOptions({help, version, eeprom, save, firmware, status, fail, log, com, line, answer, latency, strict});

    if (!parser.parse(args)) {
        QString why = parser.errorText();
        if (!why.endsWith(QLatin1Char('.')))
            why += QLatin1Char('.');
        complain(why + QStringLiteral(" See --help."));
        return kExitUsage;
    }
    if (parser.isSet(version)) {
        std::printf("%s %s\n", kProgram, qPrintable(appinfo::version()));
        return kExitOk;
    }
    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText() + extraHelp()), stdout);
        return kExitOk;
    }
    if (!parser.positionalArguments().isEmpty()) {
        complain(QStringLiteral("Unexpected argument \"%1\". See --help.").arg(parser.positionalArguments().front()));
        return kExitUsage;
    }

    o.eepromFile = parser.value(eeprom);
    o.saveFile = parser.value(save);
    o.log = parser.isSet(log);
    if (parser.isSet(firmware)) {
        const QString text = parser.value(firmware);
        for (QChar ch : text) {
            if (ch.unicode() > 0xFF) {
                complain(QStringLiteral("The firmware ID \"%1\" holds '%2', which the controller cannot send; "
                                        "use Latin-1 characters only.")
                             .arg(text, ch));
                return kExitUsage;
            }
        }
        o.firmwareId = text.toLatin1();
    }
    if (parser.isSet(status)) {
        bool ok = false;
        o.status = parser.value(status).toInt(&ok, 0);
        if (!ok || o.status < 0 || o.status > 255) {
            complain(QStringLiteral("--status \"%1\" is not a byte; use 0 to 255.").arg(parser.value(status)));
            return kExitUsage;
        }
    }
    if (parser.isSet(com)) {
        bool ok = false;
        o.com = parser.value(com).toInt(&ok, 10);
        if (!ok || o.com < 1 || o.com > 255) {
            complain(QStringLiteral("--com \"%1\" is not a port number; use 1 to 255.").arg(parser.value(com)));
            return kExitUsage;
        }
    }
    const auto number = [&](const QCommandLineOption& option, int max, int* out) {
        bool ok = false;
        *out = parser.value(option).toInt(&ok, 10);
        if (ok && *out >= 0 && *out <= max)
            return true;
        complain(QStringLiteral("--%1 \"%2\" is not a number from 0 to %3.")
                     .arg(option.names().constFirst(), parser.value(option))
                     .arg(max));
        return false;
    };
    if (parser.isSet(line))
        o.line.baud = emu::kLineBaud;
    if (parser.isSet(answer) && !number(answer, 100000, &o.line.answerUs))
        return kExitUsage;
    if (parser.isSet(latency) && !number(latency, 255, &o.line.usbLatencyMs))
        return kExitUsage;
    if (parser.isSet(strict))
        o.line.pacingUs = emu::kStrictPacingUs;
    for (const QString& mode : parser.values(fail)) {
        QString error;
        const auto failure = emu::parseFailure(mode, &error);
        if (!failure) {
            complain(error);
            return kExitUsage;
        }
        o.failures.append(*failure);
    }
    return -1;
}

// The pseudo-terminal: the master is ours, the slave is the controller's "serial
// port". We keep a slave descriptor of our own open for the whole run, so the
// master never sees a hang-up while the program under test closes and reopens it.
struct Pty {
    int master = -1;
    int slave = -1;
    QString path;

    bool create(QString* error)
    {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
            *error = QStringLiteral("Cannot create a pseudo-terminal: %1.").arg(QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
        const char* name = ptsname(master);
        if (!name) {
            *error = QStringLiteral("Cannot name the pseudo-terminal: %1.").arg(QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
        path = QString::fromLocal8Bit(name);
        slave = ::open(name, O_RDWR | O_NOCTTY);
        termios tio{};
        if (slave < 0 || tcgetattr(slave, &tio) != 0) {
            *error = QStringLiteral("Cannot open %1: %2.").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
        // Raw: 0D, 11, 13 and 00 are data on this line, never line endings,
        // flow control or anything else.
        cfmakeraw(&tio);
        if (tcsetattr(slave, TCSANOW, &tio) != 0) {
            *error = QStringLiteral("Cannot set %1 to raw mode: %2.").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
        fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
        return true;
    }

    void close()
    {
        if (master >= 0)
            ::close(master);
        if (slave >= 0)
            ::close(slave);
        master = slave = -1;
    }

    // Writes the whole answer; a reader that stopped reading long ago (its input
    // queue full) loses the rest, as on a real line.
    bool send(const QByteArray& bytes)
    {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master, bytes.constData() + done, size_t(bytes.size() - done));
            if (n > 0) {
                done += n;
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && errno == EAGAIN) {
                pollfd p{master, POLLOUT, 0};
                if (::poll(&p, 1, 100) > 0)
                    continue;
            }
            return false;
        }
        return true;
    }
};

// Com n named in the settings for as long as the emulator serves, so the window
// and the command-line tool find the terminal under that number.
class ComMapping {
public:
    bool add(int com, const QString& path)
    {
        QString error;
        if (!portsettings::mapPortDevice(com, path, &error)) {
            complain(error);
            return false;
        }
        com_ = com;
        path_ = path;
        return true;
    }

    void remove()
    {
        if (com_ == 0)
            return;
        portsettings::unmapPortDevice(com_, path_);
        com_ = 0;
    }

private:
    int com_ = 0;
    QString path_;
};

bool saveEeprom(const Options& o, const EmulatedController& controller)
{
    if (o.saveFile.isEmpty())
        return true;
    const datafile::Result r = datafile::writeBlock(o.saveFile, controller.configBlock());
    if (!r.ok)
        complain(r.error);
    return r.ok;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QString::fromLatin1(kProgram));

    Options o;
    if (const int code = parseOptions(QCoreApplication::arguments(), o); code >= 0)
        return code;

    EmulatedController controller;
    controller.setLineModel(o.line);
    controller.setFirmwareId(o.firmwareId);
    controller.setStatus(uint8_t(o.status));
    for (const emu::Failure& f : o.failures)
        controller.addFailure(f);
    if (o.eepromFile.isEmpty()) {
        controller.setConfigBlock(factoryConfigBlock());
    } else {
        QByteArray block;
        const datafile::Result r = datafile::readBlock(o.eepromFile, block);
        if (!r.ok) {
            complain(QStringLiteral("--eeprom %1: %2 Give a parameter data file of %3 bytes.")
                         .arg(o.eepromFile, r.error.endsWith(QLatin1Char('.')) ? r.error : r.error + QLatin1Char('.'))
                         .arg(kConfigSize));
            return kExitUsage;
        }
        controller.setConfigBlock(block);
    }

    // Stop requests arrive through a descriptor, so the poll loop sees them
    // without a race between a signal handler and poll().
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    const int stopFd = signalfd(-1, &stopSignals, SFD_CLOEXEC);
    if (stopFd < 0) {
        complain(QStringLiteral("Cannot watch for stop signals: %1.").arg(QString::fromLocal8Bit(std::strerror(errno))));
        return kExitFailed;
    }

    Pty pty;
    QString error;
    if (!pty.create(&error)) {
        complain(error);
        return kExitFailed;
    }
    ComMapping mapping;
    if (o.com > 0 && !mapping.add(o.com, pty.path)) {
        pty.close();
        return kExitFailed;
    }

    bool resetDone = false;
    bool unplugged = false;
    controller.onReset = [&] { resetDone = true; };
    controller.onDisconnect = [&] { unplugged = controller.isUnplugged(); };
    if (o.log)
        controller.onTrace = [](const QString& line) { std::fprintf(stderr, "%s\n", qPrintable(line)); };

    std::printf("%s\n", pty.path.toLocal8Bit().constData());
    std::fflush(stdout);

    // Every byte goes over the modelled line; answers wait there until they are due.
    ModelledLine wire(controller);
    QElapsedTimer clock;
    clock.start();
    bool saveFailed = false;
    for (;;) {
        const qint64 now = clock.nsecsElapsed();
        const QByteArray due = wire.take(now);
        if (!due.isEmpty() && !pty.send(due) && o.log)
            complain(QStringLiteral("The reply %1 was lost: nobody reads the line.")
                         .arg(QString::fromLatin1(due.toHex(' ').toUpper())));
        // Saved after the answer went out, so the PC is not kept waiting.
        if (resetDone && wire.nextArrivalNs(now) < 0) {
            resetDone = false;
            saveFailed = !saveEeprom(o, controller) || saveFailed;
        }
        if (unplugged) {
            complain(QStringLiteral("The port vanished after %1 bytes (failure mode unplug); stopping.")
                         .arg(controller.bytesReceived()));
            break;
        }
        const qint64 next = wire.nextArrivalNs(now);
        timespec wait{};
        if (next >= 0) {
            wait.tv_sec = time_t((next - now) / 1000000000);
            wait.tv_nsec = long((next - now) % 1000000000);
        }
        pollfd fds[2] = {{pty.master, POLLIN, 0}, {stopFd, POLLIN, 0}};
        if (::ppoll(fds, 2, next >= 0 ? &wait : nullptr, nullptr) < 0) {
            if (errno == EINTR)
                continue;
            complain(QStringLiteral("Waiting for the line failed: %1.").arg(QString::fromLocal8Bit(std::strerror(errno))));
            break;
        }
        if (fds[1].revents & POLLIN) {
            signalfd_siginfo info{};
            (void)!::read(stopFd, &info, sizeof info);
            break;
        }
        if (fds[0].revents & POLLIN) {
            char buffer[256];
            const ssize_t n = ::read(pty.master, buffer, sizeof buffer);
            const qint64 at = clock.nsecsElapsed();
            for (ssize_t i = 0; i < n && !unplugged; ++i)
                wire.send(uint8_t(buffer[i]), at);
        } else if (fds[0].revents & (POLLHUP | POLLERR)) {
            // Cannot happen while our own slave descriptor is open; never spin on it.
            ::usleep(10000);
        }
    }

    pty.close();
    saveFailed = !saveEeprom(o, controller) || saveFailed;
    mapping.remove();
    ::close(stopFd);
    return saveFailed ? kExitFailed : kExitOk;
}
