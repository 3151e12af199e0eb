// The image codec, data files and factory defaults: what reaches the controller
// and the disk, byte for byte.
#include "params/codec.h"
#include "params/datafile.h"
#include "params/defaults.h"
#include "params/layout.h"
#include "params/switches.h"

#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

namespace {

// Bytes from an image offset on, into a configuration block.
void put(QByteArray& block, int offset, std::initializer_list<int> bytes)
{
    for (int v : bytes)
        block[offset++ - kConfigFirst] = char(v);
}

// The factory image, offsets 16 to 122 (gaps zero), then 32 spaces of user text.
QByteArray defaultBlock()
{
    QByteArray b(kConfigSize, '\0');
    put(b, 16, {1, 150, 0, 6, 29, 44, 235, 10, 255, 0, 0, 255, 0, 0, 255, 15, 184, 11});
    for (int g = 0; g < 5; ++g)
        put(b, 34 + 2 * g, {112, 23});
    put(b, 44, {25, 50, 75, 100, 125, 244, 1, 244, 1});
    put(b, 64, {60, 120, 214, 224, 30, 225, 0, 0});
    put(b, 80, {0, 225, 0, 255, 0});
    put(b, 96, {0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 0});
    put(b, 112, {0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 0});
    for (int i = 128; i <= 159; ++i)
        b[i - kConfigFirst] = ' ';
    return b;
}

ImageBuffer imageOf(const QByteArray& block)
{
    ImageBuffer img;
    img.setConfigBlock(block);
    img.BufferEmpty = false;
    return img;
}

const int kGaps[][2] = {{53, 63}, {72, 79}, {85, 95}, {107, 111}, {123, 127}};

}  // namespace

class TestImage : public QObject {
    Q_OBJECT
private slots:
    void golden();
    void offsetNames();
    void defaults();
    void restoreDefaults_data();
    void restoreDefaults();
    void carriedOverFlagBits();
    void userText_data();
    void userText();
    void encodeOverflowChangesNothing_data();
    void encodeOverflowChangesNothing();
    void decodeOverflowChangesNothing();
    void decodeRefreshEffects_data();
    void decodeRefreshEffects();
    void decodeTpsPercents();
    void files();
    void failedSaveKeepsOldFile();
    void captionName_data();
    void captionName();
};

