// The primitives, block transfers and workflows against the emulated
// controller, one failure mode at a time.
#include "linktestsupport.h"

#include "emulator/factoryimage.h"
#include "link/workflows.h"
#include "params/codec.h"
#include "params/defaults.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>
#include <ctime>
#include <functional>

namespace {
const QString kTimeout = QStringLiteral("RS-232 timeout. Check cable and click Abort.");
const QString kComTimeout = QStringLiteral("COM port timeout. Check cable and click Abort.");
const QString kDl = QStringLiteral("Download From EEPROM");
const QString kUl = QStringLiteral("Upload To EEPROM");
const QString kNoLink = QStringLiteral("Cannot establish RS-232 link. Check cable and controller power.");
const QString kFw = QStringLiteral("Firmware ID: Revora Shift Light v1.0");

using Primitive = std::function<void(ControllerLink&)>;
#define CALL(expr) Primitive([](ControllerLink& l) { expr; })

QString err(const QString& text) { return QStringLiteral("Error: ") + text; }
QString dl(const QString& text) { return kDl + QStringLiteral(": ") + text; }
QString ul(const QString& text) { return kUl + QStringLiteral(": ") + text; }

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

Q_DECLARE_METATYPE(Primitive)

class TestLink : public QObject {
    Q_OBJECT
private slots:
    // Each primitive sends the same bytes whatever the answer; a missing answer is
    // reported (or left to the caller) and ends with no link.
    void primitives_data()
    {
        QTest::addColumn<QString>("mode");  // empty: the controller answers; otherwise no link after
        QTest::addColumn<Primitive>("primitive");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QString>("prompt");  // empty: none
        QTest::addColumn<bool>("openAfter");
        const auto sync = CALL(l.ReSync());
        const auto status = CALL(QCOMPARE(l.ReadStatus(), 0));
        const auto id = CALL(l.ReadFirmwareID());
        const auto address = CALL(l.SetEEPROMAddress(421));
        const auto read = CALL(QCOMPARE(l.ReadEEPROM(), 0));
        const auto reset = CALL(l.ResetController());
        const QByteArray a("14 a5 01"), r("34 5a a5 3c c3");
        QTest::newRow("ReSync") << QString() << sync << QByteArray("33") << QString() << true;
        QTest::newRow("ReSync silent") << "silent" << sync << QByteArray("33") << QString() << true;
        QTest::newRow("ReSync junk") << "junk" << sync << QByteArray("33") << QString() << true;
        QTest::newRow("ReadStatus") << QString() << status << QByteArray("2e") << QString() << true;
        QTest::newRow("ReadStatus silent") << "silent" << status << QByteArray("2e") << kTimeout << false;
        QTest::newRow("ReadFirmwareID") << QString() << id << QByteArray("10") << QString() << false;
        QTest::newRow("ReadFirmwareID silent") << "silent" << id << QByteArray("10") << kTimeout << false;
        QTest::newRow("SetEEPROMAddress") << QString() << address << a << QString() << true;
        QTest::newRow("SetEEPROMAddress silent") << "mute-address" << address << a << kTimeout << false;
        QTest::newRow("SetEEPROMAddress NAK") << "nak-address" << address << a << QString() << true;
        QTest::newRow("ReadEEPROM") << QString() << read << QByteArray("15") << QString() << true;
        QTest::newRow("ReadEEPROM silent") << "mute-read" << read << QByteArray("15") << kTimeout << false;
        QTest::newRow("ResetController") << QString() << reset << r << QString() << false;
        QTest::newRow("ResetController silent") << "reset-silent" << reset << r << kComTimeout << false;
        QTest::newRow("ResetController NAK") << "reset-nak" << reset << r << QString() << false;
    }
    void primitives()
    {
        QFETCH(QString, mode);
        QFETCH(Primitive, primitive);
        QFETCH(QByteArray, sent);
        QFETCH(QString, prompt);
        QFETCH(bool, openAfter);
        Rig r;
        if (!mode.isEmpty())
            r.fail(mode);
        if (!prompt.isEmpty())
            r.prompter.expectError(prompt, PromptAnswer::Abort);
        primitive(r.link);
        QCOMPARE(r.port.written().toHex(' '), sent);
        QCOMPARE(r.state.LinkOK, mode.isEmpty());
        QCOMPARE(r.port.isOpen(), openAfter);
        QVERIFY_PROMPTS(r.prompter);
    }

