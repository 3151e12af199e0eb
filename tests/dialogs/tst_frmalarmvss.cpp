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
    void speedsTypedThenOK_data();
    void speedsTypedThenOK();
    void restoreSwitchAndColour();
};

void TestFrmAlarmVSS::speedsTypedThenOK_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");  // "title: text"
    QTest::addColumn<QString>("state");
    QTest::newRow("min above, max follows") << "txtAlarmVSSMin" << "250"
                                            << "Minimum VSS: Value must be less than or equal to 245" << "245/245, 245/245, 0/0";
    QTest::newRow("max letters, min follows") << "txtAlarmVSSMax" << "fast"
                                 << "Maximum VSS: Value must be greater than or equal to 10" << "10/10, 10/10, 0/0";
}

void TestFrmAlarmVSS::speedsTypedThenOK()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    ParameterSet p;
    p.AlarmVSSEnable = true;
    p.AlarmVSSMin = 30;
    p.AlarmVSSMax = 225;
    ScriptedPrompter prompter;
    expectWarning(prompter, message.section(": ", 1), message.section(": ", 0, 0));
    frmAlarmVSS d(p, prompter);
    QVERIFY(showActive(&d) && d.windowTitle() == "VSS (Speed) Alarm" && d.isModal());
    typeInto(field(&d, name), typed);
    click(&d, "cmdOK");
    QTEST(state(&d, p), "state");
    QVERIFY_PROMPTS(prompter);
}

// Opening changes nothing; Restore Defaults or its Cancel; the switch enables the rest.
// A Cancel in the picker asks what to do (Ignore keeps the colour); only 24 bits of a colour stay.
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

        prompter.expectColor(std::nullopt).expectError(EditorDialog::kColorCancelled, PromptAnswer::Ignore);
        click(&d, "cmdAlarmVSSColor");
        QCOMPARE(int(prompter.lastColorInitial), ok ? 0x00FF00 : 0x0000FF);
        QCOMPARE(state(&d, p).section(", ", 2), ok ? "ff00/ff00" : "ff/ff");
        prompter.expectColor(0x7FABCDEF);
        click(&d, "cmdAlarmVSSColor");
        QCOMPARE(state(&d, p).section(", ", 2), "abcdef/abcdef");
        QVERIFY_PROMPTS(prompter);
    }
}

QTEST_MAIN(TestFrmAlarmVSS)
#include "tst_frmalarmvss.moc"
