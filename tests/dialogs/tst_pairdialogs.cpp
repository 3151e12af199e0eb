// The two editors with minimum/maximum pairs. GPO: the opening rule, fields and pair
// rules, Restore Defaults, the enable switch. VSS (speed) alarm: speeds and pair rule,
// Restore Defaults, switch, colour picker.
#include "dialogtesting.h"
#include "gpo/frmgpo.h"
#include "params/defaults.h"
#include "vss_alarm/frmalarmvss.h"

using namespace dialogtesting;

namespace {

const QStringList kFields =
    QString("txtGPOMinRPM txtGPOMaxRPM txtGPOOffTPS txtGPOOnTPS txtGPOMinVSS txtGPOMaxVSS txtGPODelay").split(' ');
const QStringList kSwitched = kFields + QStringList{"chkGPOOneShotDelay"};

// The seven fields as shown, then their stored counts, in the order of kFields.
QString result(QWidget* d, const ParameterSet& p)
{
    QStringList out;
    for (const QString& name : kFields)
        out << field(d, name)->text();
    return out.join(' ') + QStringLiteral(", %1 %2 %3 %4 %5 %6 %7").arg(p.GPOMinRPM).arg(p.GPOMaxRPM).arg(p.GPOOffTPS)
        .arg(p.GPOOnTPS).arg(p.GPOMinVSS).arg(p.GPOMaxVSS).arg(p.GPODelay);
}

// TPS calibration 44 to 235, GPO on, room on both sides of each pair.
ParameterSet factory()
{
    ParameterStore s;
    loadDefaults(s);
    return s.params;
}

const QStringList kVSSSwitched = {"cmdAlarmVSSColor", "txtAlarmVSSColor", "txtAlarmVSSMin", "txtAlarmVSSMax"};

// "min/max" as shown, then as stored; "swatch/stored" colour.
QString state(QWidget* d, const ParameterSet& p)
{
    return QStringLiteral("%1/%2, %3/%4, %5/%6").arg(field(d, "txtAlarmVSSMin")->text(), field(d, "txtAlarmVSSMax")->text())
        .arg(p.AlarmVSSMin).arg(p.AlarmVSSMax).arg(swatch(d, "txtAlarmVSSColor"), 0, 16).arg(p.AlarmVSSColor, 0, 16);
}

}  // namespace

class TestPairDialogs : public QObject {
    Q_OBJECT
private slots:
    void gpoOpeningRule();
    void gpoTypedValues_data();
    void gpoTypedValues();
    void gpoRestoreDefaults();
    void vssSpeedsThenAButton_data();
    void vssSpeedsThenAButton();
    void vssRestoreSwitchAndColour();
};

// Multi-stage shifting without gear detection needs the input, so the editor does
// not open; a gear flag left over from multi-stage does not matter.
void TestPairDialogs::gpoOpeningRule()
{
    const std::tuple<bool, bool, bool> cases[] = {{true, false, false}, {true, true, true}, {false, true, true}};
    for (const auto& [multiStage, gearDetect, opens] : cases) {
        ParameterSet p = factory();
        p.MultiStageShift = multiStage;
        p.VSSGearDetect = gearDetect;
        const ParameterSet before = p;
        ScriptedPrompter prompter;
        for (int i = 0; i < (opens ? 0 : 2); ++i)  // once for the check, once for open(), with no dialog between
            prompter.expectBox("GPO disabled. GPI required for selected multi-stage gear detection mode.",
                               "Edit GPO Parameters", PromptButtons::OK, PromptIcon::None, PromptAnswer::OK);
        QCOMPARE(frmGPO::canOpen(p, prompter), opens);
        QVERIFY(opens || (!frmGPO::open(p, prompter) && p == before));
        QVERIFY_PROMPTS(prompter);
    }
}