// Every parameter a value of its own, so that any address, width or byte order
// mistake shows; the expected bytes are written out by hand from the layout.
void TestImage::golden()
{
    ParameterSet p;
    p.PulsePerRev = 24, p.VSSFreq = 2999, p.DataLogInterval = 62;
    p.OptionFlags = 0xE0;  // bits 5-7 carried over
    p.GPOEnable = p.LogArmed = p.MultiStageShift = p.VSSGearDetect = true;
    p.AlarmVSSEnable = false;
    p.TPSZero = 40, p.TPSFullscale = 230, p.RPMDebounce = 198;
    p.LaunchColor = 0x030201, p.ShiftColor = 0x060504, p.MaxLEDPWM = 250, p.MinLEDPWM = 13;
    p.LaunchRPM = 4001, p.ShiftRPM1 = 6101, p.ShiftRPM2 = 6202, p.ShiftRPM3 = 6303, p.ShiftRPM4 = 6404;
    p.ShiftRPM5 = 12790;  // a high byte that dividing by 255 would get wrong
    p.ShiftVSS1 = 21, p.ShiftVSS2 = 42, p.ShiftVSS3 = 63, p.ShiftVSS4 = 84, p.ShiftVSS5 = 106;
    p.ShortShiftRPM = 700, p.ShiftDropRPM = 300;
    p.GPOMinRPM = 61, p.GPOMaxRPM = 119, p.GPOOffTPS = 180, p.GPOOnTPS = 190;
    p.GPOMinVSS = 31, p.GPOMaxVSS = 224, p.GPODelay = 7;
    p.GPOFlags = 0xF0;  // bits 1-7 carried over
    p.GPOOneShotDelay = true;
    p.AlarmVSSMin = 11, p.AlarmVSSMax = 222, p.AlarmVSSColor = 0x090807;
    p.Alarm1Flags = 0xFC;  // rebuilt from the Booleans alone
    p.Alarm1Enable = p.Alarm1PressurePSI = true;
    p.Alarm1Input = 3, p.Alarm1Above = 201, p.Alarm1Below = 17, p.Alarm1MinTPS = 120;
    p.Alarm1MinRPM = 45, p.Alarm1MinVSS = 55, p.Alarm1Delay = 65, p.Alarm1Color = 0x0C0B0A;
    p.Alarm2Flags = 0xFE;
    p.Alarm2Enable = true;
    p.Alarm2Input = 1, p.Alarm2Above = 202, p.Alarm2Below = 18, p.Alarm2MinTPS = 121;
    p.Alarm2MinRPM = 46, p.Alarm2MinVSS = 56, p.Alarm2Delay = 66, p.Alarm2Color = 0x0F0E0D;
    p.UserData = QStringLiteral("Golden 12~4") + QString(21, QLatin1Char(' '));  // '~' the last printable
    // What decoding derives: percents of the 40..230 span, rounded half to even.
    p.GPOOffTPSPercent = 74, p.GPOOnTPSPercent = 79, p.Alarm1MinTPSPercent = 42, p.Alarm2MinTPSPercent = 43;

    QByteArray expected(kConfigSize, '\x77');  // the reserved gaps keep what the buffer held
    put(expected, 16, {24, 183, 11, 62, 0xFB, 40, 230, 198, 1, 2, 3, 4, 5, 6, 250, 13});
    put(expected, 32, {161, 15, 213, 23, 58, 24, 159, 24, 4, 25, 246, 49});
    put(expected, 44, {21, 42, 63, 84, 106, 188, 2, 44, 1});
    put(expected, 64, {61, 119, 180, 190, 31, 224, 7, 0xF1});
    put(expected, 80, {11, 222, 7, 8, 9});
    put(expected, 96, {3, 3, 201, 17, 120, 45, 55, 65, 10, 11, 12});
    put(expected, 112, {1, 1, 202, 18, 121, 46, 56, 66, 13, 14, 15});
    put(expected, 128, {'G', 'o', 'l', 'd', 'e', 'n', ' ', '1', '2', '~', '4'});
    for (int i = 139; i <= 159; ++i)
        expected[i - kConfigFirst] = ' ';

    ImageBuffer img;
    img.EEPROMBuffer.fill(0x77);
    ParameterSet encoded = p;
    QVERIFY(UpdateEEPROM(encoded, img));
    const QByteArray block = img.configBlock();
    for (int i = 0; i < kConfigSize; ++i)
        QVERIFY2(block[i] == expected[i], qPrintable(QStringLiteral("offset %1: %2, expected %3")
                                                         .arg(i + kConfigFirst)
                                                         .arg(uint8_t(block[i]))
                                                         .arg(uint8_t(expected[i]))));
    QCOMPARE(img.EEPROMBuffer[kConfigFirst - 1], uint8_t(0x77));
    QCOMPARE(img.EEPROMBuffer[kConfigLast + 1], uint8_t(0x77));

    // And back: the same parameters, the flag bytes as written.
    ParameterSet decoded;
    QVERIFY(UpdateParams(imageOf(expected), decoded));
    p.OptionFlags = 0xFB, p.GPOFlags = 0xF1, p.Alarm1Flags = 3, p.Alarm2Flags = 1;
    QVERIFY(decoded == p);
    QVERIFY(encoded == p);
}

// What the command line names a byte by, at the edges of the values.
void TestImage::offsetNames()
{
    const QList<QPair<int, QString>> names = {{16, "PulsePerRev"}, {18, "VSSFreq"},    {26, "LaunchColor"},
                                              {27, "ShiftColor"},  {52, "ShiftDropRPM"}, {53, "reserved"},
                                              {122, "Alarm2Color"}, {123, "reserved"}, {128, "UserData"},
                                              {159, "UserData"},   {160, "reserved"},  {15, "reserved"}};
    for (const auto& [offset, name] : names)
        QCOMPARE(layout::nameAt(offset), name);
}