    void retryRaisesTheTimeoutAgain()
    {
        Rig r;
        r.fail(QStringLiteral("silent"));
        r.prompter.expectError(kTimeout, PromptAnswer::Retry)
            .expectError(kTimeout, PromptAnswer::Retry)
            .expectError(kTimeout, PromptAnswer::Ignore);
        r.link.ReadStatus();
        QVERIFY(!r.state.LinkOK);
        QVERIFY(!r.port.isOpen());
        QCOMPARE(r.port.written(), QByteArray("\x2e"));  // the command is not sent again
        QVERIFY_PROMPTS(r.prompter);
    }

    // Other products, an empty ID and a line without CR: see the workflows below.
    void firmwareIDIsLatin1InAnyCase()
    {
        Rig r;
        r.controller.setFirmwareId(QByteArray("r\xe9vora shift light 2.3b"));
        r.link.ReadFirmwareID();
        QVERIFY(r.state.LinkOK);
        QCOMPARE(r.state.FirmwareID, QString::fromLatin1("r\xe9vora shift light 2.3b"));
        QCOMPARE(r.state.ProductName, QStringLiteral("Shift Light"));
    }

    // A controller that answers 06 alone is only heard at the deadline; the full
    // answer ends the wait at once.
    void resetWaitsForTheFollowUpByte()
    {
        for (const bool ackOnly : {false, true}) {
            LinkTiming t = Rig::fastTiming();
            t.replyDeadlineMs = 120;
            Rig r(t);
            if (ackOnly)
                r.fail(QStringLiteral("reset-ack-only"));
            QElapsedTimer clock;
            clock.start();
            r.link.ResetController();
            const qint64 ms = clock.elapsed();
            QVERIFY(r.state.LinkOK);
            QVERIFY(!r.port.isOpen());
            QVERIFY2(ackOnly ? ms >= 120 : ms < 60, qPrintable(QString::number(ms)));
        }
    }

    void delayTimerKeepsEventsRunningWithoutSpinning()
    {
        Rig r(LinkTiming{});
        bool fired = false;
        QTimer::singleShot(0, [&] { fired = true; });
        const std::clock_t cpu0 = std::clock();
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 50; ++i)
            r.link.DelayTimer(2);
        const qint64 ms = clock.elapsed();
        const double cpuMs = double(std::clock() - cpu0) * 1000.0 / CLOCKS_PER_SEC;
        QVERIFY(fired);
        // Generous bounds for a busy machine; a spinning wait would use all 100 ms.
        QVERIFY2(ms >= 100 && ms < 400, qPrintable(QString::number(ms)));
        QVERIFY2(cpuMs < 50, qPrintable(QString::number(cpuMs)));
    }

    void openFailureIsPromptedOnce()
    {
        Rig r;
        const QString why = QStringLiteral("The serial port /dev/ttyS0 does not exist.");
        r.port.setOpenError(why);
        r.prompter.expectError(why, PromptAnswer::Retry).expectError(why, PromptAnswer::Abort).expect(kNoLink, kUl);
        ParameterStore store;
        loadDefaults(store);
        QVERIFY(!mnuUpload_Click(r.link, store));
        QCOMPARE(r.port.openCount(), 0);
        QVERIFY_PROMPTS(r.prompter);
    }

