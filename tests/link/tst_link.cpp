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
QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray b;
    for (int v : list)
        b.append(char(v));
    return b;
}

const QString kTimeout = QStringLiteral("RS-232 timeout. Check cable and click Abort.");
const QString kComTimeout = QStringLiteral("COM port timeout. Check cable and click Abort.");
const QString kDl = QStringLiteral("Download From EEPROM");
const QString kUl = QStringLiteral("Upload To EEPROM");
const QString kNoLink = QStringLiteral("Cannot establish RS-232 link. Check cable and controller power.");

using Primitive = std::function<void(ControllerLink&)>;
}  // namespace

Q_DECLARE_METATYPE(Primitive)

class TestLink : public QObject {
    Q_OBJECT
private slots:
    void commandBytes_data();
    void commandBytes();
    void timeouts_data();
    void timeouts();
    void retryRaisesTheTimeoutAgain();
    void firmwareID_data();
    void firmwareID();
    void resetAnswers_data();
    void resetAnswers();
    void nulByteIsData();
    void delayTimerKeepsEventsRunningWithoutSpinning();
    void openFailureIsPromptedOnce();
    void lineErrors();

    void progressValues_data();
    void progressValues();
    void readBlock();
    void readBlockFailures_data();
    void readBlockFailures();
    void writeBlock();
    void writeBlockFailures_data();
    void writeBlockFailures();

    void download_data();
    void download();
    void downloadAsksBeforeOverwriting();
    void downloadOfUndecodableImageLeavesNothing();
    void upload_data();
    void upload();
    void uploadWithoutDataSendsNothing();
    void escDuringVerifyFailsTheUpload();
};

void TestLink::commandBytes_data()
{
    QTest::addColumn<Primitive>("primitive");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<bool>("openAfter");

    QTest::newRow("ReSync") << Primitive([](ControllerLink& l) { l.ReSync(); }) << bytes({0x33}) << true;
    QTest::newRow("ReadStatus") << Primitive([](ControllerLink& l) { l.ReadStatus(); }) << bytes({0x2E}) << true;
    QTest::newRow("ReadFirmwareID") << Primitive([](ControllerLink& l) { l.ReadFirmwareID(); }) << bytes({0x10})
                                    << false;
    QTest::newRow("SetEEPROMAddress(16)") << Primitive([](ControllerLink& l) { l.SetEEPROMAddress(16); })
                                          << bytes({0x14, 0x10, 0x00}) << true;
    QTest::newRow("SetEEPROMAddress(421)") << Primitive([](ControllerLink& l) { l.SetEEPROMAddress(421); })
                                           << bytes({0x14, 0xA5, 0x01}) << true;
    QTest::newRow("ReadEEPROM") << Primitive([](ControllerLink& l) { l.ReadEEPROM(); }) << bytes({0x15}) << true;
    QTest::newRow("ResetController") << Primitive([](ControllerLink& l) { l.ResetController(); })
                                     << bytes({0x34, 0x5A, 0xA5, 0x3C, 0xC3}) << false;
}

void TestLink::commandBytes()
{
    QFETCH(Primitive, primitive);
    QFETCH(QByteArray, sent);
    QFETCH(bool, openAfter);
    Rig r;
    primitive(r.link);
    QCOMPARE(r.port.written().toHex(' '), sent.toHex(' '));
    QVERIFY(r.state.LinkOK);
    QCOMPARE(r.port.isOpen(), openAfter);
    QVERIFY_PROMPTS(r.prompter);
}