void TestImage::defaults()
{
    // Loading defaults never clears the buffer first: gaps and outside bytes keep what they held.
    ParameterStore store;
    store.image.EEPROMBuffer.fill(0xA5);
    store.params.UserData = QStringLiteral("left over");
    loadDefaults(store);
    QByteArray expected = defaultBlock();
    for (const auto& gap : kGaps)
        for (int i = gap[0]; i <= gap[1]; ++i)
            expected[i - kConfigFirst] = char(0xA5);
    QCOMPARE(store.image.configBlock(), expected);
    QCOMPARE(store.image.EEPROMBuffer[0], uint8_t(0xA5));
    QCOMPARE(store.image.EEPROMBuffer[300], uint8_t(0xA5));
    QVERIFY(!store.image.BufferEmpty);
    QCOMPARE(store.DataSourceName, QStringLiteral("Default Values"));
    QCOMPARE(store.params.OptionFlags, uint8_t(29));
    QCOMPARE(store.params.GPOOffTPSPercent, 89.0f);
    QCOMPARE(store.params.GPOOnTPSPercent, 94.0f);
    QCOMPARE(store.params.UserData, QString(32, QLatin1Char(' ')));  // no text: the padding decodes back
}

// Each dialog's Restore Defaults: its own parameters to the factory values, nothing else.
void TestImage::restoreDefaults_data()
{
    QTest::addColumn<int>("dialog");
    QTest::newRow("alarms") << 0;
    QTest::newRow("GPO") << 1;
    QTest::newRow("VSS alarm") << 2;
}

void TestImage::restoreDefaults()
{
    QFETCH(int, dialog);
    ParameterSet before;
    QVERIFY(UpdateParams(imageOf(QByteArray(kConfigSize, '\x21')), before));
    before.TPSZero = 26;
    before.TPSFullscale = 230;
    ParameterSet p = before, expected = before;
    if (dialog == 0) {
        restoreAlarmDefaults(p);
        expected.Alarm1Enable = expected.Alarm2Enable = false;
        expected.Alarm1Color = expected.Alarm2Color = 65535;
        expected.Alarm1PressurePSI = true;  // the dialog's own choice, unlike a fresh load
        expected.Alarm1Above = expected.Alarm2Above = 255;
        expected.Alarm1Input = expected.Alarm2Input = expected.Alarm1Below = expected.Alarm2Below = 0;
        expected.Alarm1MinTPS = expected.Alarm2MinTPS = expected.Alarm1MinRPM = expected.Alarm2MinRPM = 0;
        expected.Alarm1MinTPSPercent = expected.Alarm2MinTPSPercent = 0;
        expected.Alarm1MinVSS = expected.Alarm2MinVSS = expected.Alarm1Delay = expected.Alarm2Delay = 0;
    } else if (dialog == 1) {
        restoreGpoDefaults(p);
        expected.GPOEnable = true, expected.GPOOneShotDelay = false;
        expected.GPOMinRPM = 60, expected.GPOMaxRPM = 120, expected.GPOOffTPS = 214, expected.GPOOnTPS = 224;
        expected.GPOMinVSS = 30, expected.GPOMaxVSS = 225, expected.GPODelay = 0;
        expected.GPOOffTPSPercent = 92, expected.GPOOnTPSPercent = 97;  // against the calibration held now, 26..230
    } else {
        restoreVssAlarmDefaults(p);
        expected.AlarmVSSEnable = true, expected.AlarmVSSColor = 65280;
        expected.AlarmVSSMin = 0, expected.AlarmVSSMax = 225;
    }
    QVERIFY(p == expected);
}