    void lineErrors()
    {
        Rig r;
        r.link.ReSync();
        const QString title = QStringLiteral("Communications Error");
        r.prompter.expectBox(QStringLiteral("Framing error."), title, PromptButtons::RetryCancel,
                             PromptIcon::Critical, PromptAnswer::Retry)
            .expect(QStringLiteral("Parity error."), title, PromptAnswer::Retry);
        r.port.raiseLineError(LineError::Framing);
        r.port.raiseLineError(LineError::Break);  // not reported
        r.port.raiseLineError(LineError::Parity);
        QVERIFY(r.port.isOpen());
        QCOMPARE(r.state.CommErrorCount, 2);
        QVERIFY_PROMPTS(r.prompter);
        // The third closes the port, even when answered with Retry.
        r.prompter.expect(QStringLiteral("Port hardware overrun."), title, PromptAnswer::Retry);
        r.port.raiseLineError(LineError::Overrun);
        QVERIFY(!r.port.isOpen());
        QVERIFY_PROMPTS(r.prompter);
        // Cancel closes the port at once.
        Rig c;
        c.link.ReSync();
        c.prompter.expect(QStringLiteral("Receive buffer overflow."), title, PromptAnswer::Cancel);
        c.port.raiseLineError(LineError::RxOverflow);
        QVERIFY(!c.port.isOpen());
        QVERIFY_PROMPTS(c.prompter);
    }

