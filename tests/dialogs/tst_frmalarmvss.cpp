// The VSS (speed) alarm editor: speed limits and pair rule, Restore Defaults, switch, colour picker.
#include "dialogtesting.h"
#include "vss_alarm/frmalarmvss.h"

using namespace dialogtesting;

const QStringList kSwitched = {"cmdAlarmVSSColor", "txtAlarmVSSColor", "txtAlarmVSSMin", "txtAlarmVSSMax"};

// "min/max" as shown, then as stored; "swatch/stored" colour.
static QString state(QWidget* d, const ParameterSet& p)
{
    return QStringLiteral("%1/%2, %3/%4, %5/%6").arg(field(d, "txtAlarmVSSMin")->text(), field(d, "txtAlarmVSSMax")->text())
        .arg(p.AlarmVSSMin).arg(p.AlarmVSSMax).arg(swatch(d, "txtAlarmVSSColor"), 0, 16).arg(p.AlarmVSSColor, 0, 16);
}

class TestFrmAlarmVSS : public QObject {
    Q_OBJECT
private slots:
    void speedsThenAButton_data();
    void speedsThenAButton();
    void restoreSwitchAndColour();
};

// A value typed, then OK or Restore Defaults clicked: the field's message comes
// first. A stored speed the field would refuse is corrected when the field is left.
void TestFrmAlarmVSS::speedsThenAButton_data()
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

void TestFrmAlarmVSS::speedsThenAButton()
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
void TestFrmAlarmVSS::restoreSwitchAndColour()
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
        QCOMPARE(enabled(&d, kSwitched), QStringList());
        click(&d, "cmdRestoreDefaults");
        QVERIFY((ok || p == before) && p.AlarmVSSEnable == ok && checked(&d, "chkAlarmVSSEnable") == ok);
        QCOMPARE(state(&d, p), ok ? "0/225, 0/225, ff00/ff00" : "40/60, 40/60, ff/ff");
        if (!ok)
            click(&d, "chkAlarmVSSEnable");
        QVERIFY(p.AlarmVSSEnable && enabled(&d, kSwitched) == kSwitched);
        prompter.expectColor(0x7FABCDEF);
        click(&d, "cmdAlarmVSSColor");
        QCOMPARE(state(&d, p).section(", ", 2), "abcdef/abcdef");
        QVERIFY_PROMPTS(prompter);
    }
}

QTEST_MAIN(TestFrmAlarmVSS)
#include "tst_frmalarmvss.moc"
