// The image codec, data files and factory defaults: what reaches the controller and the disk, byte for byte.
#include "params/codec.h"
#include "params/datafile.h"
#include "params/defaults.h"
#include "params/switches.h"
#include "support/testfiles.h"

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
    return img.setConfigBlock(block), img.BufferEmpty = false, img;
}

const int kGaps[][2] = {{53, 63}, {72, 79}, {85, 95}, {107, 111}, {123, 127}};

}  // namespace

class TestImage : public QObject {
    Q_OBJECT
private slots:
    // Every parameter a value of its own, so any address, width or byte order mistake shows.
    void golden()
    {
        ParameterSet p;
        p.PulsePerRev = 24, p.VSSFreq = 2999, p.DataLogInterval = 62;
        p.OptionFlags = 0xFF;  // bits 5-7 carried over, bits 0-4 the switches' alone
        p.GPOEnable = p.LogArmed = p.MultiStageShift = p.VSSGearDetect = true;
        p.AlarmVSSEnable = false;
        p.TPSZero = 40, p.TPSFullscale = 230, p.RPMDebounce = 198;
        p.LaunchColor = 0x030201, p.ShiftColor = 0x060504, p.MaxLEDPWM = 250, p.MinLEDPWM = 13;
        p.LaunchRPM = 4001, p.ShiftRPM1 = 6101, p.ShiftRPM2 = 6202, p.ShiftRPM3 = 6303, p.ShiftRPM4 = 6404;
        p.ShiftRPM5 = 12790;  // a high byte that dividing by 255 would get wrong
        p.ShiftVSS1 = 21, p.ShiftVSS2 = 42, p.ShiftVSS3 = 63, p.ShiftVSS4 = 84, p.ShiftVSS5 = 106;
        p.ShortShiftRPM = 32767, p.ShiftDropRPM = 300;  // the largest two-byte value
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
        p.UserData = QStringLiteral("Golden 12~4");  // '~' the last printable
        // What decoding derives: percents of the 40..230 span, rounded half to even.
        p.GPOOffTPSPercent = 74, p.GPOOnTPSPercent = 79, p.Alarm1MinTPSPercent = 42, p.Alarm2MinTPSPercent = 43;

        QByteArray expected(kConfigSize, '\x77');  // the reserved gaps keep what the buffer held
        put(expected, 16, {24, 183, 11, 62, 0xFB, 40, 230, 198, 1, 2, 3, 4, 5, 6, 250, 13});
        put(expected, 32, {161, 15, 213, 23, 58, 24, 159, 24, 4, 25, 246, 49});
        put(expected, 44, {21, 42, 63, 84, 106, 255, 127, 44, 1});
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
        QCOMPARE(img.configBlock().toHex(' '), expected.toHex(' '));  // offset 16 is the first pair
        QVERIFY(img.EEPROMBuffer[kConfigFirst - 1] == 0x77 && img.EEPROMBuffer[kConfigLast + 1] == 0x77);

        // And back: the same parameters, the flag bytes as written.
        ParameterSet decoded;
        QVERIFY(UpdateParams(imageOf(expected), decoded));
        p.OptionFlags = 0xFB, p.GPOFlags = 0xF1, p.Alarm1Flags = 3, p.Alarm2Flags = 1;
        QVERIFY(encoded == p);
        p.UserData += QString(21, QLatin1Char(' '));
        QVERIFY(decoded == p);
    }

    void defaults()
    {
        // Loading defaults never clears the buffer first: gaps and outside bytes keep what they held.
        ParameterStore store;
        store.image.EEPROMBuffer.fill(0xA5);
        store.params.UserData = QStringLiteral("left over");
        store.params.OptionFlags = store.params.GPOFlags = 0xFF;  // bits the encoder carries over
        loadDefaults(store);
        QByteArray expected = defaultBlock();
        for (const auto& gap : kGaps)
            for (int i = gap[0]; i <= gap[1]; ++i)
                expected[i - kConfigFirst] = char(0xA5);
        QCOMPARE(store.image.configBlock(), expected);
        QVERIFY(!store.image.BufferEmpty);
        ParameterSet decoded;  // the parameters are what the image holds: no text decodes as its padding
        QVERIFY(UpdateParams(store.image, decoded) && decoded == store.params);
        QCOMPARE(store.params.UserData, QString(32, QLatin1Char(' ')));
    }