void TestImage::carriedOverFlagBits()
{
    ImageBuffer img = imageOf(defaultBlock());
    for (int o : {20, 71, 96, 112})
        img.EEPROMBuffer[o] = 255;
    ParameterSet p;
    QVERIFY(UpdateParams(img, p));
    p.GPOEnable = p.LogArmed = p.AlarmVSSEnable = p.MultiStageShift = p.VSSGearDetect = p.GPOOneShotDelay = false;
    p.Alarm1Enable = p.Alarm1PressurePSI = p.Alarm2Enable = true;
    QVERIFY(UpdateEEPROM(p, img));
    QCOMPARE(img.EEPROMBuffer[20], uint8_t(224));  // bits 5-7 kept
    QCOMPARE(img.EEPROMBuffer[71], uint8_t(254));  // bits 1-7 kept
    QCOMPARE(img.EEPROMBuffer[96], uint8_t(3));    // rebuilt from scratch
    QCOMPARE(img.EEPROMBuffer[112], uint8_t(1));
}

void TestImage::userText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QString() << QByteArray(32, ' ');
    QTest::newRow("short") << "Car 7" << QByteArray("Car 7").append(QByteArray(27, ' '));
    QTest::newRow("exactly 32") << QString(32, QLatin1Char('x')) << QByteArray(32, 'x');
    QTest::newRow("40 keeps first 32") << QString(32, QLatin1Char('a')) + QString(8, QLatin1Char('b'))
                                       << QByteArray(32, 'a');
}

void TestImage::userText()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    ParameterSet p;
    assignDefaults(p);
    p.UserData = text;
    ImageBuffer img;
    QVERIFY(UpdateEEPROM(p, img));
    QCOMPARE(img.configBlock().mid(128 - kConfigFirst), bytes);

    // Decoding drops unprintable bytes without replacing them.
    const QByteArray stored = QByteArray("AB\x1f" "C").append(QByteArray(28, ' '));
    for (int i = 0; i < 32; ++i)
        img.EEPROMBuffer[128 + i] = uint8_t(i == 12 ? 127 : stored[i]);
    ParameterSet q;
    QVERIFY(UpdateParams(img, q));
    QCOMPARE(q.UserData, QStringLiteral("ABC") + QString(27, QLatin1Char(' ')));
}

void TestImage::encodeOverflowChangesNothing_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("offset");
    QTest::newRow("negative two-byte") << "LaunchRPM" << 32;
    QTest::newRow("one byte above 255") << "GPOOnTPS" << 67;
    QTest::newRow("last field") << "Alarm2Delay" << 119;
}

void TestImage::encodeOverflowChangesNothing()
{
    QFETCH(QString, field);
    QFETCH(int, offset);
    ParameterSet p;
    assignDefaults(p);
    p.VSSGearDetect = false;  // would force the GPO off if encoding went ahead
    if (field == QLatin1String("LaunchRPM"))
        p.LaunchRPM = -1;
    else if (field == QLatin1String("GPOOnTPS"))
        p.GPOOnTPS = 256;
    else
        p.Alarm2Delay = 300;
    ImageBuffer img;
    img.EEPROMBuffer.fill(0x5A);
    const auto before = img.EEPROMBuffer;
    const ParameterSet pBefore = p;
    const CodecResult r = UpdateEEPROM(p, img);
    QVERIFY(!r.ok);
    QCOMPARE(r.parameter, field);
    QCOMPARE(r.offset, offset);
    QVERIFY(r.message().contains(field));
    QVERIFY(img.EEPROMBuffer == before);
    QVERIFY(p == pBefore);
}