    void readBlock_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("userAbort");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<int>("bytesRead");
        QTest::newRow("complete") << QString() << false << QString() << 144;
        QTest::newRow("address NAK") << "nak-address" << false << QString() << 0;
        QTest::newRow("read silent at 40") << "mute-read:40" << false << kTimeout << 25;
        QTest::newRow("Esc before start") << QString() << true << QString() << 1;
        QTest::newRow("line drops") << "disconnect:30" << false << kTimeout << 27;
    }
    void readBlock()
    {
        QFETCH(QString, mode);
        QFETCH(bool, userAbort);
        QFETCH(QString, prompt);
        QFETCH(int, bytesRead);
        const bool ok = bytesRead == 144;
        Rig r;
        for (int a = 0; a < emu::kEepromSize; ++a)
            r.controller.eeprom()[a] = uint8_t(a * 7 + 1);  // address 73 holds a NUL: data like any other
        if (!mode.isEmpty())
            r.fail(mode);
        r.state.UserAbort = userAbort;
        if (!prompt.isEmpty())
            r.prompter.expectError(prompt, PromptAnswer::Abort);
        ImageBuffer image;
        image.EEPROMBuffer.fill(0x55);
        r.link.ReadEEPROMData(image);
        QCOMPARE(r.state.LinkOK, ok);
        QVERIFY(!r.state.UserAbort);
        QCOMPARE(image.BufferEmpty, !ok);
        // Hidden at every end, also when the address failed.
        QCOMPARE(r.view.events, QStringList({QStringLiteral("show:Reading EEPROM"), QStringLiteral("hide")}));
        QVERIFY(!r.port.isOpen());
        QCOMPARE(r.port.written().count(char(0x15)), bytesRead);
        QVERIFY_PROMPTS(r.prompter);
        if (ok) {
            QCOMPARE(image.configBlock(), r.controller.configBlock());
            for (int a : {0, 15, 160, 511})
                QCOMPARE(image.EEPROMBuffer[a], uint8_t(0));
            // Progress by address: 100 % only from the address 143 on.
            QCOMPARE(r.view.values.size(), 144);
            QCOMPARE(r.view.values.first(), 11);
            QCOMPARE(r.view.values.at(142 - 16), 99);
            QCOMPARE(r.view.values.at(143 - 16), 100);
        }
    }

    void writeBlock_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<bool>("linkOK");
        QTest::addColumn<int>("verifyErrors");
        QTest::addColumn<int>("programmedUpTo");  // last address holding the new byte
        QTest::newRow("complete") << QString() << QString() << true << 0 << 159;
        QTest::newRow("write NAK at 40") << "nak-write:40" << QString() << false << 0 << 39;
        QTest::newRow("write silent at 40") << "mute-write:40" << kTimeout << false << 0 << 39;
        QTest::newRow("address NAK") << "nak-address" << QString() << false << 0 << 15;
        QTest::newRow("one byte differs") << "mismatch:40" << QString() << true << 1 << 159;
        QTest::newRow("verify read silent") << "mute-read:100" << kTimeout << true << 2 << 159;
    }
    void writeBlock()
    {
        QFETCH(QString, mode);
        QFETCH(QString, prompt);
        QFETCH(bool, linkOK);
        QFETCH(int, verifyErrors);
        QFETCH(int, programmedUpTo);
        Rig r;
        if (!mode.isEmpty())
            r.fail(mode);
        if (!prompt.isEmpty())
            r.prompter.expectError(prompt, PromptAnswer::Abort);
        ImageBuffer image;
        for (int a = 0; a < kImageSize; ++a)
            image.EEPROMBuffer[a] = uint8_t(255 - a);
        r.link.WriteEEPROMData(image);
        QCOMPARE(r.state.LinkOK, linkOK);
        if (linkOK)
            QCOMPARE(r.state.VerifyErrors, verifyErrors);
        // Only the block is sent, and nothing after a refused byte.
        for (int a = kConfigFirst - 1; a <= kConfigLast + 1; ++a)
            QCOMPARE(r.controller.eeprom()[a], uint8_t(a >= kConfigFirst && a <= programmedUpTo ? 255 - a : 0));
        QVERIFY(!r.view.progressVisible);
        QVERIFY(!r.port.isOpen());
        QVERIFY_PROMPTS(r.prompter);
        if (mode.isEmpty())
            QCOMPARE(r.view.events,
                     QStringList({QStringLiteral("show:Programming EEPROM"), QStringLiteral("hide"),
                                  QStringLiteral("show:Verifying EEPROM"), QStringLiteral("hide")}));
    }

    void download_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("shown");  // "title: text"
        QTest::addColumn<bool>("ok");
        const QString failed = dl("Download failed.");
        QTest::newRow("complete") << QString() << QStringList{dl(kFw)} << true;
        QTest::newRow("other product downloads")
            << "firmware-unknown" << QStringList{dl("Firmware ID: Revora Tach Adapter v2.1")} << true;
        QTest::newRow("not connected") << "silent" << QStringList{dl(kNoLink)} << false;
        QTest::newRow("armed") << "armed" << QStringList{dl("Cannot download while controller is armed.")} << false;
        QTest::newRow("status unanswered") << "disconnect:2" << QStringList{err(kTimeout)} << false;
        QTest::newRow("firmware without CR")
            << "firmware-no-cr" << QStringList{err(kTimeout), dl("Firmware ID read failed - cannot download.")}
            << false;
        QTest::newRow("firmware CR only")
            << "firmware-empty" << QStringList{dl("Invalid firmware ID - cannot download.")} << false;
        QTest::newRow("address NAK") << "nak-address" << QStringList{dl(kFw), failed} << false;
        QTest::newRow("line drops") << "disconnect:60" << QStringList{dl(kFw), err(kTimeout), failed} << false;
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
        else if (!mode.isEmpty())
            r.fail(mode);
        expectShown(r, shown);
        ParameterStore store;
        store.MainCaption = QStringLiteral("Revora Shift Version 1.0");
        ParameterSet before;
        before.VSSFreq = 1234;
        store.params = before;

        QCOMPARE(mnuDownload_Click(r.link, store), ok);
        QCOMPARE(r.prompter.shown(), shown);
        QVERIFY(!r.port.isOpen());
        QVERIFY(!r.view.progressVisible);
        QCOMPARE(store.DataSourceName, QStringLiteral("Data Buffer Empty"));
        QCOMPARE(r.view.framesVisible, ok);
        QCOMPARE(store.image.BufferEmpty, !ok);
        if (ok) {
            QCOMPARE(store.image.configBlock(), factoryConfigBlock());
            ParameterSet expected;
            QVERIFY(UpdateParams(store.image, expected));
            QVERIFY(store.params == expected);
            QCOMPARE(r.view.caption, QStringLiteral("Revora Shift Version 1.0 - Downloaded Data"));
        } else {
            QVERIFY(store.image.configBlock() == QByteArray(kConfigSize, '\0'));
            QVERIFY(store.params == before);
            QCOMPARE(r.view.caption, QStringLiteral("Revora Shift Version 1.0 - Data Buffer Empty"));
        }
    }

    void downloadAsksBeforeOverwriting()
    {
        Rig r;
        ParameterStore store;
        loadDefaults(store);
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
        QTest::addColumn<bool>("programmed");
        QTest::addColumn<int>("resets");  // 1: the upload succeeds
        const QString notProgrammed = ul("Upload aborted - EEPROM programming failed.");
        const QString noReset = ul("Upload aborted - Reset Shift Light Controller failed");
        QTest::newRow("complete") << QString() << QStringList{ul("Upload completed.")} << true << 1;
        QTest::newRow("not connected") << "silent" << QStringList{ul(kNoLink)} << false << 0;
        QTest::newRow("armed") << "armed" << QStringList{ul("Cannot upload while controller is armed.")} << false
                               << 0;
        QTest::newRow("firmware without CR")
            << "firmware-no-cr" << QStringList{err(kTimeout), ul("Firmware ID read failed - cannot upload.")}
            << false << 0;
        QTest::newRow("firmware CR only")
            << "firmware-empty" << QStringList{ul("Invalid firmware ID - cannot upload.")} << false << 0;
        QTest::newRow("other product")
            << "firmware-unknown" << QStringList{ul("Unknown product firmware ID - cannot upload.")} << false << 0;
        QTest::newRow("write NAK") << "nak-write:70" << QStringList{notProgrammed} << false << 0;
        QTest::newRow("write silent") << "mute-write:70" << QStringList{err(kTimeout), notProgrammed} << false << 0;
        QTest::newRow("verify mismatch")
            << "mismatch:40" << QStringList{ul("Upload aborted - EEPROM verification failed.")} << true << 0;
        QTest::newRow("reset NAK") << "reset-nak" << QStringList{noReset} << true << 0;
        QTest::newRow("reset silent") << "reset-silent" << QStringList{err(kComTimeout), noReset} << true << 0;
    }
    void upload()
    {
        QFETCH(QString, mode);
        QFETCH(QStringList, shown);
        QFETCH(bool, programmed);
        QFETCH(int, resets);
        Rig r;
        if (!mode.isEmpty())
            r.fail(mode);
        expectShown(r, shown);
        ParameterStore store;
        loadDefaults(store);
        store.params.LaunchRPM = 4321;  // an edit since the data was loaded
        ImageBuffer expected = store.image;
        ParameterSet p = store.params;
        QVERIFY(UpdateEEPROM(p, expected));

        QCOMPARE(mnuUpload_Click(r.link, store), resets == 1);
        QCOMPARE(r.prompter.shown(), shown);
        QCOMPARE(r.controller.configBlock() == expected.configBlock(), programmed);
        QCOMPARE(r.controller.resetCount(), resets);
        QVERIFY(!r.port.isOpen());
        QVERIFY(!r.view.progressVisible);
        QVERIFY(!store.image.BufferEmpty);
    }

    void uploadWithoutDataSendsNothing()
    {
        Rig r;
        ParameterStore store;
        r.prompter.expectBox(QStringLiteral("No data available for uploading."), kUl, PromptButtons::OK,
                             PromptIcon::Exclamation, PromptAnswer::OK);
        QVERIFY(!mnuUpload_Click(r.link, store));
        QVERIFY(r.port.written().isEmpty());
        QCOMPARE(r.port.openCount(), 0);
        QVERIFY_PROMPTS(r.prompter);
    }

    void escDuringVerifyFailsTheUpload()
    {
        Rig r;
        ParameterStore store;
        loadDefaults(store);
        // Esc pressed while the 20th byte is programmed is seen by the verify pass.
        int writes = 0;
        r.port.onWrite = [&](uint8_t b) {
            if (b == 0x16 && ++writes == 20)
                r.state.UserAbort = true;
        };
        r.prompter.expectBox(QStringLiteral("Upload aborted - EEPROM verification failed."), kUl, PromptButtons::OK,
                             PromptIcon::Information, PromptAnswer::OK);
        QVERIFY(!mnuUpload_Click(r.link, store));
        QCOMPARE(r.state.VerifyErrors, 1);  // a clean compare of one byte, then stopped
        QVERIFY(!r.state.UserAbort);
        QCOMPARE(r.controller.resetCount(), 0);
        QVERIFY(!r.port.isOpen());
        QVERIFY_PROMPTS(r.prompter);
    }
};

QTEST_GUILESS_MAIN(TestLink)
#include "tst_link.moc"
