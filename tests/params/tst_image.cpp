// The image codec, data files and factory defaults: what reaches the controller
// and the disk, byte for byte.
#include "params/codec.h"
#include "params/datafile.h"
#include "params/defaults.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The factory image, offsets 16 to 122 (gaps zero), then 32 spaces of user text.
QByteArray defaultBlock()
{
    QByteArray b(kConfigSize, '\0');
    auto put = [&](int offset, std::initializer_list<int> bytes) {
        for (int v : bytes)
            b[offset++ - kConfigFirst] = char(v);
    };
    put(16, {1, 150, 0, 6, 29, 44, 235, 10, 255, 0, 0, 255, 0, 0, 255, 15, 184, 11});
    for (int g = 0; g < 5; ++g)
        put(34 + 2 * g, {112, 23});
    put(44, {25, 50, 75, 100, 125, 244, 1, 244, 1});
    put(64, {60, 120, 214, 224, 30, 225, 0, 0});
    put(80, {0, 225, 0, 255, 0});
    put(96, {0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 0});
    put(112, {0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 0});
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
    void defaults();
    void carriedOverFlagBits();
    void gpoForcedOffWithoutGearDetection();
    void userText_data();
    void userText();
    void encodeOverflowChangesNothing_data();
    void encodeOverflowChangesNothing();
    void decodeOverflowChangesNothing();
    void decodeAllZero();
    void decodeRefreshEffects_data();
    void decodeRefreshEffects();
    void decodeTpsPercents();
    void roundTripRandomImages();
    void files();
    void failedSaveKeepsOldFile();
    void captionName_data();
    void captionName();
};

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
    // Twice in a row: the same image and parameters.
    const auto first = store.image.EEPROMBuffer;
    const ParameterSet firstParams = store.params;
    loadDefaults(store);
    QVERIFY(store.image.EEPROMBuffer == first);
    QVERIFY(store.params == firstParams);
}

void TestImage::carriedOverFlagBits()
{
    ImageBuffer img = imageOf(defaultBlock());
    img.EEPROMBuffer[20] = 255;
    img.EEPROMBuffer[71] = 255;
    img.EEPROMBuffer[96] = 255;
    img.EEPROMBuffer[112] = 255;
    ParameterSet p;
    QVERIFY(UpdateParams(img, p));
    p.GPOEnable = p.LogArmed = p.AlarmVSSEnable = p.MultiStageShift = p.VSSGearDetect = false;
    p.GPOOneShotDelay = false;
    p.Alarm1Enable = p.Alarm1PressurePSI = true;
    p.Alarm2Enable = true;
    QVERIFY(UpdateEEPROM(p, img));
    QCOMPARE(img.EEPROMBuffer[20], uint8_t(224));  // bits 5-7 kept
    QCOMPARE(img.EEPROMBuffer[71], uint8_t(254));  // bits 1-7 kept
    QCOMPARE(img.EEPROMBuffer[96], uint8_t(3));    // rebuilt from scratch
    QCOMPARE(img.EEPROMBuffer[112], uint8_t(1));
}

void TestImage::gpoForcedOffWithoutGearDetection()
{
    ParameterSet p;
    assignDefaults(p);
    p.VSSGearDetect = false;
    ImageBuffer img;
    QVERIFY(UpdateEEPROM(p, img));
    QVERIFY(!p.GPOEnable);
    QCOMPARE(img.EEPROMBuffer[20] & 1, 0);
    // Single-stage mode keeps the GPO.
    assignDefaults(p);
    p.MultiStageShift = false;
    p.VSSGearDetect = false;
    QVERIFY(UpdateEEPROM(p, img));
    QVERIFY(p.GPOEnable);
    QCOMPARE(img.EEPROMBuffer[20] & 1, 1);
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
    img.EEPROMBuffer[128] = 65;
    img.EEPROMBuffer[129] = 66;
    img.EEPROMBuffer[130] = 9;
    img.EEPROMBuffer[131] = 67;
    for (int i = 132; i <= 159; ++i)
        img.EEPROMBuffer[i] = ' ';
    img.EEPROMBuffer[140] = 200;
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

void TestImage::decodeAllZero()
{
    ImageBuffer img;
    ParameterSet p;
    assignDefaults(p);
    QVERIFY(UpdateParams(img, p));
    ParameterSet zero;
    zero.UserData = QString();
    QVERIFY(p == zero);
}

void TestImage::decodeRefreshEffects_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<bool>("gearDetect");
    QTest::addColumn<bool>("gpo");
    QTest::addColumn<int>("saved");  // offset 20 after decoding and encoding again (open, then save)
    // bit 0 GPO, bit 2 VSS alarm, bit 3 multi-stage, bit 4 gear detection
    QTest::newRow("multi + gear: as stored") << (1 | 8 | 16) << true << true << (1 | 8 | 16);
    QTest::newRow("multi without gear: GPO off") << (1 | 8) << false << false << 8;
    QTest::newRow("single with gear: GPO kept") << (1 | 4 | 16) << false << true << (1 | 4);
    QTest::newRow("single without gear: GPO kept") << 1 << false << true << 1;
}

void TestImage::decodeRefreshEffects()
{
    QFETCH(int, flags);
    QFETCH(bool, gearDetect);
    QFETCH(bool, gpo);
    QFETCH(int, saved);
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

void TestImage::roundTripRandomImages()
{
    // Any image whose values fit and whose switches are consistent comes back
    // byte for byte, gaps and unused flag bits included.
    QRandomGenerator rng(20261206);
    for (int n = 0; n < 500; ++n) {
        ImageBuffer img;
        for (int i = 0; i < kImageSize; ++i)
            img.EEPROMBuffer[i] = uint8_t(rng.bounded(256));
        for (int off : {18, 33, 35, 37, 39, 41, 43, 50, 52})
            img.EEPROMBuffer[off] &= 0x7F;
        img.EEPROMBuffer[20] |= 8 | 16;  // multi-stage with gear detection: no forced changes
        img.EEPROMBuffer[96] &= 3;
        img.EEPROMBuffer[112] &= 1;
        for (int i = 128; i <= 159; ++i)
            img.EEPROMBuffer[i] = uint8_t(32 + rng.bounded(95));
        const auto before = img.EEPROMBuffer;
        ParameterSet p;
        QVERIFY(UpdateParams(img, p));
        QVERIFY(UpdateEEPROM(p, img));
        QVERIFY2(img.EEPROMBuffer == before, qPrintable(QStringLiteral("image %1").arg(n)));
    }
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
    QVERIFY(!r.ok && untouched.EEPROMBuffer == before);
    const datafile::Result missing = datafile::read(dir.filePath(QStringLiteral("nope.dat")), untouched);
    QVERIFY(!missing.ok && missing.error.contains(QStringLiteral("nope.dat")));
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