// OK or Restore Defaults clicked while typing: the value is checked first and, through
// the pair rules, sets the other of its pair. A delay of one tick shows as 0.05 s:
// typing that text stores what it says.
void TestPairDialogs::gpoTypedValues_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("then");     // the button clicked
    QTest::addColumn<QString>("message");  // "title: text"
    QTest::addColumn<QString>("result");   // shown, then stored
    QTest::newRow("off above, on follows") << "txtGPOOffTPS" << "97" << "cmdOK" << "Off TPS: Value must be less than or equal to 95%"
                                           << "6000 12000 95 95 30 225 0.05, 60 120 225 225 30 225 1";
    QTest::newRow("delay typed as shown") << "txtGPODelay" << "0.05" << "cmdOK" << ""
                                          << "6000 12000 89 94 30 225 0.05, 60 120 214 224 30 225 2";
    QTest::newRow("max below, then Restore Defaults") << "txtGPOMaxVSS" << "5" << "cmdRestoreDefaults"
                                                      << "Maximum VSS: Value must be greater than or equal to 10"
                                                      << "6000 12000 89 94 30 225 0.00, 60 120 214 224 30 225 0";
}

void TestPairDialogs::gpoTypedValues()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, then);
    QFETCH(QString, message);
    ParameterSet p = factory();
    p.GPODelay = 1;
    ScriptedPrompter prompter;
    expectWarning(prompter, message);
    if (then == "cmdRestoreDefaults")
        expectRestore(prompter, "GPO", true);
    frmGPO d(p, prompter);
    QVERIFY(showActive(&d));
    typeThenClick(&d, name, typed, then);
    QCOMPARE(d.isVisible(), then != "cmdOK");
    QTEST(result(&d, p), "result");
    QVERIFY_PROMPTS(prompter);
}

// Opening changes nothing; Restore Defaults keeps the calibration and takes the off/on percents
// from it (a flat one must not divide by zero); the enable switch then changes no value.
void TestPairDialogs::gpoRestoreDefaults()
{
    const QString factoryCounts = "60 120 214 224 30 225 0", kept = "10000 12000 89 94 30 100 3.20, 100 120 100 224 30 100 100";
    const std::tuple<bool, int, int, QString> cases[] = {{true, 44, 235, "6000 12000 89 94 30 225 0.00, " + factoryCounts},
                                                         {true, 100, 100, "6000 12000 0 0 30 225 0.00, " + factoryCounts},
                                                         {false, 44, 235, kept}};
    for (const auto& [ok, zero, fullscale, after] : cases) {
        ParameterSet p = factory();
        p.TPSZero = int16_t(zero);
        p.TPSFullscale = int16_t(fullscale);
        p.GPOEnable = false;
        p.GPOOneShotDelay = true;
        p.GPOMinRPM = p.GPOOffTPS = p.GPOMaxVSS = p.GPODelay = 100;
        const ParameterSet before = p;
        ScriptedPrompter prompter;
        expectRestore(prompter, "GPO", ok);
        frmGPO d(p, prompter);
        QVERIFY(p == before && !checked(&d, "chkGPOEnable") && checked(&d, "chkGPOOneShotDelay"));
        QCOMPARE(result(&d, p), kept);
        QCOMPARE(enabled(&d, kSwitched), QStringList());
        click(&d, "cmdRestoreDefaults");
        QVERIFY((ok || p == before) && p.TPSZero == zero && p.TPSFullscale == fullscale);
        QCOMPARE(result(&d, p), after);
        frmGPO fresh(p, prompter);  // shown exactly as a dialog opened on the result shows it
        QCOMPARE(snapshot(&d), snapshot(&fresh));
        click(&d, "chkGPOEnable");
        QCOMPARE(enabled(&d, kSwitched), ok ? QStringList() : kSwitched);
        QVERIFY(p.GPOEnable == !ok && p.GPOOneShotDelay == !ok);  // restored: on, one-shot off
        QCOMPARE(result(&d, p), after);
        QVERIFY_PROMPTS(prompter);
    }
}