void TestLink::timeouts_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<Primitive>("primitive");
    QTest::addColumn<QString>("prompt");  // empty: silent
    QTest::addColumn<bool>("openAfter");

    const auto status = Primitive([](ControllerLink& l) { QCOMPARE(l.ReadStatus(), 0); });
    QTest::newRow("ReSync silent") << "silent" << Primitive([](ControllerLink& l) { l.ReSync(); }) << QString()
                                   << true;
    QTest::newRow("ReSync junk") << "junk" << Primitive([](ControllerLink& l) { l.ReSync(); }) << QString() << true;
    QTest::newRow("ReadStatus") << "silent" << status << kTimeout << false;
    QTest::newRow("ReadFirmwareID") << "silent" << Primitive([](ControllerLink& l) { l.ReadFirmwareID(); })
                                    << kTimeout << false;
    QTest::newRow("SetEEPROMAddress") << "mute-address" << Primitive([](ControllerLink& l) { l.SetEEPROMAddress(16); })
                                      << kTimeout << false;
    QTest::newRow("SetEEPROMAddress NAK") << "nak-address"
                                          << Primitive([](ControllerLink& l) { l.SetEEPROMAddress(16); })
                                          << QString() << true;
    QTest::newRow("ReadEEPROM") << "mute-read" << Primitive([](ControllerLink& l) { QCOMPARE(l.ReadEEPROM(), 0); })
                                << kTimeout << false;
    QTest::newRow("ResetController") << "reset-silent" << Primitive([](ControllerLink& l) { l.ResetController(); })
                                     << kComTimeout << false;
    QTest::newRow("ResetController NAK") << "reset-nak" << Primitive([](ControllerLink& l) { l.ResetController(); })
                                         << QString() << false;
}

void TestLink::timeouts()
{
    QFETCH(QString, mode);
    QFETCH(Primitive, primitive);
    QFETCH(QString, prompt);
    QFETCH(bool, openAfter);
    Rig r;
    r.fail(mode);
    if (!prompt.isEmpty())
        r.prompter.expectError(prompt, PromptAnswer::Abort);
    primitive(r.link);
    QVERIFY(!r.state.LinkOK);
    QCOMPARE(r.port.isOpen(), openAfter);
    QVERIFY_PROMPTS(r.prompter);
}

void TestLink::retryRaisesTheTimeoutAgain()
{
    Rig r;
    r.fail(QStringLiteral("silent"));
    r.prompter.expectError(kTimeout, PromptAnswer::Retry)
        .expectError(kTimeout, PromptAnswer::Retry)
        .expectError(kTimeout, PromptAnswer::Ignore);
    r.link.ReadStatus();
    QVERIFY(!r.state.LinkOK);
    QVERIFY(!r.port.isOpen());
    QCOMPARE(r.port.written(), bytes({0x2E}));  // the command is not sent again
    QVERIFY_PROMPTS(r.prompter);
}

void TestLink::firmwareID_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QByteArray>("id");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("firmware");
    QTest::addColumn<QString>("product");

    QTest::newRow("lower case") << QString() << QByteArray("acme shift light 2.3b") << true
                                << "acme shift light 2.3b" << "Shift Light";
    QTest::newRow("8-bit text") << QString() << QByteArray("R\xe9vora Shift Light") << true
                                << QString::fromLatin1("R\xe9vora Shift Light") << "Shift Light";
    QTest::newRow("other product") << "firmware-unknown" << QByteArray() << true << "Revora Tach Adapter v2.1"
                                   << "Unknown";
    QTest::newRow("CR only") << "firmware-empty" << QByteArray() << true << QString() << "Unknown";
    // A line that never ends: what came is dropped, the product name is kept.
    QTest::newRow("no CR") << "firmware-no-cr" << QByteArray() << false << QString() << "kept";
}

void TestLink::firmwareID()
{
    QFETCH(QString, mode);
    QFETCH(QByteArray, id);
    QFETCH(bool, ok);
    QFETCH(QString, firmware);
    QFETCH(QString, product);
    Rig r;
    r.state.ProductName = QStringLiteral("kept");
    if (!mode.isEmpty())
        r.fail(mode);
    if (!id.isEmpty())
        r.controller.setFirmwareId(id);
    if (!ok)
        r.prompter.expectError(kTimeout, PromptAnswer::Abort);
    r.link.ReadFirmwareID();
    QCOMPARE(r.state.LinkOK, ok);
    QCOMPARE(r.state.FirmwareID, firmware);
    QCOMPARE(r.state.ProductName, product);
    QVERIFY(!r.port.isOpen());
    QVERIFY_PROMPTS(r.prompter);
}

void TestLink::resetAnswers_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("waitsDeadline");
    QTest::newRow("06 and follow-up") << QString() << true << false;
    QTest::newRow("06 alone") << "reset-ack-only" << true << true;
    QTest::newRow("15") << "reset-nak" << false << true;
}

