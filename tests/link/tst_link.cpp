// The block transfers and workflows against the emulated
// controller, one failure mode at a time.
#include "linktestsupport.h"

#include "emulator/factoryimage.h"
#include "link/workflows.h"
#include "params/codec.h"
#include "params/defaults.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {
const QString kTimeout = QStringLiteral("RS-232 timeout. Check cable and click Abort.");
const QString kComTimeout = QStringLiteral("COM port timeout. Check cable and click Abort.");
const QString kDl = QStringLiteral("Download From EEPROM");
const QString kUl = QStringLiteral("Upload To EEPROM");
const QString kNoLink = QStringLiteral("Cannot establish RS-232 link. Check cable and controller power.");
const QString kFw = QStringLiteral("Firmware ID: Revora Shift Light v1.0");
const QString kNotVerified = QStringLiteral("Upload aborted - EEPROM verification failed.");
// Read as Latin-1, and known as this product in any case.
const QByteArray kOddId("r\xe9vora shift light 2.3b");

ParameterStore defaults()
{
    ParameterStore store;
    loadDefaults(store);
    return store;
}

// The set-ups both transfers share; any other mode is a failure the controller acts out.
void arrange(Rig& r, const QString& mode)
{
    if (mode == QLatin1String("stale esc"))
        r.state.UserAbort = true;
    else if (mode == QLatin1String("odd id"))
        r.controller.setFirmwareId(kOddId);
    else if (!mode.isEmpty())
        r.fail(mode);
}

QString err(const QString& text) { return QStringLiteral("Error: ") + text; }
QString dl(const QString& text) { return kDl + QStringLiteral(": ") + text; }
QString ul(const QString& text) { return kUl + QStringLiteral(": ") + text; }
QString cmp(const QString& text) { return QStringLiteral("Compare With Controller: ") + text; }

// Answers each "title: text" line, in order, with Abort.
void expectShown(Rig& r, const QStringList& shown)
{
    r.prompter.setLenient(true);
    for (const QString& s : shown) {
        const int colon = s.indexOf(QStringLiteral(": "));
        r.prompter.expect(s.mid(colon + 2), s.left(colon), PromptAnswer::Abort);
    }
}
}  // namespace

Q_DECLARE_METATYPE(QList<PromptAnswer>)

class TestLink : public QObject {
    Q_OBJECT
private slots:
    void retryRaisesTheTimeoutAgain()
    {
        Rig r;
        r.fail(QStringLiteral("silent"));
        r.prompter.expectError(kTimeout, PromptAnswer::Retry).expectError(kTimeout, PromptAnswer::Ignore);
        r.link.ReadStatus();
        QVERIFY(!r.state.LinkOK);
        QVERIFY(!r.port.isOpen());
        QCOMPARE(r.port.written(), QByteArray("\x2e"));  // the command is not sent again
        QVERIFY_PROMPTS(r.prompter);
    }

    void openFailureIsPromptedOnce()
    {
        Rig r;
        const QString why = QStringLiteral("The serial port /dev/ttyS0 does not exist.");
        r.port.setOpenError(why);
        r.prompter.expectError(why, PromptAnswer::Retry).expectError(why, PromptAnswer::Abort).expect(kNoLink, kUl);
        ParameterStore store = defaults();
        QVERIFY(!mnuUpload_Click(r.link, store));
        QCOMPARE(r.port.openCount(), 0);
        QVERIFY_PROMPTS(r.prompter);
    }

