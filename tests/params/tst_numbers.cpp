// Number rules, TPS calibration and alarm scaling at their edges.
#include "params/calibration.h"
#include "params/numbers.h"

#include <QtTest>
#include <limits>

using namespace numbers;
using namespace calibration;

class TestNumbers : public QObject {
    Q_OBJECT
private slots:
    void leadingNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("comma");  // reading stops at a decimal comma or thousands separator
        QTest::newRow("leading blanks") << "   42" << 42.0 << false;
        QTest::newRow("trailing words") << "4000 rpm" << 4000.0 << false;
        QTest::newRow("leading point") << ".5" << 0.5 << false;
        QTest::newRow("exponent") << "2E+10" << 2e10 << false;
        QTest::newRow("negative exponent") << "25e-1" << 2.5 << false;
        QTest::newRow("no hex") << "0x1A" << 0.0 << false;
        QTest::newRow("huge stays finite") << "-1e999" << -std::numeric_limits<double>::max() << false;
        QTest::newRow("huge from a small mantissa") << "0.000001e400" << std::numeric_limits<double>::max() << false;
        QTest::newRow("tiny reads as zero") << "123456e-999" << 0.0 << false;
        QTest::newRow("tiny with a huge exponent") << "1e-99999999999999999999" << 0.0 << false;
        QTest::newRow("sign without digits") << "-.e5" << 0.0 << false;
        QTest::newRow("bare exponent mark") << "4e" << 4.0 << false;
        QTest::newRow("decimal comma") << "1,5" << 1.0 << true;
        QTest::newRow("thousands separator") << "6,000" << 6.0 << true;
        QTest::newRow("comma first") << " -,9" << 0.0 << true;
        QTest::newRow("comma after the point") << "1.2,5" << 1.2 << true;
        QTest::newRow("comma after the exponent") << "1e2,5" << 100.0 << true;
        QTest::newRow("comma, then a blank") << "1, 5" << 1.0 << false;
        QTest::newRow("comma at the end") << "7," << 7.0 << false;
        QTest::newRow("comma after words") << "x,5" << 0.0 << false;
        QTest::newRow("a second point ends the number") << "1.2.3,4" << 1.2 << false;
    }

    void leadingNumber()
    {
        QFETCH(QString, text);
        QTEST(readLeadingNumber(text), "value");
        QTEST(stopsAtDecimalComma(text), "comma");
    }

    void format_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::newRow("negative half away") << -2.5 << "#0" << "-3";
        QTest::newRow("negative rounds to zero") << -0.04 << "0.0" << "0.0";
        QTest::newRow("two decimals half") << 0.125 << "0.00" << "0.13";
        QTest::newRow("decimal text, not binary") << 2.675 << "0.00" << "2.68";
        QTest::newRow("carry") << 9.995 << "0.00" << "10.00";
        QTest::newRow("optional decimal kept") << 5.25 << "0.#" << "5.3";
        QTest::newRow("no integer digit asked") << 0.5 << "#.#" << ".5";
        QTest::newRow("no integer digit asked, one there") << 12.25 << "#.#" << "12.3";
        QTest::newRow("pattern starts with the point") << 0.5 << ".0" << ".5";
    }

    void format()
    {
        QFETCH(double, value);
        QFETCH(QString, pattern);
        QTEST(numbers::format(value, pattern), "text");
    }

    void tpsCalibration_data()
    {
        QTest::addColumn<float>("percent");
        QTest::addColumn<int>("zero");
        QTest::addColumn<int>("full");
        QTest::addColumn<int>("count");
        // -64007 does not fit 16 bits: no count rather than a wrapped one.
        QTest::newRow("beyond 16 bits") << -25300.0f << 2 << 255 << -99999;
        QTest::newRow("lowest 16-bit count") << -100.0f << -1 << 32766 << -32768;
        QTest::newRow("highest 16-bit count") << 100.0f << 0 << 32767 << 32767;
        QTest::newRow("span beyond 16 bits") << 50.0f << -30000 << 30000 << -99999;
        // 31.5 in single precision rounds to even 32; the double sum, 31.4999..., would give 31.
        QTest::newRow("single-precision tie") << 70.0f << 0 << 45 << 32;
    }

    void tpsCalibration()
    {
        QFETCH(float, percent);
        QFETCH(int, zero);
        QFETCH(int, full);
        const std::optional<int16_t> c = PercentToTPSCount(percent, int16_t(zero), int16_t(full));
        QTEST(c ? int(*c) : -99999, "count");
    }

    void alarmScaling_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("input");
        QTest::addColumn<bool>("psi");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("unit");
        const struct {
            int count;
            const char* values[8];  // volts, AFR, 1bar psi, 1bar inHg, 2bar psi, 2bar inHg, 3bar psi, 3bar inHg
        } table[] = {
            {0, {"0.00", "10.0", "1.5", "3.1", "1.2", "2.4", "0.2", "0.3"}},
            {255, {"5.00", "20.0", "15.2", "30.9", "30.2", "61.4", "45.8", "93.2"}},
        };
        for (const auto& row : table) {
            QTest::addRow("%d volts", row.count) << row.count << 0 << false << QString::fromLatin1(row.values[0]) << "";
            QTest::addRow("%d AFR", row.count) << row.count << 1 << false << QString::fromLatin1(row.values[1]) << "AFR";
            QTest::addRow("%d other code", row.count) << row.count << 9 << true << QString::fromLatin1(row.values[0]) << "";
            for (int bar = 1; bar <= 3; ++bar) {
                QTest::addRow("%d MAP%d psi", row.count, bar)
                    << row.count << bar + 1 << true << QString::fromLatin1(row.values[2 * bar]) << "psi";
                QTest::addRow("%d MAP%d inHg", row.count, bar)
                    << row.count << bar + 1 << false << QString::fromLatin1(row.values[2 * bar + 1]) << "In-Hg";
            }
        }
    }

    void alarmScaling()
    {
        QFETCH(int, count);
        QFETCH(int, input);
        QFETCH(bool, psi);
        const float v = Alarm1Val(int16_t(count), uint8_t(input), psi);
        QTEST(numbers::format(v, QLatin1String(input % 9 == 0 ? "0.00" : "0.0")), "shown");
        QTEST(QString::fromLatin1(calibration::alarmUnitLabel(uint8_t(input), psi)), "unit");
        // Alarm 2 has the plain and wide-band inputs only: any other code reads volts.
        QCOMPARE(Alarm2Val(int16_t(count), uint8_t(input)), input == 1 ? v : Alarm1Val(int16_t(count), 0, false));
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