void TestImage::decodeOverflowChangesNothing()
{
    ParameterSet p;
    assignDefaults(p);
    const ParameterSet before = p;
    // An erased controller reads as all 255: the first two-byte value does not fit.
    ImageBuffer erased;
    erased.EEPROMBuffer.fill(255);
    CodecResult r = UpdateParams(erased, p);
    QVERIFY(!r.ok);
    QCOMPARE(r.parameter, QStringLiteral("VSSFreq"));
    QCOMPARE(r.offset, 17);
    QVERIFY(p == before);

    // A late field too: nothing before it is taken either.
    ImageBuffer img = imageOf(defaultBlock());
    img.EEPROMBuffer[16] = 9;
    img.EEPROMBuffer[52] = 128;
    r = UpdateParams(img, p);
    QVERIFY(!r.ok);
    QCOMPARE(r.parameter, QStringLiteral("ShiftDropRPM"));
    QVERIFY(p == before);
    QVERIFY(!checkImage(img).ok);
    img.EEPROMBuffer[52] = 127;
    QVERIFY(UpdateParams(img, p).ok);
    QCOMPARE(p.ShiftDropRPM, int16_t(127 * 256 + 244));
}

void TestImage::decodeRefreshEffects_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<bool>("gearDetect");
    QTest::addColumn<bool>("gpo");
    QTest::addColumn<int>("saved");  // offset 20 after decoding and encoding again (open, then save)
    QTest::addColumn<bool>("gpoEditor");
    // bit 0 GPO, bit 2 VSS alarm, bit 3 multi-stage, bit 4 gear detection
    QTest::newRow("multi + gear: as stored") << (1 | 8 | 16) << true << true << (1 | 8 | 16) << true;
    QTest::newRow("multi without gear: GPO off") << (1 | 8) << false << false << 8 << false;
    QTest::newRow("single with gear: GPO kept") << (1 | 4 | 16) << false << true << (1 | 4) << true;
    QTest::newRow("single without gear: GPO kept") << 1 << false << true << 1 << true;
}

void TestImage::decodeRefreshEffects()
{
    QFETCH(int, flags);
    QFETCH(bool, gearDetect);
    QFETCH(bool, gpo);
    QFETCH(int, saved);
    QFETCH(bool, gpoEditor);
    ImageBuffer img = imageOf(defaultBlock());
    img.EEPROMBuffer[20] = uint8_t(flags);
    // Whatever the window showed before must not matter.
    for (bool start : {false, true}) {
        ParameterSet p;
        p.GPOEnable = p.VSSGearDetect = p.MultiStageShift = start;
        QVERIFY(UpdateParams(img, p));
        QCOMPARE(p.VSSGearDetect, gearDetect);
        QCOMPARE(p.GPOEnable, gpo);
        QCOMPARE(p.OptionFlags, uint8_t(flags));
        QCOMPARE(gpoEditorMayOpen(p), gpoEditor);
        ImageBuffer again = img;
        QVERIFY(UpdateEEPROM(p, again));
        QCOMPARE(int(again.EEPROMBuffer[20]), saved);
    }
}

void TestImage::decodeTpsPercents()
{
    ImageBuffer img = imageOf(defaultBlock());
    img.EEPROMBuffer[66] = 10;   // GPO off point below zero throttle
    img.EEPROMBuffer[100] = 10;  // alarm 1 minimum throttle below zero throttle
    img.EEPROMBuffer[116] = 140;
    ParameterSet p;
    QVERIFY(UpdateParams(img, p));
    QCOMPARE(p.GPOOffTPSPercent, -18.0f);
    QCOMPARE(p.Alarm1MinTPSPercent, 0.0f);
    QCOMPARE(p.Alarm2MinTPSPercent, 50.0f);  // 96 x 100 / 191 = 50.26
    img.EEPROMBuffer[22] = 44;               // no span
    QVERIFY(UpdateParams(img, p));
    QCOMPARE(p.GPOOnTPSPercent, 0.0f);
    QCOMPARE(p.Alarm2MinTPSPercent, 0.0f);
}