    // A value that does not fit is said, naming the parameter, and changes neither side (decoding: tst_link).
    void overflowChangesNothing()
    {
        ParameterSet defaults = defaultsStore().params;
        defaults.VSSGearDetect = false;  // would force the GPO off if encoding went ahead
        const struct { const char* field; int offset; void (*set)(ParameterSet&); } tooLarge[] = {
            {"LaunchRPM", 32, [](ParameterSet& p) { p.LaunchRPM = -1; }},
            {"Alarm2Delay", 119, [](ParameterSet& p) { p.Alarm2Delay = 300; }}};  // the last field
        for (const auto& c : tooLarge) {
            ParameterSet p = defaults;
            c.set(p);
            const ParameterSet before = p;
            ImageBuffer img;
            const auto bytes = img.EEPROMBuffer;
            const CodecResult r = UpdateEEPROM(p, img);
            QVERIFY2(!r.ok && r.parameter == c.field && r.offset == c.offset && r.message().contains(c.field), c.field);
            QVERIFY(img.EEPROMBuffer == bytes && p == before);
        }
    }

    // The switches follow from the image alone; the GPO reads as stored and is saved off where its input is
    // taken. Offset 20: bit 0 GPO, 2 VSS alarm, 3 multi-stage, 4 gear detection.
    void decodeRefreshEffects()
    {
        const struct { int flags; bool gearDetect, gpo, gpoEditor; int saved; } cases[] = {
            {1 | 8 | 16, true, true, true, 1 | 8 | 16},  // multi-stage with gear detection: as stored
            {1 | 8, false, true, false, 8},              // without it: read as stored, written off
            {1 | 4 | 16, false, true, true, 1 | 4}};     // single-stage: gear detection off, the GPO kept
        for (const auto& c : cases) {
            ImageBuffer img = imageOf(defaultBlock());
            img.EEPROMBuffer[20] = uint8_t(c.flags);
            for (bool start : {false, true}) {
                ParameterSet p;
                p.GPOEnable = p.VSSGearDetect = p.MultiStageShift = start;
                QVERIFY(UpdateParams(img, p));
                QVERIFY2(p.VSSGearDetect == c.gearDetect && p.GPOEnable == c.gpo &&
                             gpoEditorMayOpen(p) == c.gpoEditor && p.OptionFlags == c.flags,
                         qPrintable(QString::number(c.flags)));
                ImageBuffer again = img;
                QVERIFY(UpdateEEPROM(p, again));
                QCOMPARE(int(again.EEPROMBuffer[20]), c.saved);
            }
        }
    }

    // Gear detection that goes off with the multi-stage switch turns the GPO off (tst_mainwindow: 111 off).
    // Rows: multi-stage, gear detection and GPO before, the switch, the three after.
    void multiStageSwitch()
    {
        for (const char* row : {"001 1 100", "011 1 111", "101 0 001", "111 1 111"}) {
            ParameterSet p;
            p.MultiStageShift = row[0] == '1', p.VSSGearDetect = row[1] == '1', p.GPOEnable = row[2] == '1';
            switchMultiStage(p, row[4] == '1');
            QCOMPARE(QStringLiteral("%1%2%3").arg(p.MultiStageShift).arg(p.VSSGearDetect).arg(p.GPOEnable),
                     QLatin1String(row + 6));
        }
    }

