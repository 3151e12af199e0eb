// The block transfers and workflows against the emulated controller, one failure mode at a time.
#include "emulator/controller.h"
#include "emulator/emulatedport.h"
#include "emulator/factoryimage.h"
#include "link/link.h"
#include "link/stopsignals.h"
#include "link/workflows.h"
#include "params/codec.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <ctime>
#include <memory>

namespace {
#ifdef Q_OS_WIN
const QString kDevice = QStringLiteral("\\\\.\\COM1");  // Com1, as the link names it
#else
const QString kDevice = QStringLiteral("/dev/ttyS0");
#endif
const QString kTimeout = QStringLiteral("RS-232 timeout. Check cable and click Abort.");
const QString kNoLink = QStringLiteral("Cannot establish RS-232 link. Check cable and controller power.");
const QString kNoAnswer = QStringLiteral("\nNo controller answered on the serial port %1. If it is connected to another port, choose that one under Communications > Port Setup.").arg(kDevice);
const QString kNotOpened = QStringLiteral("\nThe serial port %1 could not be opened. Choose the controller's port under Communications > Port Setup.").arg(kDevice);
const QString kNoPort = QStringLiteral("The serial port %1 does not exist.").arg(kDevice);
const QString kFw = QStringLiteral("Firmware ID: Revora Shift Light v1.0");
const QString kNotVerified = QStringLiteral("Upload aborted - EEPROM verification failed.");
const QString kLost = QStringLiteral("\nThe serial port %1 was lost: the adapter was unplugged or the port went away. Plug it in again and check the port chosen.").arg(kDevice);
// VSSFreq's high byte 0x80: no 16-bit signed value, so nothing half-decoded may be kept.
const QString kOverflow = QStringLiteral("\nOverflow: VSSFreq at image offset 17 does not fit (value 32918). This configuration "
                                         "cannot be loaded; use another file, or upload a good configuration to the controller.");
// Read as Latin-1, and known as this product in any case.
const QByteArray kOddId("r\xe9vora shift light 2.3b");

QString err(const QString& text) { return QStringLiteral("Error: ") + text; }
QString dl(const QString& text) { return QStringLiteral("Download From EEPROM: ") + text; }
QString ul(const QString& text) { return QStringLiteral("Upload To EEPROM: ") + text; }
QString cmp(const QString& text) { return QStringLiteral("Compare With Controller: ") + text; }

// Records what a transfer showed.
class RecordingView : public LinkView {
public:
    void showProgress(const QString& caption) override
    {
        events << QStringLiteral("show:") + caption;
    }
    void showConnecting(const QString& device) override { events << QStringLiteral("connect:") + device; }
    void setProgress(int) override {}
    void hideProgress() override { events << QStringLiteral("hide"); }
    void hideParameterFrames() override { framesVisible = false; }
    void setCaption(const QString& c) override { caption = c; }
    void refreshEditor() override { framesVisible = true; }
    bool progressVisible() const { return !events.isEmpty() && events.last() != QLatin1String("hide"); }

    QStringList events;
    bool framesVisible = true;
    QString caption;
};

// The controller answers at once, but a CR (the firmware line's end) may be made to come late.
struct LatePort : EmulatedPort {
    using EmulatedPort::EmulatedPort;
    int crLateMs = 0;
    int readByte() override
    {
        const int b = EmulatedPort::readByte();
        if (b == 0x0D)
            QThread::msleep(ulong(crLateMs));
        return b;
    }
};

struct Rig {
    // Short deadlines and no pauses, unless the test asks for the protocol's own.
    explicit Rig(LinkTiming timing = LinkTiming{200, 0, 2}) : link(port, prompter, view, state, timing) {}
    EmulatedController controller;
    LatePort port{controller};
    ScriptedPrompter prompter;
    RecordingView view;
    LinkState state;
    ControllerLink link;
    int reads = 0;