void TestImage::files()
{
    QTemporaryDir dir;
    auto writeRaw = [&](const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return f.fileName();
    };
    ImageBuffer img = imageOf(defaultBlock());
    img.EEPROMBuffer[60] = 0x77;  // a reserved byte travels too
    img.EEPROMBuffer[20] = 0xFF;
    const QString path = dir.filePath(QStringLiteral("car.dat"));
    QVERIFY(datafile::write(path, img).ok);
    QCOMPARE(QFileInfo(path).size(), 144);
    ImageBuffer back;
    QVERIFY(datafile::read(path, back).ok);
    QCOMPARE(back.configBlock(), img.configBlock());
    QVERIFY(back.BufferEmpty);  // reading alone does not mark the buffer loaded

    // A longer file gives its first 144 bytes; a shorter one is refused and changes nothing.
    ImageBuffer longer;
    QVERIFY(datafile::read(writeRaw(QStringLiteral("long.dat"), defaultBlock() + QByteArray(56, '\x99')), longer).ok);
    QCOMPARE(longer.configBlock(), defaultBlock());
    QCOMPARE(longer.EEPROMBuffer[160], uint8_t(0));
    ImageBuffer untouched;
    untouched.EEPROMBuffer.fill(7);
    const auto before = untouched.EEPROMBuffer;
    const datafile::Result r = datafile::read(writeRaw(QStringLiteral("short.dat"), defaultBlock().left(100)), untouched);
    QCOMPARE(r.error, QStringLiteral("Error - reached premature end-of-file"));
    QVERIFY(r.kind == datafile::ErrorKind::ShortFile && untouched.EEPROMBuffer == before);

    // What is not a regular file is refused at once (a pipe without a writer would wait
    // for ever, a device could deliver bytes without end); a missing file cannot be opened.
    const QString fifo = dir.filePath(QStringLiteral("pipe.dat"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString link = dir.filePath(QStringLiteral("zero.dat"));
    QVERIFY(QFile::link(QStringLiteral("/dev/zero"), link));
    const struct {
        QString path;
        datafile::ErrorKind kind;
    } refused[] = {{fifo, datafile::ErrorKind::NotRegularFile},
                   {link, datafile::ErrorKind::NotRegularFile},
                   {dir.path(), datafile::ErrorKind::NotRegularFile},
                   {dir.filePath(QStringLiteral("nope.dat")), datafile::ErrorKind::CannotOpen}};
    for (const auto& f : refused) {
        const datafile::Result bad = datafile::read(f.path, untouched);
        QVERIFY2(!bad.ok && bad.kind == f.kind && bad.error.contains(f.path), qPrintable(bad.error));
        QVERIFY(untouched.EEPROMBuffer == before);
    }
    // Nor is a pipe replaced by a file on saving.
    const datafile::Result overPipe = datafile::write(fifo, img);
    QVERIFY(overPipe.kind == datafile::ErrorKind::NotRegularFile && QFileInfo(fifo).isFile() == false);
}

void TestImage::failedSaveKeepsOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("keep.dat"));
    const QByteArray old = defaultBlock();
    QVERIFY(datafile::writeBlock(path, old).ok);
    // A folder where the file should go cannot be written; the file beside it stays.
    const QString blocked = dir.filePath(QStringLiteral("sub"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    const datafile::Result r = datafile::writeBlock(blocked, old);
    QVERIFY(!r.ok);
    QVERIFY(r.error.contains(QStringLiteral("not changed")));
    // A block of the wrong size is never written.
    QVERIFY(!datafile::writeBlock(path, QByteArray(10, 'x')).ok);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), old);
}

void TestImage::captionName_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::newRow("unix path") << "/home/me/cars/race.dat" << "race.dat";
    QTest::newRow("windows path") << "C:\\cars\\race.dat" << "race.dat";
    QTest::newRow("bare") << "race.dat" << "race.dat";
    QTest::newRow("at the root") << "/race.dat" << "race.dat";
    const QString name45 = QStringLiteral("a").repeated(5) + QStringLiteral("0123456789").repeated(4);
    QTest::newRow("45 characters") << "/tmp/" + name45 << "..." + name45.right(40);
    QTest::newRow("exactly 40") << "/x/" + QString(40, QLatin1Char('b')) << QString(40, QLatin1Char('b'));
}

void TestImage::captionName()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QCOMPARE(datafile::captionName(path), name);
}

QTEST_GUILESS_MAIN(TestImage)
#include "tst_image.moc"
