// The VSS (speed) alarm editor: opening, the enable switch, the speed limits and
// their pair rule, the colour picker and Restore Defaults.
#include "dialogtesting.h"
#include "vss_alarm/frmalarmvss.h"

#include <QCheckBox>
#include <QLabel>

using namespace dialogtesting;

namespace {

const QStringList kSwitched = {"cmdAlarmVSSColor", "txtAlarmVSSColor", "txtAlarmVSSMin", "txtAlarmVSSMax"};

ParameterSet vssSet()
{
    ParameterSet p;
    p.AlarmVSSEnable = true;
    p.AlarmVSSMin = 30;
    p.AlarmVSSMax = 225;
    p.AlarmVSSColor = 0x0000FF;
    return p;
}

QString shown(QWidget* d) { return field(d, "txtAlarmVSSMin")->text() + "/" + field(d, "txtAlarmVSSMax")->text(); }

}  // namespace

class TestFrmAlarmVSS : public QObject {
    Q_OBJECT
private slots:
    void opensShowingTheParameters_data();
    void opensShowingTheParameters();
    void enableSwitch();
    void speeds_data();
    void speeds();
    void okStoresTheFieldBeingTyped();
    void colourPicker_data();
    void colourPicker();
    void restoreDefaults_data();
    void restoreDefaults();
};

void TestFrmAlarmVSS::opensShowingTheParameters_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::newRow("on") << true;
    QTest::newRow("off") << false;
}

void TestFrmAlarmVSS::opensShowingTheParameters()
{
    QFETCH(bool, enabled);
    ParameterSet p = vssSet();
    p.AlarmVSSEnable = enabled;
    p.AlarmVSSMin = 12;
    p.AlarmVSSMax = 99;
    const ParameterSet before = p;
    ScriptedPrompter prompter;
    frmAlarmVSS d(p, prompter);
    QCOMPARE(d.windowTitle(), QStringLiteral("VSS (Speed) Alarm"));
    QVERIFY(d.isModal());
    QVERIFY(!field(&d, "txtAlarmVSSMin")->toolTip().isEmpty());
    QVERIFY(!field(&d, "txtAlarmVSSMax")->toolTip().isEmpty());

    QCOMPARE(child<QCheckBox>(&d, "chkAlarmVSSEnable")->isChecked(), enabled);
    QCOMPARE(shown(&d), QStringLiteral("12/99"));
    QCOMPARE(swatch(&d, "txtAlarmVSSColor"), 0x0000FF);
    QVERIFY(field(&d, "txtAlarmVSSColor")->text().isEmpty());
    QCOMPARE(enabledStates(&d, kSwitched), allEnabled(kSwitched, enabled));
    QVERIFY(p == before);
    QVERIFY_PROMPTS(prompter);
}

void TestFrmAlarmVSS::enableSwitch()
{
    ParameterSet p = vssSet();
    p.AlarmVSSEnable = false;
    ScriptedPrompter prompter;
    frmAlarmVSS d(p, prompter);
    click(&d, "chkAlarmVSSEnable");
    QVERIFY(p.AlarmVSSEnable);
    QCOMPARE(enabledStates(&d, kSwitched), allEnabled(kSwitched, true));
    click(&d, "chkAlarmVSSEnable");
    QVERIFY(!p.AlarmVSSEnable);
    QCOMPARE(enabledStates(&d, kSwitched), allEnabled(kSwitched, false));
    QVERIFY_PROMPTS(prompter);
}

void TestFrmAlarmVSS::speeds_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<QString>("shows");

    QTest::newRow("min above, max follows") << "txtAlarmVSSMin" << "250" << "Value must be less than or equal to 245"
                                            << "Minimum VSS" << 245 << 245 << "245/245";
    QTest::newRow("max below, min follows") << "txtAlarmVSSMax" << "5" << "Value must be greater than or equal to 10"
                                            << "Maximum VSS" << 10 << 10 << "10/10";
    QTest::newRow("min below") << "txtAlarmVSSMin" << "-1" << "Value must be greater than or equal to zero"
                               << "Minimum VSS" << 0 << 225 << "0/225";
    QTest::newRow("min floored") << "txtAlarmVSSMin" << "99.9" << "" << "" << 99 << 225 << "99/225";
    QTest::newRow("max under min") << "txtAlarmVSSMax" << "20" << "" << "" << 20 << 20 << "20/20";
    QTest::newRow("max letters") << "txtAlarmVSSMax" << "fast" << "Value must be greater than or equal to 10"
                                 << "Maximum VSS" << 10 << 10 << "10/10";
}