void TestLink::resetAnswers()
{
    QFETCH(QString, mode);
    QFETCH(bool, ok);
    QFETCH(bool, waitsDeadline);
    LinkTiming t = Rig::fastTiming();
    t.replyDeadlineMs = 120;
    Rig r(t);
    if (!mode.isEmpty())
        r.fail(mode);
    QElapsedTimer clock;
    clock.start();
    r.link.ResetController();
    const qint64 ms = clock.elapsed();
    QCOMPARE(r.state.LinkOK, ok);
    QVERIFY(!r.port.isOpen());
    if (waitsDeadline)
        QVERIFY2(ms >= 120, qPrintable(QString::number(ms)));
    else
        QVERIFY2(ms < 60, qPrintable(QString::number(ms)));
    QVERIFY_PROMPTS(r.prompter);
}

void TestLink::nulByteIsData()
{
    Rig r;
    r.controller.eeprom()[16] = 0x00;
    r.controller.eeprom()[17] = 0xA7;
    r.link.SetEEPROMAddress(16);
    QCOMPARE(r.link.ReadEEPROM(), uint8_t(0));
    QVERIFY(r.state.LinkOK);
    QCOMPARE(r.link.ReadEEPROM(), uint8_t(0xA7));
}

void TestLink::delayTimerKeepsEventsRunningWithoutSpinning()
{
    Rig r(LinkTiming{});
    bool fired = false;
    QTimer::singleShot(0, [&] { fired = true; });
    const std::clock_t cpu0 = std::clock();
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 50; ++i)
        r.link.DelayTimer(2);
    const qint64 ns = clock.nsecsElapsed();
    const double cpuMs = double(std::clock() - cpu0) * 1000.0 / CLOCKS_PER_SEC;
    QVERIFY(fired);
    QVERIFY2(ns >= 100'000'000, qPrintable(QString::number(ns)));
    // Generous bounds for a busy machine; a spinning wait would use all 100 ms.
    QVERIFY2(ns < 400'000'000, qPrintable(QString::number(ns)));
    QVERIFY2(cpuMs < 50, qPrintable(QString::number(cpuMs)));
}

void TestLink::openFailureIsPromptedOnce()
{
    Rig r;
    const QString why = QStringLiteral("The serial port /dev/ttyS0 does not exist.");
    r.port.setOpenError(why);
    r.prompter.expectError(why, PromptAnswer::Retry).expectError(why, PromptAnswer::Abort).expect(kNoLink, kUl);
    r.state.ProductName = QStringLiteral("Shift Light");
    ParameterStore store;
    loadDefaults(store);
    QVERIFY(!mnuUpload_Click(r.link, store));
    QCOMPARE(r.port.openCount(), 0);
    QVERIFY_PROMPTS(r.prompter);
}

void TestLink::lineErrors()
{
    Rig r;
    r.link.ReSync();
    QVERIFY(r.port.isOpen());
    const QString title = QStringLiteral("Communications Error");
    r.prompter.expectBox(QStringLiteral("Framing error."), title, PromptButtons::RetryCancel, PromptIcon::Critical,
                         PromptAnswer::Retry)
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
    QCOMPARE(r.state.CommErrorCount, 3);
    QVERIFY_PROMPTS(r.prompter);

    // Cancel closes the port.
    Rig c;
    c.link.ReSync();
    c.prompter.expect(QStringLiteral("Receive buffer overflow."), title, PromptAnswer::Cancel);
    c.port.raiseLineError(LineError::RxOverflow);
    QVERIFY(!c.port.isOpen());
    QVERIFY_PROMPTS(c.prompter);
}

void TestLink::progressValues_data()
{
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("percent");
    QTest::newRow("first") << 16 << 11;
    QTest::newRow("100") << 100 << 70;
    QTest::newRow("142") << 142 << 99;
    QTest::newRow("143") << 143 << 100;
    QTest::newRow("last") << 159 << 100;
}

void TestLink::progressValues()
{
    QFETCH(int, address);
    QFETCH(int, percent);
    QCOMPARE(transferProgress(address), percent);
}