// A value typed, then OK or Restore Defaults clicked: the field's message comes
// first. A stored speed the field would refuse is corrected when the field is left.
void TestPairDialogs::vssSpeedsThenAButton_data()
{
    QTest::addColumn<QString>("stored");  // min/max
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");   // null: passed through with Tab
    QTest::addColumn<QString>("then");    // the button clicked
    QTest::addColumn<QString>("message");  // "title: text"
    QTest::addColumn<QString>("state");
    QTest::newRow("min above, max follows") << "30/225" << "txtAlarmVSSMin" << "250" << "cmdOK"
                                            << "Minimum VSS: Value must be less than or equal to 245" << "245/245, 245/245, 0/0";
    QTest::newRow("max letters, min follows") << "30/225" << "txtAlarmVSSMax" << "fast" << "cmdOK"
                                 << "Maximum VSS: Value must be greater than or equal to 10" << "10/10, 10/10, 0/0";
    QTest::newRow("min above, then Restore Defaults") << "30/225" << "txtAlarmVSSMin" << "250" << "cmdRestoreDefaults"
                                 << "Minimum VSS: Value must be less than or equal to 245" << "0/225, 0/225, ff00/ff00";
    QTest::newRow("stored above range, passed through") << "250/250" << "txtAlarmVSSMin" << QString() << "cmdOK"
                                 << "Minimum VSS: Value must be less than or equal to 245" << "245/250, 245/250, 0/0";
}

void TestPairDialogs::vssSpeedsThenAButton()
{
    QFETCH(QString, stored);
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, then);
    QFETCH(QString, message);
    ParameterSet p;
    p.AlarmVSSEnable = true;
    p.AlarmVSSMin = int16_t(stored.section('/', 0, 0).toInt());
    p.AlarmVSSMax = int16_t(stored.section('/', 1).toInt());
    ScriptedPrompter prompter;
    expectWarning(prompter, message);
    if (then == "cmdRestoreDefaults")
        expectRestore(prompter, "VSS alarm", true);
    frmAlarmVSS d(p, prompter);
    QVERIFY(showActive(&d));
    typeThenClick(&d, name, typed, then);
    QTEST(state(&d, p), "state");
    QVERIFY_PROMPTS(prompter);
}

// Opening changes nothing; Restore Defaults or its Cancel; the switch enables the rest;
// the picker sets this alarm's colour.
void TestPairDialogs::vssRestoreSwitchAndColour()
{
    for (bool ok : {false, true}) {
        ParameterSet p;
        p.AlarmVSSMin = 40;
        p.AlarmVSSMax = 60;
        p.AlarmVSSColor = 0x0000FF;
        const ParameterSet before = p;
        ScriptedPrompter prompter;
        expectRestore(prompter, "VSS alarm", ok);
        frmAlarmVSS d(p, prompter);
        QVERIFY(p == before && !checked(&d, "chkAlarmVSSEnable") && field(&d, "txtAlarmVSSColor")->text().isEmpty());
        QCOMPARE(enabled(&d, kVSSSwitched), QStringList());
        click(&d, "cmdRestoreDefaults");
        QVERIFY((ok || p == before) && p.AlarmVSSEnable == ok && checked(&d, "chkAlarmVSSEnable") == ok);
        QCOMPARE(state(&d, p), ok ? "0/225, 0/225, ff00/ff00" : "40/60, 40/60, ff/ff");
        if (!ok)
            click(&d, "chkAlarmVSSEnable");
        QVERIFY(p.AlarmVSSEnable && enabled(&d, kVSSSwitched) == kVSSSwitched);
        prompter.expectColor(0x7FABCDEF);
        click(&d, "cmdAlarmVSSColor");
        QCOMPARE(state(&d, p).section(", ", 2), "abcdef/abcdef");
        QVERIFY_PROMPTS(prompter);
    }
}

QTEST_MAIN(TestPairDialogs)
#include "tst_pairdialogs.moc"