void TestFrmAlarmVSS::speeds()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QString, title);
    ParameterSet p = vssSet();
    ScriptedPrompter prompter;
    if (!message.isEmpty())
        expectWarning(prompter, message, title);
    frmAlarmVSS d(p, prompter);
    QVERIFY(showActive(&d));
    enter(&d, name, typed);
    QTEST(int(p.AlarmVSSMin), "min");
    QTEST(int(p.AlarmVSSMax), "max");
    QTEST(shown(&d), "shows");
    QVERIFY_PROMPTS(prompter);
}

void TestFrmAlarmVSS::okStoresTheFieldBeingTyped()
{
    ParameterSet p = vssSet();
    ScriptedPrompter prompter;
    frmAlarmVSS d(p, prompter);
    QVERIFY(showActive(&d));
    typeInto(field(&d, "txtAlarmVSSMin"), "70");
    click(&d, "cmdOK");
    QVERIFY(!d.isVisible());
    QCOMPARE(p.AlarmVSSMin, int16_t(70));
    QVERIFY_PROMPTS(prompter);
}

void TestFrmAlarmVSS::colourPicker_data()
{
    QTest::addColumn<int>("answer");  // -1: Cancel
    QTest::addColumn<int>("onError");
    QTest::addColumn<int>("stored");
    QTest::newRow("picked") << 0xABCDEF << 0 << 0xABCDEF;
    QTest::newRow("high bits dropped") << int(0x7F00FF00) << 0 << 0x00FF00;
    QTest::newRow("cancel, abort") << -1 << int(PromptAnswer::Abort) << 0x0000FF;
    QTest::newRow("cancel, ignore") << -1 << int(PromptAnswer::Ignore) << 0x0000FF;
}

void TestFrmAlarmVSS::colourPicker()
{
    QFETCH(int, answer);
    QFETCH(int, onError);
    ParameterSet p = vssSet();
    ScriptedPrompter prompter;
    if (answer == -1) {
        prompter.expectColor(std::nullopt);
        prompter.expectError(QString::fromLatin1(EditorDialog::kColorCancelled), PromptAnswer(onError));
    } else {
        prompter.expectColor(uint32_t(answer));
    }
    frmAlarmVSS d(p, prompter);
    click(&d, "cmdAlarmVSSColor");
    QTEST(int(p.AlarmVSSColor), "stored");
    QTEST(swatch(&d, "txtAlarmVSSColor"), "stored");
    QVERIFY_PROMPTS(prompter);
}

void TestFrmAlarmVSS::restoreDefaults_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("ok") << int(PromptAnswer::OK);
    QTest::newRow("cancel") << int(PromptAnswer::Cancel);
}

void TestFrmAlarmVSS::restoreDefaults()
{
    QFETCH(int, answer);
    const bool ok = PromptAnswer(answer) == PromptAnswer::OK;
    ParameterSet p = vssSet();
    p.AlarmVSSEnable = false;
    p.AlarmVSSMin = 40;
    p.AlarmVSSMax = 60;
    const ParameterSet before = p;
    ScriptedPrompter prompter;
    expectRestoreQuestion(prompter, "This action will reset all VSS alarm parameters to default values.",
                          PromptAnswer(answer));
    frmAlarmVSS d(p, prompter);
    click(&d, "cmdRestoreDefaults");
    if (!ok) {
        QVERIFY(p == before);
        QCOMPARE(shown(&d), QStringLiteral("40/60"));
        QCOMPARE(enabledStates(&d, kSwitched), allEnabled(kSwitched, false));
    } else {
        ParameterSet expected = before;
        expected.AlarmVSSEnable = true;
        expected.AlarmVSSColor = 0x00FF00;
        expected.AlarmVSSMin = 0;
        expected.AlarmVSSMax = 225;
        QVERIFY(p == expected);
        QVERIFY(child<QCheckBox>(&d, "chkAlarmVSSEnable")->isChecked());
        QCOMPARE(shown(&d), QStringLiteral("0/225"));
        QCOMPARE(swatch(&d, "txtAlarmVSSColor"), 0x00FF00);
        QCOMPARE(enabledStates(&d, kSwitched), allEnabled(kSwitched, true));
    }
    QVERIFY_PROMPTS(prompter);
}

QTEST_MAIN(TestFrmAlarmVSS)
#include "tst_frmalarmvss.moc"