void TestLink::readBlock()
{
    Rig r;
    for (int a = 0; a < emu::kEepromSize; ++a)
        r.controller.eeprom()[a] = uint8_t(a * 7 + 1);
    ImageBuffer image;
    image.EEPROMBuffer.fill(0x55);
    r.link.ReadEEPROMData(image);
    QVERIFY(r.state.LinkOK);
    QVERIFY(!image.BufferEmpty);
    QCOMPARE(image.configBlock(), r.controller.configBlock());
    for (int a : {0, 15, 160, 511})
        QCOMPARE(image.EEPROMBuffer[a], uint8_t(0));
    QCOMPARE(r.view.values.size(), 144);
    QCOMPARE(r.view.values.first(), 11);
    QCOMPARE(r.view.values.at(100 - 16), 70);
    QCOMPARE(r.view.values.last(), 100);
    QCOMPARE(r.view.events, QStringList({QStringLiteral("show:Reading EEPROM"), QStringLiteral("hide")}));
    QVERIFY(!r.port.isOpen());
}

void TestLink::readBlockFailures_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("userAbort");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<int>("bytesRead");

    QTest::newRow("address NAK") << "nak-address" << false << QString() << 0;
    QTest::newRow("address silent") << "mute-address" << false << kTimeout << 0;
    QTest::newRow("read silent at 40") << "mute-read:40" << false << kTimeout << 25;
    QTest::newRow("Esc before start") << QString() << true << QString() << 1;
    QTest::newRow("line drops") << "disconnect:30" << false << kTimeout << 27;
}

void TestLink::readBlockFailures()
{
    QFETCH(QString, mode);
    QFETCH(bool, userAbort);
    QFETCH(QString, prompt);
    QFETCH(int, bytesRead);
    Rig r;
    if (!mode.isEmpty())
        r.fail(mode);
    r.state.UserAbort = userAbort;
    if (!prompt.isEmpty())
        r.prompter.expectError(prompt, PromptAnswer::Abort);
    ImageBuffer image;
    r.link.ReadEEPROMData(image);
    QVERIFY(!r.state.LinkOK);
    QVERIFY(!r.state.UserAbort);
    QVERIFY(image.BufferEmpty);
    QVERIFY(!r.view.progressVisible);  // hidden at every end, also when the address failed
    QVERIFY(!r.port.isOpen());
    QCOMPARE(r.port.written().count(char(0x15)), bytesRead);
    QVERIFY_PROMPTS(r.prompter);
}

void TestLink::writeBlock()
{
    Rig r;
    ImageBuffer image;
    for (int a = 0; a < kImageSize; ++a)
        image.EEPROMBuffer[a] = uint8_t(255 - a);
    r.link.WriteEEPROMData(image);
    QVERIFY(r.state.LinkOK);
    QCOMPARE(r.state.VerifyErrors, 0);
    QCOMPARE(r.controller.configBlock(), image.configBlock());
    QCOMPARE(r.controller.eeprom()[15], uint8_t(0));   // outside the block: never sent
    QCOMPARE(r.controller.eeprom()[160], uint8_t(0));
    QCOMPARE(r.view.events, QStringList({QStringLiteral("show:Programming EEPROM"), QStringLiteral("hide"),
                                         QStringLiteral("show:Verifying EEPROM"), QStringLiteral("hide")}));
    QVERIFY(!r.port.isOpen());
}

void TestLink::writeBlockFailures_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<bool>("linkOK");
    QTest::addColumn<int>("verifyErrors");
    QTest::addColumn<int>("programmedUpTo");  // last address holding the new byte

    QTest::newRow("write NAK at 40") << "nak-write:40" << QString() << false << 0 << 39;
    QTest::newRow("write silent at 40") << "mute-write:40" << kTimeout << false << 0 << 39;
    QTest::newRow("address NAK") << "nak-address" << QString() << false << 0 << 15;
    QTest::newRow("one byte differs") << "mismatch:40" << QString() << true << 1 << 159;
    QTest::newRow("verify read silent") << "mute-read:100" << kTimeout << true << 2 << 159;
}

void TestLink::writeBlockFailures()
{
    QFETCH(QString, mode);
    QFETCH(QString, prompt);
    QFETCH(bool, linkOK);
    QFETCH(int, verifyErrors);
    QFETCH(int, programmedUpTo);
    Rig r;
    r.fail(mode);
    if (!prompt.isEmpty())
        r.prompter.expectError(prompt, PromptAnswer::Abort);
    ImageBuffer image;
    image.EEPROMBuffer.fill(0xAB);
    r.link.WriteEEPROMData(image);
    QCOMPARE(r.state.LinkOK, linkOK);
    if (linkOK)
        QCOMPARE(r.state.VerifyErrors, verifyErrors);
    for (int a = kConfigFirst; a <= kConfigLast; ++a)
        QCOMPARE(r.controller.eeprom()[a], uint8_t(a <= programmedUpTo ? 0xAB : 0));
    QVERIFY(!r.view.progressVisible);
    QVERIFY(!r.port.isOpen());
    QVERIFY_PROMPTS(r.prompter);
}