    // Decoding derives throttle percents (the GPO's may fall below zero, an alarm's not) and drops unprintable
    // text bytes; an upload encodes over the loaded image, carried-over bytes and bits kept, arguments untouched.
    void decodeThenUpload()
    {
        QByteArray block = defaultBlock();
        put(block, 20, {0xE0 | 8 | 1});  // carried bits, multi-stage without gear detection, GPO on
        put(block, 60, {7});             // a reserved byte
        put(block, 66, {10});            // GPO off point below zero throttle
        put(block, 100, {10});           // alarm 1 minimum throttle below zero throttle
        put(block, 128, {'A', 0x1F, 'B'});
        put(block, 140, {127});
        ParameterSet p;
        QVERIFY(UpdateParams(imageOf(block), p));
        QVERIFY(p.GPOEnable && p.GPOOffTPSPercent == -18.0f && p.Alarm1MinTPSPercent == 0.0f);
        QCOMPARE(p.UserData, QStringLiteral("AB") + QString(28, QLatin1Char(' ')));
        const UploadImage up = ::imageToUpload(p, imageOf(block));
        QByteArray expected = block;
        put(expected, 20, {0xE0 | 8});
        put(expected, 128, {'A', 'B', ' '});
        put(expected, 140, {' '});
        QVERIFY(up.result && !up.params.GPOEnable && up.params.OptionFlags == (0xE0 | 8));
        QCOMPARE(up.image.configBlock(), expected);
    }

    // A device that takes a few bytes at a time still gets the whole block, once; one that takes none fails
    // at once instead of waiting for ever.
    void writeAllTrickles()
    {
        struct Trickle : QIODevice {
            qint64 chunk = 2;
            QByteArray got;
            qint64 readData(char*, qint64) override { return -1; }
            qint64 writeData(const char* data, qint64 size) override
            {
                got.append(data, int(qMin(size, chunk)));
                return qMin(size, chunk);
            }
        } device;
        QVERIFY(device.open(QIODevice::WriteOnly));
        QVERIFY(datafile::writeAll(device, "12345"));
        QCOMPARE(device.got, QByteArray("12345"));
        device.chunk = 0;
        QVERIFY(!datafile::writeAll(device, "6"));
    }

    void files()
    {
        QTemporaryDir dir;
        ImageBuffer img = imageOf(defaultBlock());
        img.EEPROMBuffer[60] = 0x77;  // a reserved byte travels too
        const QString path = dir.filePath(QStringLiteral("car.dat"));
        QVERIFY(datafile::write(path, img).ok);
        QVERIFY(!datafile::writeBlock(path, QByteArray(10, 'x')).ok);  // a block of the wrong size is never written
        // A full disk (no file may grow past 100 bytes, which holds for root too) leaves the saved file whole.
        if (kCanFillDisk) {
            limitFileSize(100);
            const datafile::Result full = datafile::write(path, imageOf(defaultBlock()));
            limitFileSize(RLIM_INFINITY);
            QCOMPARE(full.error, "Cannot write " + path + ": File too large. The existing file was not changed.");
        }
        ImageBuffer back;
        QVERIFY(datafile::read(path, back).ok && back.BufferEmpty);  // reading alone does not mark it loaded
        QCOMPARE(back.configBlock(), img.configBlock());

        // A pipe would wait for ever, a device deliver bytes without end: refused at once, nothing taken.
#ifdef Q_OS_UNIX
        const QString fifo = dir.filePath(QStringLiteral("pipe.dat"));
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
#else
        const QString fifo = QStringLiteral("NUL");  // (CON, the console, does not open under Wine)
#endif
        ImageBuffer untouched;
        untouched.EEPROMBuffer.fill(7);
        const auto before = untouched.EEPROMBuffer;
        for (const QString& file : {fifo, dir.path()}) {
            const datafile::Result bad = datafile::read(file, untouched);
            QVERIFY2(bad.kind == datafile::ErrorKind::NotRegularFile && untouched.EEPROMBuffer == before, qPrintable(file));
            QVERIFY2(bad.error.contains(QDir::toNativeSeparators(file)), qPrintable(bad.error));
        }
        // Nor is a pipe or a device replaced by a file on saving.
        const datafile::Result overPipe = datafile::write(fifo, img);
        QVERIFY(overPipe.kind == datafile::ErrorKind::NotRegularFile &&
                overPipe.error.contains(QStringLiteral("not changed")));
        QVERIFY(!QFileInfo(fifo).isFile());
    }
};

QTEST_GUILESS_MAIN(TestImage)
#include "tst_image.moc"
