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
    void showProgress(const QString& caption) override { events << QStringLiteral("show:") + caption; }
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
                port.onWrite = [this, esc = mode.mid(4).split(QLatin1Char('@'))](uint8_t b) {
                    state.UserAbort |= b == esc[0].toUInt(nullptr, 16) && ++reads == esc[1].toInt();
                };
            else if (const auto failure = emu::parseFailure(mode))
                controller.addFailure(*failure);
        }
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
    // A primitive that gets no answer gives 0; Retry asks again without sending the command again.
    void unanswered()
    {
        Rig r;
        r.arrange(QStringLiteral("silent"));
        r.prompter.expectError(kTimeout, PromptAnswer::Retry).expectError(kTimeout, PromptAnswer::Ignore);
        const LinkResult got = r.link.ReadStatus();
        QVERIFY(got.value == 0 && got.error == LinkError::NoReply && !r.port.isOpen());
        QCOMPARE(r.port.written(), QByteArray("\x2e"));
        QVERIFY_PROMPTS(r.prompter);
    }

    // A stop asked for while the block is written leaves it whole, and a pass cut short never counts as verified.
    void stopWhileProgramming()
    {
        Rig r;
        r.state.StopSignal = SIGTERM;
        const ProgramResult p = r.link.WriteEEPROMData(ImageBuffer());
        QVERIFY(p.error == LinkError::None && p.verifyError == LinkError::Stopped && !p.verified());
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
        Rig r(LinkTiming{300});  // the protocol's pauses, a deadline the strict controller meets
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

    // Download, upload and compare, one row for each way one can end. An upload's detail is the last address
    // holding the new byte; a compare's, the differences it lists.
    void transfer_data()
    {
        QTest::addColumn<QString>("mode");  // the workflow, then the set-ups joined by '+'
        QTest::addColumn<QStringList>("shown");  // "title: text"; a question is answered Yes when the upload succeeds
        QTest::addColumn<int>("kind");
        QTest::addColumn<QVariant>("detail");
        using K = TransferKind;
        const auto row = [](const char* name, const QString& mode, const QStringList& shown, K kind,
                            const QVariant& detail = {}) {
            QTest::addRow("%s: %s", qPrintable(mode.section(QLatin1Char('+'), 0, 0)), name)
                << mode << shown << int(kind) << detail;
        };
        row("complete", "download", {dl(kFw)}, K::Completed);
        // Data in the buffer is overwritten only after an OK; nothing is sent before.
        row("data held", "download+held", {dl("Data buffer not empty. OK to overwrite?")}, K::Declined);
        row("Latin-1 ID", "download+odd id", {dl("Firmware ID: " + QString::fromLatin1(kOddId))}, K::Completed);
        row("other product", "download+firmware-unknown", {dl("Firmware ID: Revora Tach Adapter v2.1")}, K::Completed);
        row("not connected", "download+silent", {dl(kNoLink + kNoAnswer)}, K::NoLink);
        row("armed", "download+armed", {dl("Cannot download while controller is armed.")}, K::Armed);
        row("status 1 is not armed", "download+status:1", {dl(kFw)}, K::Completed);
        row("Esc while connecting", "download+silent+esc:33@1", {}, K::Stopped);  // no five retries
        row("status unanswered", "download+disconnect:2", {err(kTimeout)}, K::StatusFailed);
        // The firmware line counts only when its CR is read before the deadline.
        row("CR after the deadline", "download+cr late:260",
            {err(kTimeout), dl("Firmware ID read failed - cannot download.")}, K::FirmwareRead);
        row("firmware CR only", "download+firmware-empty", {dl("Invalid firmware ID - cannot download.")},
            K::FirmwareInvalid);
        const QString failed = dl("Download failed.");
        row("address NAK", "download+nak-address", {dl(kFw), failed}, K::ReadFailed);
        row("read silent at 40", "download+mute-read:40", {dl(kFw), err(kTimeout), failed}, K::ReadFailed);
        row("Esc while reading", "download+esc:15@10", {dl(kFw), failed}, K::ReadFailed);
        row("undecodable", "download+undecodable", {dl(kFw), failed + kOverflow}, K::Undecodable);
        // The block is read until two reads agree: a byte read wrong once is not kept; a line where no two
        // reads agree gives no data at all.
        row("one byte read wrong", "download+garble-read:30", {dl(kFw)}, K::Completed);
        row("no two reads agree", "download+flaky-read:40",
            {dl(kFw), failed + "\nThe line to the controller is unreliable: 4 reads of the configuration gave 4 "
                               "different results. Check the cable, its plugs and the adapter, then try again."},
            K::Unreliable);
        // An adapter pulled out: no timeout prompt, no retry, the port named.
        row("port lost while reading", "download+unplug:60", {dl(kFw), failed + kLost}, K::PortLost);
        row("port lost while checking", "download+unplug:2", {dl(kLost.mid(1))}, K::PortLost);

        const QString notProgrammed = ul("Upload aborted - EEPROM programming failed.");
        const QString noReset = ul("Upload aborted - Reset Shift Light Controller failed");
        const QString done = ul("Upload completed.");
        row("lower-case ID, Esc before the upload", "upload+odd id+stale esc", {done}, K::Completed, 159);
        // A port that cannot be opened is said once, not once per try.
        row("port missing", "upload+open error", {err(kNoPort), ul(kNoLink + kNotOpened)}, K::NoLink, 15);
        // GPOMinRPM 300 (hundreds) does not fit its byte: said, and nothing is programmed.
        row("does not encode", "upload+unencodable",
            {ul("Overflow: GPOMinRPM at image offset 64 does not fit (value 300). The data was left unchanged; "
                "correct the value or use another file.")},
            K::Unencodable, 15);
        row("other product", "upload+firmware-unknown", {ul("Unknown product firmware ID - cannot upload.")},
            K::UnknownProduct, 15);
        row("address NAK", "upload+nak-address", {notProgrammed}, K::ProgrammingFailed, 15);
        row("write NAK at 40", "upload+nak-write:40", {notProgrammed}, K::ProgrammingFailed, 39);
        row("write silent at 40", "upload+mute-write:40", {err(kTimeout), notProgrammed}, K::ProgrammingFailed, 39);
        // Esc while the 20th byte is programmed: the block is finished, and the verify pass fails.
        row("Esc while programming", "upload+esc:16@20", {ul(kNotVerified)}, K::VerifyFailed, 159);
        // At the block's last byte, so a verify pass that stops one short is noticed.
        row("verify mismatch at the last byte", "upload+mismatch:159", {ul(kNotVerified)}, K::VerifyFailed, 159);
        row("port lost while programming", "upload+unplug:100",
            {ul(notProgrammed.mid(18) + kLost + " The controller holds part of the new configuration and part of "
                                                "the old: upload again once the port is back.")},
            K::PortLost, 61);
        row("port lost while verifying", "upload+unplug:350",
            {ul(kNotVerified + kLost + " The controller holds the whole new configuration, not verified, and was not "
                                       "reset: upload again once the port is back.")},
            K::PortLost, 159);
        row("verify read silent", "upload+mute-read:100", {err(kTimeout), ul(kNotVerified)}, K::VerifyFailed, 159);
        // The wait for the reset's two-byte answer ends at the deadline with 06 alone, which is a reset.
        row("reset answered 06 alone", "upload+reset-ack-only", {done}, K::Completed, 159);
        row("reset NAK", "upload+reset-nak", {noReset}, K::ResetFailed, 159);
        row("reset silent", "upload+reset-silent", {err("COM port timeout. Check cable and click Abort."), noReset},
            K::ResetFailed, 159);
        // With a backup of the controller's factory block; a second one within the same second takes the next
        // number, and none is ever written over.
        const QString without = QStringLiteral("\n\nUpload without a backup?");
        const auto saved = [&](const QString& file) {
            return QStringList{ul("The controller's configuration was saved as BACKUP/" + file + ".\n\nThe upload will "
                                  "change (controller -> this configuration):\nLaunch RPM: 3000 -> 4321\n\nGo on with "
                                  "the upload?"),
                               done};
        };
        row("backup, go on", "upload+backup", saved("2024-05-01_134502.dat"), K::Completed, 159);
        row("backup name taken", "upload+backup+taken", saved("2024-05-01_134502-2.dat"), K::Completed, 159);
        row("backup unread, go on without", "upload+backup+esc:15@10",
            {ul("The controller's configuration could not be read for the backup." + without), done}, K::Completed,
            159);
        row("backup folder is a file", "upload+backup+file",
            {ul("The backup folder BACKUP cannot be made: it is a file, not a folder." + without)}, K::Declined, 15);
        row("backup folder under a file", "upload+backup+under",
            {ul("The backup folder BACKUP/sub cannot be made: Not a directory." + without)}, K::Declined, 15);
        row("backup, disk full", "upload+backup+full",
            {ul("Cannot write BACKUP/2024-05-01_134502.dat: File too large." + without)}, K::Declined, 15);

        row("Esc while reading", "compare+esc:15@10", {cmp(kFw), cmp("Compare failed.")}, K::ReadFailed);
        // The controller's block does not decode: the bytes that differ are still listed.
        row("undecodable", "compare+undecodable", {cmp(kFw), cmp("Compare failed." + kOverflow)}, K::Undecodable,
            QStringList{"Offset 18: 128 -> 0"});
        row("nothing loaded", "compare+no data", {cmp("No data available for comparing.")}, K::NoData);
    }
    void transfer()
    {
        QFETCH(QString, mode);
        QFETCH(QStringList, shown);
        QFETCH(int, kind);
        QFETCH(QVariant, detail);
        const QStringList modes = mode.split(QLatin1Char('+'));
        const auto has = [&](const char* m) { return modes.contains(QLatin1String(m)); };
        const QString workflow = modes[0];
        const bool ok = kind == int(TransferKind::Completed);
        if (has("full") && !kCanFillDisk)
            QSKIP("no way to fill the disk here");
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("backups"));
        const QString backupFile = folder + QStringLiteral("/2024-05-01_134502.dat");
        Rig r;
        // Uploads go to an EEPROM of zeros: the factory block would hide most bytes programmed wrong.
        if (workflow != QLatin1String("upload") || has("backup"))
            r.controller.setConfigBlock(factoryConfigBlock());
        UploadOptions options;
        if (has("backup")) {
            options.backupFolder = has("under") ? folder + QStringLiteral("/sub") : folder;
            options.clock = [] { return QDateTime(QDate(2024, 5, 1), QTime(13, 45, 2)); };
        }
        if (has("taken"))
            QVERIFY(QDir().mkpath(folder) && QFile(backupFile).open(QIODevice::WriteOnly));
        if (has("file") || has("under"))
            QVERIFY(QFile(folder).open(QIODevice::WriteOnly));
        const auto eepromBefore = r.controller.eeprom();
        ParameterStore store =
            workflow == QLatin1String("download") && !has("held") ? ParameterStore() : defaultsStore();
        if (has("no data"))
            store.image.ClearEEPROMBuffer();
        if (workflow != QLatin1String("compare"))
            store.params.LaunchRPM = 4321;  // an edit since the data was loaded
        const ParameterStore before = store;
        if (has("unencodable"))
            store.params.GPOMinRPM = 300;
        r.arrange(mode);
        for (QString& line : shown)
            line.replace(QStringLiteral("BACKUP/"), QDir::toNativeSeparators(folder + QLatin1Char('/')))
                .replace(QStringLiteral("BACKUP"), QDir::toNativeSeparators(folder));
        r.expectShown(shown, !has("backup") ? PromptAnswer::Abort : ok ? PromptAnswer::Yes : PromptAnswer::No);
        if (has("full"))
            limitFileSize(100);  // the block is buffered whole, and only its flush fails
        QElapsedTimer clock;
        clock.start();
        const TransferOutcome outcome = workflow == "download" ? runDownload(r.link, store)
                                        : workflow == "upload" ? runUpload(r.link, store, options)
                                                               : compareWithController(r.link, std::as_const(store));
        limitFileSize(RLIM_INFINITY);
        QCOMPARE(r.prompter.shown(), shown);  // first: what was said tells why an outcome differs
        QCOMPARE(int(outcome.kind), kind);
        QCOMPARE(report::differenceLines(outcome.differences), detail.toStringList());
        QCOMPARE(r.controller.resetCount(), int(ok && workflow == QLatin1String("upload")));
        QVERIFY(r.idle());
        // The block is read no more often than the unreliable-line text says.
        QVERIFY(r.view.events.filter(QStringLiteral("show:Reading EEPROM")).size() <= linkworkflow::kMaxBlockReads);
        if (has("silent"))  // five tries to get through, unless Esc ends them
            QCOMPARE(r.port.written(), QByteArray(has("esc:33@1") ? 1 : 5, '\x33'));
        if (has("held") || has("no data"))
            QVERIFY(r.port.written().isEmpty());
        if (has("reset-ack-only"))  // the controller restarts meanwhile
            QVERIFY(clock.elapsed() >= 200);
        if (workflow == QLatin1String("download") && !has("held")) {
            // Every failure after the overwrite question leaves nothing loaded and the frames hidden.
            QCOMPARE(r.view.framesVisible, ok);
            QCOMPARE(store.image.BufferEmpty, !ok);
            QCOMPARE(store.image.configBlock(), ok ? factoryConfigBlock() : QByteArray(kConfigSize, '\0'));
            QVERIFY(store.params == (ok ? defaultsStore().params : before.params));
        } else if (workflow != QLatin1String("upload")) {
            // Declining the overwrite, and comparing, leave the caption and the frames; the data held stays.
            QVERIFY(r.view.caption.isEmpty() && r.view.framesVisible);
            QVERIFY(!has("held") || (store.image.EEPROMBuffer == before.image.EEPROMBuffer && !store.image.BufferEmpty));
        } else {
            ImageBuffer expected = before.image;
            ParameterSet edited = before.params;
            QVERIFY(UpdateEEPROM(edited, expected));
            // Only the block is sent, and nothing after a refused byte.
            const int upTo = detail.toInt();
            for (int a = kConfigFirst - 1; a <= kConfigLast + 1; ++a)
                QCOMPARE(r.controller.eeprom()[a],
                         a >= kConfigFirst && a <= upTo ? expected.EEPROMBuffer[a] : eepromBefore[a]);
            // Programming that stopped short leaves part of the new block only when it stored a byte.
            if (upTo < kConfigLast)
                QCOMPARE(outcome.holds, upTo < kConfigFirst ? ControllerHolds::Unchanged : ControllerHolds::PartBlock);
            QVERIFY(!store.image.BufferEmpty);
            // The backup holds the controller's block from before; an existing file is never written over.
            const bool taken = has("taken"), backedUp = mode == QLatin1String("upload+backup") || taken;
            const QString second = folder + QStringLiteral("/2024-05-01_134502-2.dat");
            QCOMPARE(outcome.backupFile, !backedUp ? QString() : taken ? second : backupFile);
            QCOMPARE(readFile(outcome.backupFile), backedUp ? factoryConfigBlock() : QByteArray());
            QCOMPARE(readFile(backupFile).isEmpty(), !backedUp || taken);
        }
    }
};

QTEST_GUILESS_MAIN(TestLink)
#include "tst_link.moc"