// --- workflows ---------------------------------------------------------------

void TestLink::download_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QStringList>("shown");  // "title: text"
    QTest::addColumn<bool>("ok");

    auto dl = [](const QString& t) { return kDl + QStringLiteral(": ") + t; };
    auto err = [](const QString& t) { return QStringLiteral("Error: ") + t; };
    const QString fw = dl(QStringLiteral("Firmware ID: Revora Shift Light v1.0"));
    QTest::newRow("complete") << QString() << QStringList{fw} << true;
    QTest::newRow("other product downloads") << "firmware-unknown"
                                             << QStringList{dl("Firmware ID: Revora Tach Adapter v2.1")} << true;
    QTest::newRow("not connected") << "silent" << QStringList{dl(kNoLink)} << false;
    QTest::newRow("armed") << "armed" << QStringList{dl("Cannot download while controller is armed.")} << false;
    QTest::newRow("status unanswered") << "disconnect:2" << QStringList{err(kTimeout)} << false;
    QTest::newRow("firmware without CR")
        << "firmware-no-cr" << QStringList{err(kTimeout), dl("Firmware ID read failed - cannot download.")} << false;
    QTest::newRow("firmware CR only") << "firmware-empty" << QStringList{dl("Invalid firmware ID - cannot download.")}
                                      << false;
    QTest::newRow("address NAK") << "nak-address" << QStringList{fw, dl("Download failed.")} << false;
    QTest::newRow("read silent") << "mute-read:90" << QStringList{fw, err(kTimeout), dl("Download failed.")} << false;
    QTest::newRow("line drops") << "disconnect:60" << QStringList{fw, err(kTimeout), dl("Download failed.")} << false;
}

void TestLink::download()
{
    QFETCH(QString, mode);
    QFETCH(QStringList, shown);
    QFETCH(bool, ok);
    Rig r;
    r.controller.setConfigBlock(factoryConfigBlock());
    if (!mode.isEmpty())
        r.fail(mode);
    r.prompter.setLenient(true);
    for (const QString& s : shown) {
        const int colon = s.indexOf(QStringLiteral(": "));
        r.prompter.expect(s.mid(colon + 2), s.left(colon), PromptAnswer::Abort);
    }
    ParameterStore store;
    store.MainCaption = QStringLiteral("Revora Shift Version 1.0");
    ParameterSet before;
    before.VSSFreq = 1234;
    store.params = before;

    QCOMPARE(mnuDownload_Click(r.link, store), ok);
    QCOMPARE(r.prompter.shown(), shown);
    QVERIFY(!r.port.isOpen());
    QVERIFY(!r.view.progressVisible);
    if (ok) {
        QVERIFY(!store.image.BufferEmpty);
        QCOMPARE(store.image.configBlock(), factoryConfigBlock());
        ParameterSet expected;
        QVERIFY(UpdateParams(store.image, expected));
        QVERIFY(store.params == expected);
        QCOMPARE(r.view.caption, QStringLiteral("Revora Shift Version 1.0 - Downloaded Data"));
        QVERIFY(r.view.framesVisible);
    } else {
        QVERIFY(store.image.BufferEmpty);
        QVERIFY(store.image.configBlock() == QByteArray(kConfigSize, '\0'));
        QVERIFY(store.params == before);
        QCOMPARE(r.view.caption, QStringLiteral("Revora Shift Version 1.0 - Data Buffer Empty"));
        QVERIFY(!r.view.framesVisible);
    }
    QCOMPARE(store.DataSourceName, QStringLiteral("Data Buffer Empty"));
}

void TestLink::downloadAsksBeforeOverwriting()
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