    // Two line errors are reported and survived; the third, or Cancel, closes the port.
    void lineErrors()
    {
        const QString title = QStringLiteral("Communications Error");
        Rig r;
        r.link.ReSync();
        r.prompter.expectBox(QStringLiteral("Framing error."), title, PromptButtons::RetryCancel,
                             PromptIcon::Critical, PromptAnswer::Retry)
            .expect(QStringLiteral("Parity error."), title, PromptAnswer::Retry)
            .expect(QStringLiteral("Port hardware overrun."), title, PromptAnswer::Retry);
        for (LineError e : {LineError::Framing, LineError::Break, LineError::Parity})  // a break is not reported
            r.port.raiseLineError(e);
        QVERIFY(r.port.isOpen());
        r.port.raiseLineError(LineError::Overrun);
        QVERIFY(!r.port.isOpen());
        QVERIFY_PROMPTS(r.prompter);
        Rig c;
        c.link.ReSync();
        c.prompter.expect(QStringLiteral("Receive buffer overflow."), title, PromptAnswer::Cancel);
        c.port.raiseLineError(LineError::RxOverflow);
        QVERIFY(!c.port.isOpen());
        QVERIFY_PROMPTS(c.prompter);
    }

    void download_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("shown");  // "title: text"
        QTest::addColumn<bool>("ok");
        QTest::newRow("complete") << QString() << QStringList{dl(kFw)} << true;
        QTest::newRow("Latin-1 ID") << "odd id" << QStringList{dl("Firmware ID: " + QString::fromLatin1(kOddId))} << true;
        QTest::newRow("other product downloads")
            << "firmware-unknown" << QStringList{dl("Firmware ID: Revora Tach Adapter v2.1")} << true;
        QTest::newRow("not connected") << "silent" << QStringList{dl(kNoLink)} << false;
        QTest::newRow("armed") << "armed" << QStringList{dl("Cannot download while controller is armed.")} << false;
        QTest::newRow("status 1 is not armed") << "status:1" << QStringList{dl(kFw)} << true;
        QTest::newRow("Esc before the download") << "stale esc" << QStringList{dl(kFw)} << true;
        QTest::newRow("Esc while connecting") << "esc connecting" << QStringList{} << false;  // no five retries
        QTest::newRow("status unanswered") << "disconnect:2" << QStringList{err(kTimeout)} << false;
        QTest::newRow("firmware without CR")
            << "firmware-no-cr" << QStringList{err(kTimeout), dl("Firmware ID read failed - cannot download.")}
            << false;
        QTest::newRow("firmware CR only")
            << "firmware-empty" << QStringList{dl("Invalid firmware ID - cannot download.")} << false;
        const QString failed = dl("Download failed.");
        QTest::newRow("address NAK") << "nak-address" << QStringList{dl(kFw), failed} << false;
        QTest::newRow("read silent at 40") << "mute-read:40" << QStringList{dl(kFw), err(kTimeout), failed} << false;
        QTest::newRow("Esc while reading") << "esc" << QStringList{dl(kFw), failed} << false;
        // VSSFreq's high byte 0x80: no 16-bit signed value, so nothing half-decoded is kept.
        QTest::newRow("undecodable") << "undecodable"
                                     << QStringList{dl(kFw), failed + "\nOverflow: VSSFreq at image offset 17 does not "
                                                                      "fit (value 32918). The data was left unchanged; "
                                                                      "correct the value or use another file."}
                                     << false;
    }
    void download()
    {
        QFETCH(QString, mode);
        QFETCH(QStringList, shown);
        QFETCH(bool, ok);
        Rig r;
        r.controller.setConfigBlock(factoryConfigBlock());
        if (mode == QLatin1String("undecodable"))
            r.controller.eeprom()[18] = 0x80;
        else if (mode == QLatin1String("esc"))
            r.escAt(10);
        else if (mode == QLatin1String("status:1"))
            r.controller.setStatus(1);
        else if (mode == QLatin1String("esc connecting")) {
            r.fail(QStringLiteral("silent"));
            r.port.onWrite = [&](uint8_t) { r.state.UserAbort = true; };
        } else
            arrange(r, mode);
        expectShown(r, shown);
        ParameterStore store;
        store.MainCaption = QStringLiteral("Revora Shift Version 1.0");
        store.params.VSSFreq = 1234;
        const ParameterSet before = store.params;
        QCOMPARE(mnuDownload_Click(r.link, store), ok);
        QCOMPARE(r.prompter.shown(), shown);
        if (mode == QLatin1String("esc connecting"))
            QCOMPARE(r.port.written(), QByteArray("\x33"));
        QVERIFY(!r.port.isOpen());
        QVERIFY(!r.view.progressVisible);
        QVERIFY(!r.state.UserAbort);
        QCOMPARE(store.DataSourceName, QStringLiteral("Data Buffer Empty"));
        QCOMPARE(r.view.framesVisible, ok);
        QCOMPARE(store.image.BufferEmpty, !ok);
        if (ok) {
            QCOMPARE(store.image.configBlock(), factoryConfigBlock());
            ParameterSet expected;
            QVERIFY(UpdateParams(store.image, expected));
            QVERIFY(store.params == expected);
            QCOMPARE(r.view.caption, QStringLiteral("Revora Shift Version 1.0 - Downloaded Data"));
            QCOMPARE(r.view.values.mid(142 - 16, 2), QList<int>({99, 100}));  // 100 % only from the address 143 on
        } else {
            QVERIFY(store.image.configBlock() == QByteArray(kConfigSize, '\0'));
            QVERIFY(store.params == before);
            QCOMPARE(r.view.caption, QStringLiteral("Revora Shift Version 1.0 - Data Buffer Empty"));
        }
    }

    void downloadAsksBeforeOverwriting()
    {
        Rig r;
        ParameterStore store = defaults();
        const ImageBuffer held = store.image;
        r.prompter.expectBox(QStringLiteral("Data buffer not empty. OK to overwrite?"), kDl, PromptButtons::OKCancel,
                             PromptIcon::None, PromptAnswer::Cancel);
        QVERIFY(!mnuDownload_Click(r.link, store));
        QVERIFY(r.port.written().isEmpty());
        QVERIFY(store.image.EEPROMBuffer == held.EEPROMBuffer);
        QVERIFY(!store.image.BufferEmpty);
        QVERIFY_PROMPTS(r.prompter);
    }

    void upload_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<int>("programmedUpTo");  // last address holding the new byte
        QTest::addColumn<int>("resets");          // 1: the upload succeeds
        const QString notProgrammed = ul("Upload aborted - EEPROM programming failed.");
        const QString noReset = ul("Upload aborted - Reset Shift Light Controller failed");
        QTest::newRow("complete") << QString() << QStringList{ul("Upload completed.")} << 159 << 1;
        QTest::newRow("Esc before the upload") << "stale esc" << QStringList{ul("Upload completed.")} << 159 << 1;
        QTest::newRow("lower-case ID") << "odd id" << QStringList{ul("Upload completed.")} << 159 << 1;
        QTest::newRow("no data") << "no data" << QStringList{ul("No data available for uploading.")} << 15 << 0;
        // GPOMinRPM 300 (hundreds) does not fit its byte: said, and nothing is programmed.
        QTest::newRow("does not encode") << "unencodable" << QStringList{ul("ENCODE")} << 15 << 0;
        QTest::newRow("not connected") << "silent" << QStringList{ul(kNoLink)} << 15 << 0;
        QTest::newRow("armed") << "armed" << QStringList{ul("Cannot upload while controller is armed.")} << 15 << 0;
        QTest::newRow("other product")
            << "firmware-unknown" << QStringList{ul("Unknown product firmware ID - cannot upload.")} << 15 << 0;
        // Programming never starts at an address the controller did not take.
        QTest::newRow("address NAK") << "nak-address" << QStringList{notProgrammed} << 15 << 0;
        QTest::newRow("write NAK at 40") << "nak-write:40" << QStringList{notProgrammed} << 39 << 0;
        QTest::newRow("write silent at 40") << "mute-write:40" << QStringList{err(kTimeout), notProgrammed} << 39 << 0;
        // Esc while the 20th byte is programmed: the block is finished, and the verify pass fails.
        QTest::newRow("Esc while programming") << "esc" << QStringList{ul(kNotVerified)} << 159 << 0;
        // At the block's last byte, so a verify pass that stops one short is noticed.
        QTest::newRow("verify mismatch at the last byte") << "mismatch:159" << QStringList{ul(kNotVerified)} << 159 << 0;
        QTest::newRow("verify read silent")
            << "mute-read:100" << QStringList{err(kTimeout), ul(kNotVerified)} << 159 << 0;
        // The wait for the reset's two-byte answer ends at the deadline with 06 alone, which is a reset.
        QTest::newRow("reset answered 06 alone") << "reset-ack-only" << QStringList{ul("Upload completed.")} << 159 << 1;
        QTest::newRow("reset NAK") << "reset-nak" << QStringList{noReset} << 159 << 0;
        QTest::newRow("reset silent") << "reset-silent" << QStringList{err(kComTimeout), noReset} << 159 << 0;
    }
    void upload()
    {
        QFETCH(QString, mode);
        QFETCH(QStringList, shown);
        QFETCH(int, programmedUpTo);
        QFETCH(int, resets);
        Rig r;
        ParameterStore store = defaults();
        store.params.LaunchRPM = 4321;  // an edit since the data was loaded
        ImageBuffer expected = store.image;
        ParameterSet p = store.params;
        QVERIFY(UpdateEEPROM(p, expected));
        if (mode == QLatin1String("no data"))
            store.image.ClearEEPROMBuffer();
        else if (mode == QLatin1String("esc"))
            r.escAt(20, 0x16);
        else if (mode == QLatin1String("unencodable")) {
            store.params.GPOMinRPM = 300;
            ParameterSet p = store.params;
            ImageBuffer scratch;
            shown[0].replace(QStringLiteral("ENCODE"), UpdateEEPROM(p, scratch).message());
        } else
            arrange(r, mode);
        expectShown(r, shown);
        QCOMPARE(mnuUpload_Click(r.link, store), resets == 1);
        QCOMPARE(r.prompter.shown(), shown);
        // Only the block is sent, and nothing after a refused byte.
        for (int a = kConfigFirst - 1; a <= kConfigLast + 1; ++a)
            QCOMPARE(r.controller.eeprom()[a],
                     a >= kConfigFirst && a <= programmedUpTo ? expected.EEPROMBuffer[a] : uint8_t(0));
        QCOMPARE(r.controller.resetCount(), resets);
        QVERIFY(!r.port.isOpen());
        QVERIFY(!r.view.progressVisible);
        QVERIFY(!r.state.UserAbort);
        QCOMPARE(store.image.BufferEmpty, mode == QLatin1String("no data"));
        if (mode.isEmpty())
            QCOMPARE(r.view.events,
                     QStringList({QStringLiteral("show:Programming EEPROM"), QStringLiteral("hide"),
                                  QStringLiteral("show:Verifying EEPROM"), QStringLiteral("hide")}));
    }

    // The firmware line counts only when its CR is read before the deadline.
    void firmwareLineAtTheDeadline_data()
    {
        QTest::addColumn<int>("crLateMs");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("CR just before the deadline") << 120 << true;
        QTest::newRow("CR after the deadline") << 260 << false;
    }
    void firmwareLineAtTheDeadline()
    {
        QFETCH(int, crLateMs);
        QFETCH(bool, accepted);
        // The CR is read crLateMs after the command; the deadline is 200 ms.
        struct SlowCrPort : EmulatedPort {
            using EmulatedPort::EmulatedPort;
            int lateMs = 0;
            int readByte() override
            {
                const int b = EmulatedPort::readByte();
                if (b == 0x0D)
                    QThread::msleep(ulong(lateMs));
                return b;
            }
        };
        EmulatedController controller;
        SlowCrPort port(controller);
        port.lateMs = crLateMs;
        ScriptedPrompter prompter;
        NullLinkView view;
        LinkState state;
        ControllerLink link(port, prompter, view, state, LinkTiming{200, 0, 2});
        if (!accepted)
            prompter.expectError(kTimeout, PromptAnswer::Abort);
        link.ReadFirmwareID();
        QCOMPARE(state.LinkOK, accepted);
        QCOMPARE(state.FirmwareID.isEmpty(), !accepted);
        QVERIFY_PROMPTS(prompter);
    }

    // Line errors reach the newest link still alive on the port, whatever order the links end in.
    void lineErrorsReachTheNewestLink()
    {
        Rig r;
        LinkState second, third;
        auto a = std::make_unique<ControllerLink>(r.port, r.prompter, r.view, second);
        auto b = std::make_unique<ControllerLink>(r.port, r.prompter, r.view, third);
        a.reset();
        r.link.ReSync();
        r.prompter.expect(QStringLiteral("Framing error."), QString(), PromptAnswer::Retry)
            .expect(QStringLiteral("Parity error."), QString(), PromptAnswer::Retry);
        r.port.raiseLineError(LineError::Framing);
        b.reset();
        r.port.raiseLineError(LineError::Parity);
        QCOMPARE(third.CommErrorCount, 1);
        QCOMPARE(r.state.CommErrorCount, 1);
        QVERIFY_PROMPTS(r.prompter);
    }

    // Compare reads the controller into a scratch image: the store, the caption and the frames stay as they were.
    void compare_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<int>("failure");  // CompareFailure
        QTest::addColumn<QStringList>("lines");
        const QString fw = cmp(kFw);
        QTest::newRow("same") << QString() << QStringList{fw} << int(CompareFailure::None) << QStringList{};
        // The controller's LaunchRPM 2992 and a reserved byte 7; this configuration's 3000 and 0.
        QTest::newRow("differs") << "differs" << QStringList{fw} << int(CompareFailure::None)
                                 << QStringList{"Launch RPM: 2992 -> 3000", "Offset 60: 7 -> 0"};
        QTest::newRow("Esc while reading") << "esc" << QStringList{fw, cmp("Compare failed.")}
                                           << int(CompareFailure::ReadFailed) << QStringList{};
        QTest::newRow("nothing loaded") << "no data" << QStringList{cmp("No data available for comparing.")}
                                        << int(CompareFailure::NoConfiguration) << QStringList{};
    }
    void compare()
    {
        QFETCH(QString, mode);
        QFETCH(QStringList, shown);
        QFETCH(int, failure);
        QFETCH(QStringList, lines);
        Rig r;
        r.controller.setConfigBlock(factoryConfigBlock());
        if (mode == QLatin1String("differs"))
            r.controller.eeprom()[32] = 0xB0, r.controller.eeprom()[60] = 7;
        else if (mode == QLatin1String("esc"))
            r.escAt(10);
        expectShown(r, shown);
        ParameterStore store = defaults();
        if (mode == QLatin1String("no data"))
            store.image.ClearEEPROMBuffer();
        store.DataSourceName = QStringLiteral("mine.dat");
        const ParameterStore before = store;
        const CompareOutcome outcome = compareWithController(r.link, store);
        QCOMPARE(r.prompter.shown(), shown);
        QCOMPARE(int(outcome.failure), failure);
        QCOMPARE(report::differenceLines(outcome.differences), lines);
        QVERIFY(store.params == before.params && store.image.EEPROMBuffer == before.image.EEPROMBuffer &&
                store.image.BufferEmpty == before.image.BufferEmpty && store.DataSourceName == before.DataSourceName);
        QVERIFY(r.view.caption.isEmpty() && r.view.framesVisible && !r.view.progressVisible);
        QVERIFY(!r.port.isOpen());
        if (mode == QLatin1String("no data"))
            QVERIFY(r.port.written().isEmpty());
    }

    // A backup comes before programming; the person sees what will change and may stop. The controller holds
    // the factory block, the upload changes LaunchRPM.
    void uploadWithBackup_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QStringList>("shown");  // "title: text"
        QTest::addColumn<QList<PromptAnswer>>("answers");  // of the shown lines, in order
        QTest::addColumn<bool>("backedUp");
        QTest::addColumn<bool>("programmed");
        const QString path = QStringLiteral("BACKUP/2024-05-01_134502.dat");
        const QString changes = ul("The controller's configuration was saved as " + path +
                                   ".\n\nThe upload will change (controller -> this configuration):\n"
                                   "Launch RPM: 3000 -> 4321\n\nGo on with the upload?");
        const QString unread = ul("The controller's configuration could not be read for the backup.");
        const QString without = QStringLiteral("\n\nUpload without a backup?");
        const QString done = ul("Upload completed.");
        using A = QList<PromptAnswer>;
        const PromptAnswer Y = PromptAnswer::Yes, N = PromptAnswer::No, OK = PromptAnswer::OK;
        QTest::newRow("go on") << "" << true << QStringList{changes, done} << A{Y, OK} << true << true;
        QTest::newRow("declined") << "" << true << QStringList{changes} << A{N} << true << false;
        QTest::newRow("unread, go on without")
            << "esc" << true << QStringList{unread + without, done} << A{Y, OK} << false << true;
        QTest::newRow("name taken") << "taken" << true << QStringList{ul(path + " already exists." + without)}
                                    << A{N} << false << false;
        QTest::newRow("command line, go on") << "" << false << QStringList{done} << A{OK} << true << true;
        QTest::newRow("command line, unread")
            << "esc" << false
            << QStringList{ul("No backup was made: The controller's configuration could not be read for the "
                              "backup. Nothing was written to the controller.")}
            << A{OK} << false << false;
    }
    void uploadWithBackup()
    {
        QFETCH(QString, mode);
        QFETCH(bool, confirm);
        QFETCH(QStringList, shown);
        QFETCH(QList<PromptAnswer>, answers);
        QFETCH(bool, backedUp);
        QFETCH(bool, programmed);
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("backups"));
        Rig r;
        r.controller.setConfigBlock(factoryConfigBlock());
        if (mode == QLatin1String("esc"))  // during the backup's read
            r.escAt(10);
        const QString taken = folder + QStringLiteral("/2024-05-01_134502.dat");
        if (mode == QLatin1String("taken"))
            QVERIFY(QDir().mkpath(folder) && QFile(taken).open(QIODevice::WriteOnly));
        r.prompter.setLenient(true);
        for (int i = 0; i < shown.size(); ++i) {
            shown[i].replace(QStringLiteral("BACKUP"), folder);
            r.prompter.expect(shown[i].mid(kUl.size() + 2), kUl, answers[i]);
        }
        ParameterStore store = defaults();
        store.params.LaunchRPM = 4321;
        UploadOptions options;
        options.backupFolder = folder;
        options.confirm = confirm;
        options.clock = [] { return QDateTime(QDate(2024, 5, 1), QTime(13, 45, 2)); };
        QString written;
        QCOMPARE(mnuUpload_Click(r.link, store, options, &written), programmed);
        QCOMPARE(r.prompter.shown(), shown);
        QCOMPARE(written, backedUp ? taken : QString());
        QFile backup(taken);
        QCOMPARE(backup.open(QIODevice::ReadOnly) ? backup.readAll() : QByteArray(),
                 backedUp ? factoryConfigBlock() : QByteArray());
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), backedUp || mode == "taken" ? 1 : 0);
        QCOMPARE(r.controller.configBlock() == factoryConfigBlock(), !programmed);
        QCOMPARE(r.controller.resetCount(), programmed ? 1 : 0);
        QVERIFY(!r.port.isOpen());
    }
};

QTEST_GUILESS_MAIN(TestLink)
#include "tst_link.moc"
