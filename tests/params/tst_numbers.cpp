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
    // Reading stops at a decimal comma or thousands separator (comma true) and says so.
    void leadingNumber()
    {
        const double huge = -std::numeric_limits<double>::max();  // stays finite
        const struct { const char* text; double value; bool comma; } rows[] = {
            {"   42", 42, false}, {"4000 rpm", 4000, false}, {".5", 0.5, false}, {"2E+10", 2e10, false},
            {"25e-01", 2.5, false}, {"0x1A", 0, false}, {"-1e999", huge, false}, {"4e", 4, false},
            {"0.000001e400", -huge, false}, {"123456e-999", 0, false}, {"1e-99999999999999999999", 0, false},
            {"-.e5", 0, false},  // a huge exponent on a small mantissa, tiny values, a sign without digits
            {"1,5", 1, true}, {"6,000", 6, true}, {" -,9", 0, true}, {"1.2,5", 1.2, true}, {"1e2,5", 100, true},
            {"1, 5", 1, false}, {"7,", 7, false}, {"x,5", 0, false}, {"1.2.3,4", 1.2, false}};  // a second point ends it
        for (const auto& r : rows)
            QVERIFY2(readLeadingNumber(r.text) == r.value && stopsAtDecimalComma(r.text) == r.comma, r.text);
    }

    void format()
    {
        // Half away from zero on the decimal text, not the binary value; "#" asks for no digit.
        const struct { double value; const char *pattern, *text; } rows[] = {
            {-2.5, "#0", "-3"}, {-0.04, "0.0", "0.0"}, {0.125, "0.00", "0.13"}, {2.675, "0.00", "2.68"},
            {9.995, "0.00", "10.00"}, {5.25, "0.#", "5.3"}, {0.5, "#.#", ".5"}, {12.25, "#.#", "12.3"}, {0.5, ".0", ".5"}};
        for (const auto& r : rows)
            QCOMPARE(numbers::format(r.value, QLatin1String(r.pattern)), QLatin1String(r.text));
    }

    void tpsCalibration()
    {
        // -64007 does not fit 16 bits: no count, not a wrapped one. 31.5 in single precision rounds to even 32.
        const struct { float percent; int zero, full, count; } rows[] = {
            {-25300, 2, 255, -99999}, {-100, -1, 32766, -32768}, {100, 0, 32767, 32767}, {50, -30000, 30000, -99999},
            {70, 0, 45, 32}};
        for (const auto& r : rows) {
            const std::optional<int16_t> c = PercentToTPSCount(r.percent, int16_t(r.zero), int16_t(r.full));
            QCOMPARE(c ? int(*c) : -99999, r.count);
        }
    }

    // Counts 0 and 255 through each input: volts, AFR, an unknown code (volts), MAP 1 to 3 bar in psi and in inHg.
    void alarmScaling()
    {
        const struct { int input; bool psi; const char *unit, *at0, *at255; } rows[] = {
            {0, false, "", "0.00", "5.00"},     {1, false, "AFR", "10.0", "20.0"},    {9, true, "", "0.00", "5.00"},
            {2, true, "psi", "1.5", "15.2"},    {2, false, "In-Hg", "3.1", "30.9"},   {3, true, "psi", "1.2", "30.2"},
            {3, false, "In-Hg", "2.4", "61.4"}, {4, true, "psi", "0.2", "45.8"},      {4, false, "In-Hg", "0.3", "93.2"}};
        for (const auto& r : rows)
            for (const int count : {0, 255}) {
                const float v = Alarm1Val(int16_t(count), uint8_t(r.input), r.psi);
                QCOMPARE(numbers::format(v, QLatin1String(r.input % 9 == 0 ? "0.00" : "0.0")), count ? r.at255 : r.at0);
                QCOMPARE(calibration::alarmUnitLabel(uint8_t(r.input), r.psi), r.unit);
                // Alarm 2 has the plain and wide-band inputs only: any other code reads volts.
                QCOMPARE(Alarm2Val(int16_t(count), uint8_t(r.input)), r.input == 1 ? v : Alarm1Val(int16_t(count), 0, false));
            }
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