void TestLink::downloadOfUndecodableImageLeavesNothing()
{
    Rig r;
    r.controller.setConfigBlock(factoryConfigBlock());
    r.controller.eeprom()[18] = 0x80;  // VSSFreq's high byte: no 16-bit signed value
    ParameterStore store;
    const ParameterSet before = store.params;
    r.prompter.expect(QStringLiteral("Firmware ID: Revora Shift Light v1.0"), kDl);
    r.prompter.expect(QString(), kDl);
    QVERIFY(!mnuDownload_Click(r.link, store));
    QVERIFY_PROMPTS(r.prompter);
    QVERIFY(r.prompter.shown().last().contains(QStringLiteral("Download failed.\n")));
    QVERIFY(r.prompter.shown().last().contains(QStringLiteral("VSSFreq")));
    QVERIFY(store.image.BufferEmpty);
    QVERIFY(store.image.configBlock() == QByteArray(kConfigSize, '\0'));
    QVERIFY(store.params == before);
    QVERIFY(!r.view.framesVisible);
}

void TestLink::upload_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("programmed");
    QTest::addColumn<int>("resets");

    auto ul = [](const QString& t) { return kUl + QStringLiteral(": ") + t; };
    auto err = [](const QString& t) { return QStringLiteral("Error: ") + t; };
    QTest::newRow("complete") << QString() << QStringList{ul("Upload completed.")} << true << true << 1;
    QTest::newRow("reset answered 06 alone") << "reset-ack-only" << QStringList{ul("Upload completed.")} << true
                                             << true << 1;
    QTest::newRow("not connected") << "silent" << QStringList{ul(kNoLink)} << false << false << 0;
    QTest::newRow("armed") << "armed" << QStringList{ul("Cannot upload while controller is armed.")} << false
                           << false << 0;
    QTest::newRow("firmware without CR")
        << "firmware-no-cr" << QStringList{err(kTimeout), ul("Firmware ID read failed - cannot upload.")} << false
        << false << 0;
    QTest::newRow("firmware CR only") << "firmware-empty" << QStringList{ul("Invalid firmware ID - cannot upload.")}
                                      << false << false << 0;
    QTest::newRow("other product") << "firmware-unknown"
                                   << QStringList{ul("Unknown product firmware ID - cannot upload.")} << false
                                   << false << 0;
    QTest::newRow("write NAK") << "nak-write:70" << QStringList{ul("Upload aborted - EEPROM programming failed.")}
                               << false << false << 0;
    QTest::newRow("write silent") << "mute-write:70"
                                  << QStringList{err(kTimeout), ul("Upload aborted - EEPROM programming failed.")}
                                  << false << false << 0;
    QTest::newRow("verify mismatch") << "mismatch:40"
                                     << QStringList{ul("Upload aborted - EEPROM verification failed.")} << false
                                     << true << 0;
    QTest::newRow("reset NAK") << "reset-nak" << QStringList{ul("Upload aborted - Reset Shift Light Controller failed")}
                               << false << true << 0;
    QTest::newRow("reset silent") << "reset-silent"
                                  << QStringList{err(kComTimeout),
                                                 ul("Upload aborted - Reset Shift Light Controller failed")}
                                  << false << true << 0;
}

void TestLink::upload()
{
    QFETCH(QString, mode);
    QFETCH(QStringList, shown);
    QFETCH(bool, ok);
    QFETCH(bool, programmed);
    QFETCH(int, resets);
    Rig r;
    if (!mode.isEmpty())
        r.fail(mode);
    r.prompter.setLenient(true);
    for (const QString& s : shown) {
        const int colon = s.indexOf(QStringLiteral(": "));
        r.prompter.expect(s.mid(colon + 2), s.left(colon), PromptAnswer::Abort);
    }
    ParameterStore store;
    loadDefaults(store);
    store.params.LaunchRPM = 4321;  // an edit since the data was loaded
    ImageBuffer expected = store.image;
    ParameterSet p = store.params;
    QVERIFY(UpdateEEPROM(p, expected));

    QCOMPARE(mnuUpload_Click(r.link, store), ok);
    QCOMPARE(r.prompter.shown(), shown);
    QCOMPARE(r.controller.configBlock() == expected.configBlock(), programmed);
    QCOMPARE(r.controller.resetCount(), resets);
    QVERIFY(!r.port.isOpen());
    QVERIFY(!r.view.progressVisible);
    QVERIFY(!store.image.BufferEmpty);
}

void TestLink::uploadWithoutDataSendsNothing()
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

void TestLink::escDuringVerifyFailsTheUpload()
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

QTEST_GUILESS_MAIN(TestLink)
#include "tst_link.moc"