    // Modes joined by '+': the set-ups the transfers share, a failure the controller acts out, or the test's own.
    void arrange(const QString& modes)
    {
        for (const QString& mode : modes.split(QLatin1Char('+'), Qt::SkipEmptyParts)) {
            if (mode == QLatin1String("stale esc"))
                state.UserAbort = true;
            else if (mode == QLatin1String("odd id"))
                controller.setFirmwareId(kOddId);
            else if (mode.startsWith(QLatin1String("status:")))
                controller.setStatus(uint8_t(mode.mid(7).toInt()));
            else if (mode == QLatin1String("undecodable"))
                controller.eeprom()[18] = 0x80;
            else if (mode.startsWith(QLatin1String("cr late:")))
                port.crLateMs = mode.mid(8).toInt();
            else if (mode == QLatin1String("open error"))
                port.setOpenError(kNoPort);
            else if (mode.startsWith(QLatin1String("esc:")))  // "esc:CC@N": Esc as command CC is sent the N-th time
                escAt(uint8_t(mode.mid(4, 2).toUInt(nullptr, 16)), mode.section(QLatin1Char('@'), 1).toInt());
            else if (const auto failure = emu::parseFailure(mode))
                controller.addFailure(*failure);
        }
    }
    void escAt(uint8_t command, int n)
    {
        port.onWrite = [this, n, command](uint8_t b) { state.UserAbort |= b == command && ++reads == n; };
    }

    // Answers each "title: text" line, in order.
    void expectShown(const QStringList& shown, PromptAnswer answer = PromptAnswer::Abort)
    {
        prompter.setLenient(true);
        for (const QString& s : shown) {
            const int colon = s.indexOf(QStringLiteral(": "));
            prompter.expect(s.mid(colon + 2), s.left(colon), answer);
        }
    }

    // Whatever the outcome, a transfer leaves the port closed, no progress showing and no Esc pending.
    bool idle() const { return !port.isOpen() && !view.progressVisible() && !state.UserAbort; }
};
}  // namespace

class TestLink : public QObject {
    Q_OBJECT
private slots:
    // A primitive gives the controller's byte, or 0 when it fails; Retry does not send the command again.
    void primitives_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("primitive");  // 0 status, 1 data byte, 2 address 0x123
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<int>("value");
        QTest::newRow("status 0") << "status:0" << 0 << QByteArray("\x2e") << 0;  // not armed, as 1 is, but not 1
        QTest::newRow("status, silent") << "silent" << 0 << QByteArray("\x2e") << 0;
        QTest::newRow("data byte, silent") << "silent" << 1 << QByteArray("\x15") << 0;
        QTest::newRow("address, silent") << "silent" << 2 << QByteArray("\x14\x23\x01") << 0;
        QTest::newRow("status, no port") << "open error" << 0 << QByteArray() << 0;
    }
    void primitives()
    {
        QFETCH(QString, mode);
        QFETCH(int, primitive);
        const bool answers = mode.startsWith(QLatin1String("status:"));
        Rig r;
        r.arrange(mode);
        if (mode == QLatin1String("silent"))
            r.prompter.expectError(kTimeout, PromptAnswer::Retry).expectError(kTimeout, PromptAnswer::Ignore);
        else if (!answers)
            r.prompter.expectError(kNoPort, PromptAnswer::Abort);
        const LinkResult got = primitive == 0   ? r.link.ReadStatus()
                               : primitive == 1 ? r.link.ReadEEPROM()
                                                : r.link.SetEEPROMAddress(0x123);
        QTEST(int(got.value), "value");
        QVERIFY(bool(got) == answers && r.port.isOpen() == answers);
        QCOMPARE(got.error, answers ? LinkError::None : mode == "silent" ? LinkError::NoReply : LinkError::NoPort);
        QTEST(r.port.written(), "sent");
        QVERIFY_PROMPTS(r.prompter);
    }

    // A pause and the waits for a silent controller leave the processor idle.
    void waitsIdle()
    {
        const auto idle = [](const std::function<void()>& wait) {
            const double cpu = processorSeconds();
            QElapsedTimer wall;
            wall.start();
            wait();
            return processorSeconds() - cpu < 0.25 * double(wall.elapsed()) / 1000;
        };
        Rig r;
        r.arrange(QStringLiteral("mute-write:16"));
        r.prompter.expectError(kTimeout, PromptAnswer::Abort).expectError(kTimeout, PromptAnswer::Abort);
        QVERIFY(idle([&] { r.link.DelayTimer(300); }));
        QVERIFY(idle([&] { r.link.WriteEEPROMData(ImageBuffer()); }));
        r.arrange(QStringLiteral("silent"));
        QVERIFY(idle([&] { QCOMPARE(r.link.ReadFirmwareID().error, LinkError::NoReply); }));
    }

    // Against a controller that needs the protocol's pauses, a pause left out, halved or skipped after a reply
    // loses bytes or shortens the transfer below the pauses' time.
    void pacing()
    {
        LinkTiming real;  // the protocol's pauses
        real.replyDeadlineMs = 300;
        Rig r(real);
        r.controller.setConfigBlock(factoryConfigBlock());
        r.controller.setLineModel({emu::kLineBaud, 50, 0, emu::kStrictPacingUs});
        // The upload first, so that the download's first byte follows the reset's answer closely.
        r.prompter.expect(QStringLiteral("Upload completed."), QStringLiteral("Upload To EEPROM"), PromptAnswer::OK)
            .expect(kFw, QStringLiteral("Download From EEPROM"), PromptAnswer::OK);
        ParameterStore store = defaultsStore();
        store.params.LaunchRPM = 4321;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(runUpload(r.link, store));
        const qint64 upload = clock.restart();
        const QByteArray uploaded = store.image.configBlock();
        store.image.BufferEmpty = true;
        QVERIFY(runDownload(r.link, store));
        const qint64 download = clock.elapsed();
        QVERIFY_PROMPTS(r.prompter);
        QCOMPARE(r.controller.bytesLost(), 0);
        QCOMPARE(r.controller.resetCount(), 1);
        QCOMPARE(store.image.configBlock(), uploaded);
        // 2 ms for each pause: after the three checks; the address command's two and one after it; two per byte
        // read, and the block is read twice. Programming: two per byte; verify: one per byte; the reset's four
        // and one after it.
        QVERIFY2(download >= 2 * (3 + 2 * (3 + 2 * 144)), qPrintable(QString::number(download)));
        QVERIFY2(upload >= 2 * (3 + 3 + 2 * 144 + 3 + 144 + 5), qPrintable(QString::number(upload)));
    }

    // Two line errors are survived (a break is none); the third, or Cancel, closes the port. Each reaches the
    // newest link still alive on the port.
    void lineErrors()
    {
        const QString title = QStringLiteral("Communications Error");
        Rig r;
        LinkState second, third;
        auto a = std::make_unique<ControllerLink>(r.port, r.prompter, r.view, second);
        auto b = std::make_unique<ControllerLink>(r.port, r.prompter, r.view, third);
        a.reset();
        r.prompter.expectBox(QStringLiteral("Framing error."), title, PromptButtons::RetryCancel,
                             PromptIcon::Critical, PromptAnswer::Cancel)
            .expect(QStringLiteral("Parity error."), title, PromptAnswer::Retry)
            .expect(QStringLiteral("Port hardware overrun."), title, PromptAnswer::Retry)
            .expect(QStringLiteral("Receive buffer overflow."), title, PromptAnswer::Retry);
        r.link.ReSync();
        r.port.raiseLineError(LineError::Framing);
        QVERIFY(!r.port.isOpen());
        QCOMPARE(third.CommErrorCount, 1);
        b.reset();
        r.link.ReSync();
        for (LineError e : {LineError::Break, LineError::Parity, LineError::Overrun})
            r.port.raiseLineError(e);
        QVERIFY(r.port.isOpen());
        r.port.raiseLineError(LineError::RxOverflow);
        QVERIFY(!r.port.isOpen());
        QVERIFY_PROMPTS(r.prompter);
    }

    // A stop signal reaches the event loop as its number, also for a watcher made after an earlier one ended.
    void stopSignals()
    {
#ifdef Q_OS_UNIX
        for (int round = 0; round < 2; ++round) {
            StopSignals watcher;
            QSignalSpy heard(&watcher, &StopSignals::stopRequested);
            for (int signo : {SIGINT, SIGHUP, SIGTERM}) {
                ::raise(signo);
                QTRY_COMPARE(heard.size(), 1);
                QCOMPARE(heard.takeFirst().value(0).toInt(), signo);
            }
        }
#else
        QSKIP("the signals keep their ordinary meaning here");
#endif
    }

    void download_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("shown");  // "title: text"
        QTest::addColumn<bool>("ok");
        QTest::newRow("complete") << QString() << QStringList{dl(kFw)} << true;
        // Data in the buffer is overwritten only after an OK; nothing is sent before.
        QTest::newRow("data held") << "held" << QStringList{dl("Data buffer not empty. OK to overwrite?")} << false;
        QTest::newRow("Latin-1 ID") << "odd id" << QStringList{dl("Firmware ID: " + QString::fromLatin1(kOddId))} << true;
        QTest::newRow("other product downloads")
            << "firmware-unknown" << QStringList{dl("Firmware ID: Revora Tach Adapter v2.1")} << true;
        QTest::newRow("not connected") << "silent" << QStringList{dl(kNoLink + kNoAnswer)} << false;
        QTest::newRow("armed") << "armed" << QStringList{dl("Cannot download while controller is armed.")} << false;
        QTest::newRow("status 1 is not armed") << "status:1" << QStringList{dl(kFw)} << true;
        QTest::newRow("Esc while connecting") << "silent+esc:33@1" << QStringList{} << false;  // no five retries
        QTest::newRow("status unanswered") << "disconnect:2" << QStringList{err(kTimeout)} << false;
        const QString noFw = dl("Firmware ID read failed - cannot download.");
        // The firmware line counts only when its CR is read before the deadline.
        QTest::newRow("CR after the deadline") << "cr late:260" << QStringList{err(kTimeout), noFw} << false;
        QTest::newRow("firmware CR only")
            << "firmware-empty" << QStringList{dl("Invalid firmware ID - cannot download.")} << false;
        const QString failed = dl("Download failed.");
        QTest::newRow("address NAK") << "nak-address" << QStringList{dl(kFw), failed} << false;
        QTest::newRow("read silent at 40") << "mute-read:40" << QStringList{dl(kFw), err(kTimeout), failed} << false;
        QTest::newRow("Esc while reading") << "esc:15@10" << QStringList{dl(kFw), failed} << false;
        QTest::newRow("undecodable") << "undecodable" << QStringList{dl(kFw), failed + kOverflow} << false;
        // The block is read until two reads agree: a byte read wrong once is not kept; a line where no two
        // reads agree gives no data at all.
        QTest::newRow("one byte read wrong") << "garble-read:30" << QStringList{dl(kFw)} << true;
        QTest::newRow("no two reads agree")
            << "flaky-read:40"
            << QStringList{dl(kFw), failed + "\nThe line to the controller is unreliable: 4 reads of the configuration "
                                             "gave 4 different results. Check the cable, its plugs and the adapter, "
                                             "then try again."}
            << false;
        // An adapter pulled out: no timeout prompt, no retry, the port named.
        QTest::newRow("port lost while reading") << "unplug:60" << QStringList{dl(kFw), failed + kLost} << false;
        QTest::newRow("port lost while checking")
            << "unplug:2" << QStringList{dl(kLost.mid(1))} << false;
    }
    void download()
    {
        QFETCH(QString, mode);
        QFETCH(QStringList, shown);
        QFETCH(bool, ok);
        Rig r;
        r.controller.setConfigBlock(factoryConfigBlock());
        r.arrange(mode);
        r.expectShown(shown);
        ParameterStore store = mode == QLatin1String("held") ? defaultsStore() : ParameterStore();
        store.params.VSSFreq = 1234;
        const ParameterStore before = store;
        QCOMPARE(bool(runDownload(r.link, store)), ok);
        QCOMPARE(r.prompter.shown(), shown);
        // The block is read no more often than the unreliable-line text says.
        QVERIFY(r.view.events.count("show:Reading EEPROM") + r.view.events.count("show:Reading EEPROM again")
                <= linkworkflow::kMaxBlockReads);
        if (mode == QLatin1String("held")) {
            QVERIFY(r.port.written().isEmpty() && !store.image.BufferEmpty);
            QVERIFY(store.image.EEPROMBuffer == before.image.EEPROMBuffer);
            return;
        }
        if (mode.startsWith(QLatin1String("silent")))  // five tries to get through, unless Esc ends them
            QCOMPARE(r.port.written(), QByteArray(mode == QLatin1String("silent") ? 5 : 1, '\x33'));
        QVERIFY(r.idle());
        QCOMPARE(store.DataSourceName, QStringLiteral("Data Buffer Empty"));
        QCOMPARE(r.view.framesVisible, ok);
        QCOMPARE(store.image.BufferEmpty, !ok);
        if (ok) {
            QCOMPARE(store.image.configBlock(), factoryConfigBlock());
            QVERIFY(store.params == defaultsStore().params);
        } else {
            QVERIFY(store.image.configBlock() == QByteArray(kConfigSize, '\0'));
            QVERIFY(store.params == before.params);
        }
    }

    void upload_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("shown");  // a question is answered Yes when the upload succeeds
        QTest::addColumn<int>("programmedUpTo");  // last address holding the new byte
        QTest::addColumn<int>("resets");          // 1: the upload succeeds
        const QString notProgrammed = ul("Upload aborted - EEPROM programming failed.");
        const QString noReset = ul("Upload aborted - Reset Shift Light Controller failed");
        const QString done = ul("Upload completed.");
        QTest::newRow("complete") << QString() << QStringList{done} << 159 << 1;
        QTest::newRow("lower-case ID, Esc before the upload") << "odd id+stale esc" << QStringList{done} << 159 << 1;
        // A port that cannot be opened is said once, not once per try.
        QTest::newRow("port missing") << "open error" << QStringList{err(kNoPort), ul(kNoLink + kNotOpened)} << 15 << 0;
        // GPOMinRPM 300 (hundreds) does not fit its byte: said, and nothing is programmed.
        QTest::newRow("does not encode")
            << "unencodable"
            << QStringList{ul("Overflow: GPOMinRPM at image offset 64 does not fit (value 300). The data was left "
                              "unchanged; correct the value or use another file.")}
            << 15 << 0;
        QTest::newRow("other product")
            << "firmware-unknown" << QStringList{ul("Unknown product firmware ID - cannot upload.")} << 15 << 0;
        QTest::newRow("address NAK") << "nak-address" << QStringList{notProgrammed} << 15 << 0;
        QTest::newRow("write NAK at 40") << "nak-write:40" << QStringList{notProgrammed} << 39 << 0;
        QTest::newRow("write silent at 40") << "mute-write:40" << QStringList{err(kTimeout), notProgrammed} << 39 << 0;
        // Esc while the 20th byte is programmed: the block is finished, and the verify pass fails.
        QTest::newRow("Esc while programming") << "esc:16@20" << QStringList{ul(kNotVerified)} << 159 << 0;
        // At the block's last byte, so a verify pass that stops one short is noticed.
        QTest::newRow("verify mismatch at the last byte") << "mismatch:159" << QStringList{ul(kNotVerified)} << 159 << 0;
        QTest::newRow("port lost while programming")
            << "unplug:100"
            << QStringList{ul(notProgrammed.mid(18) + kLost + " The controller holds part of the new configuration and "
                                                              "part of the old: upload again once the port is back.")}
            << 61 << 0;
        QTest::newRow("port lost while verifying")
            << "unplug:350"
            << QStringList{ul(kNotVerified + kLost + " The controller holds the whole new configuration, not verified, "
                                                     "and was not reset: upload again once the port is back.")}
            << 159 << 0;
        QTest::newRow("verify read silent")
            << "mute-read:100" << QStringList{err(kTimeout), ul(kNotVerified)} << 159 << 0;
        // The wait for the reset's two-byte answer ends at the deadline with 06 alone, which is a reset.
        QTest::newRow("reset answered 06 alone") << "reset-ack-only" << QStringList{done} << 159 << 1;
        QTest::newRow("reset NAK") << "reset-nak" << QStringList{noReset} << 159 << 0;
        QTest::newRow("reset silent")
            << "reset-silent" << QStringList{err("COM port timeout. Check cable and click Abort."), noReset} << 159 << 0;
        // With a backup of the controller's factory block.
        const QString path = QStringLiteral("BACKUP/2024-05-01_134502.dat");
        const QString without = QStringLiteral("\n\nUpload without a backup?");
        const auto saved = [&](const QString& file) {
            return QStringList{ul("The controller's configuration was saved as " + file + ".\n\nThe upload will change "
                                  "(controller -> this configuration):\nLaunch RPM: 3000 -> 4321\n\nGo on with the upload?"),
                               done};
        };
        QTest::newRow("backup, go on") << "backup" << saved(path) << 159 << 1;
        QTest::newRow("backup unread, go on without")
            << "backup+esc:15@10"
            << QStringList{ul("The controller's configuration could not be read for the backup." + without), done}
            << 159 << 1;
        // A second backup within the same second takes the next number; none is ever written over.
        QTest::newRow("backup name taken") << "backup+taken" << saved("BACKUP/2024-05-01_134502-2.dat") << 159 << 1;
        QTest::newRow("backup folder is a file")
            << "backup+file" << QStringList{ul("The backup folder BACKUP cannot be made: it is a file, not a folder."
                                               + without)} << 15 << 0;
        QTest::newRow("backup folder under a file")
            << "backup+under" << QStringList{ul("The backup folder BACKUP/sub cannot be made: Not a directory."
                                                + without)} << 15 << 0;
        QTest::newRow("backup, disk full") << "backup+full" << QStringList{ul("Cannot write " + path + ": File too large."
                                                                             + without)} << 15 << 0;
    }
    void upload()
    {
        QFETCH(QString, mode);
        QFETCH(QStringList, shown);
        QFETCH(int, programmedUpTo);
        QFETCH(int, resets);
        if (mode.endsWith(QLatin1String("full")) && !kCanFillDisk)
            QSKIP("no way to fill the disk here");
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("backups"));
        const QString backupFile = folder + QStringLiteral("/2024-05-01_134502.dat");
        const QString secondFile = folder + QStringLiteral("/2024-05-01_134502-2.dat");
        Rig r;
        UploadOptions options;
        if (mode.startsWith(QLatin1String("backup"))) {
            r.controller.setConfigBlock(factoryConfigBlock());
            options.backupFolder = mode.endsWith(QLatin1String("under")) ? folder + QStringLiteral("/sub") : folder;
            options.clock = [] { return QDateTime(QDate(2024, 5, 1), QTime(13, 45, 2)); };
        }
        if (mode.endsWith(QLatin1String("taken")))
            QVERIFY(QDir().mkpath(folder) && QFile(backupFile).open(QIODevice::WriteOnly));
        if (mode.endsWith(QLatin1String("file")) || mode.endsWith(QLatin1String("under")))
            QVERIFY(QFile(folder).open(QIODevice::WriteOnly));
        const auto before = r.controller.eeprom();
        ParameterStore store = defaultsStore();
        store.params.LaunchRPM = 4321;  // an edit since the data was loaded
        ImageBuffer expected = store.image;
        ParameterSet p = store.params;
        QVERIFY(UpdateEEPROM(p, expected));
        if (mode == QLatin1String("unencodable"))
            store.params.GPOMinRPM = 300;
        r.arrange(mode);
        for (QString& line : shown)
            line.replace(QStringLiteral("BACKUP/"), QDir::toNativeSeparators(folder + QLatin1Char('/')))
                .replace(QStringLiteral("BACKUP"), QDir::toNativeSeparators(folder));
        const PromptAnswer yes = resets == 1 ? PromptAnswer::Yes : PromptAnswer::No;
        r.expectShown(shown, options.backupFolder.isEmpty() ? PromptAnswer::Abort : yes);
        if (mode.endsWith(QLatin1String("full")))
            limitFileSize(100);  // the block is buffered whole, and only its flush fails
        QElapsedTimer clock;
        clock.start();
        const TransferOutcome outcome = runUpload(r.link, store, options);
        const QString written = outcome.backupFile;
        limitFileSize(RLIM_INFINITY);
        QCOMPARE(r.prompter.shown(), shown);  // first: what was said tells why an outcome differs
        QCOMPARE(bool(outcome), resets == 1);
        if (mode == QLatin1String("reset-ack-only"))  // the controller restarts meanwhile
            QVERIFY(clock.elapsed() >= 200);
        // Only the block is sent, and nothing after a refused byte.
        for (int a = kConfigFirst - 1; a <= kConfigLast + 1; ++a)
            QCOMPARE(r.controller.eeprom()[a],
                     a >= kConfigFirst && a <= programmedUpTo ? expected.EEPROMBuffer[a] : before[a]);
        // The backup holds the controller's block from before; an existing file is never written over.
        const bool taken = mode.endsWith(QLatin1String("taken")), backedUp = mode == QLatin1String("backup") || taken;
        QCOMPARE(written, backedUp ? (taken ? secondFile : backupFile) : QString());
        QCOMPARE(readFile(written), backedUp ? factoryConfigBlock() : QByteArray());
        QCOMPARE(readFile(backupFile).isEmpty(), !backedUp || taken);
        if (QFileInfo(folder).isDir())
            QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), backedUp ? (taken ? 2 : 1) : 0);
        QCOMPARE(r.controller.resetCount(), resets);
        // Programming that stopped short leaves part of the new block only when it stored a byte.
        if (programmedUpTo < kConfigLast)
            QCOMPARE(outcome.holds, programmedUpTo < kConfigFirst ? ControllerHolds::Unchanged : ControllerHolds::PartBlock);
        QVERIFY(r.idle());
        QVERIFY(!store.image.BufferEmpty);
    }

    // Compare reads the controller into a scratch image: the caption and the frames stay as they were.
    void compare_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<int>("failure");  // TransferKind
        QTest::addColumn<QStringList>("lines");
        const QString fw = cmp(kFw);
        // The controller's LaunchRPM 2992 and a reserved byte 7; this configuration's 3000 and 0.
        QTest::newRow("differs") << "differs" << QStringList{fw} << int(TransferKind::Completed)
                                 << QStringList{"Launch RPM: 2992 -> 3000", "Offset 60: 7 -> 0"};
        QTest::newRow("Esc while reading") << "esc:15@10" << QStringList{fw, cmp("Compare failed.")}
                                           << int(TransferKind::ReadFailed) << QStringList{};
        // The controller's block does not decode: the bytes that differ are still listed.
        QTest::newRow("controller's block undecodable")
            << "undecodable" << QStringList{fw, cmp("Compare failed." + kOverflow)} << int(TransferKind::Undecodable)
            << QStringList{"Offset 18: 128 -> 0"};
        QTest::newRow("nothing loaded") << "no data" << QStringList{cmp("No data available for comparing.")}
                                        << int(TransferKind::NoData) << QStringList{};
    }
    void compare()
    {
        QFETCH(QString, mode);
        QFETCH(QStringList, shown);
        QFETCH(int, failure);
        QFETCH(QStringList, lines);
        Rig r;
        r.controller.setConfigBlock(factoryConfigBlock());
        if (mode == QLatin1String("differs")) {
            r.controller.eeprom()[32] = 0xB0;
            r.controller.eeprom()[60] = 7;
        }
        r.arrange(mode);
        r.expectShown(shown);
        ParameterStore store = defaultsStore();
        if (mode == QLatin1String("no data"))
            store.image.ClearEEPROMBuffer();
        const CompareOutcome outcome = compareWithController(r.link, store);
        QCOMPARE(r.prompter.shown(), shown);
        QCOMPARE(int(outcome.kind), failure);
        QCOMPARE(report::differenceLines(outcome.differences), lines);
        QVERIFY(r.view.caption.isEmpty() && r.view.framesVisible && r.idle());
        if (mode == QLatin1String("no data"))
            QVERIFY(r.port.written().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestLink)
#include "tst_link.moc"
