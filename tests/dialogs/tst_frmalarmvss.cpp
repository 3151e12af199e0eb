// The VSS (speed) alarm editor: opening, the enable switch, the speed limits and
// their pair rule, the colour picker and Restore Defaults.
#include "dialogtesting.h"
#include "vss_alarm/frmalarmvss.h"

#include <QCheckBox>

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

// "min/max" as shown and as stored.
QString shown(QWidget* d) { return field(d, "txtAlarmVSSMin")->text() + "/" + field(d, "txtAlarmVSSMax")->text(); }
QString stored(const ParameterSet& p) { return QStringLiteral("%1/%2").arg(p.AlarmVSSMin).arg(p.AlarmVSSMax); }

}  // namespace

class TestFrmAlarmVSS : public QObject {
    Q_OBJECT
private slots:
    void opensAndSwitches();
    void speeds_data();
    void speeds();
    void colourPicker_data();
    void colourPicker();
    void restoreDefaults_data();
    void restoreDefaults();
};

void TestFrmAlarmVSS::opensAndSwitches()
{
    ParameterSet p = vssSet();
    p.AlarmVSSEnable = false;
    p.AlarmVSSMin = 12;
    p.AlarmVSSMax = 99;
    const ParameterSet before = p;
    ScriptedPrompter prompter;
    frmAlarmVSS d(p, prompter);
    QCOMPARE(d.windowTitle(), QStringLiteral("VSS (Speed) Alarm"));
    QVERIFY(d.isModal());
    QVERIFY(!child<QCheckBox>(&d, "chkAlarmVSSEnable")->isChecked());
    QCOMPARE(shown(&d), QStringLiteral("12/99"));
    QCOMPARE(swatch(&d, "txtAlarmVSSColor"), 0x0000FF);
    QVERIFY(field(&d, "txtAlarmVSSColor")->text().isEmpty());
    QCOMPARE(enabledStates(&d, kSwitched), allEnabled(kSwitched, false));
    QVERIFY(p == before);
    click(&d, "chkAlarmVSSEnable");
    QVERIFY(p.AlarmVSSEnable);
    QCOMPARE(enabledStates(&d, kSwitched), allEnabled(kSwitched, true));
    QVERIFY_PROMPTS(prompter);
}

void TestFrmAlarmVSS::speeds_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("shows");  // min/max, also as stored

    const QString ge10 = "Value must be greater than or equal to 10";
    QTest::newRow("min above, max follows") << "txtAlarmVSSMin" << "250" << "Value must be less than or equal to 245"
                                            << "Minimum VSS" << "245/245";
    QTest::newRow("min below") << "txtAlarmVSSMin" << "-1" << "Value must be greater than or equal to zero"
                               << "Minimum VSS" << "0/225";
    QTest::newRow("min floored") << "txtAlarmVSSMin" << "99.9" << "" << "" << "99/225";
    QTest::newRow("max under min") << "txtAlarmVSSMax" << "20" << "" << "" << "20/20";
    QTest::newRow("max letters") << "txtAlarmVSSMax" << "fast" << ge10 << "Maximum VSS" << "10/10";
    QTest::newRow("OK while typing") << "txtAlarmVSSMin" << "70" << "" << "" << "70/225";
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
    const bool ok = QByteArray(QTest::currentDataTag()).startsWith("OK");
    if (ok) {
        typeInto(field(&d, name), typed);  // the focus stays in the field
        click(&d, "cmdOK");
    } else {
        enter(&d, name, typed);
    }
    QCOMPARE(d.isVisible(), !ok);
    QTEST(shown(&d), "shows");
    QTEST(stored(p), "shows");
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
    prompter.expectColor(answer == -1 ? std::nullopt : std::optional<uint32_t>(uint32_t(answer)));
    if (answer == -1)
        prompter.expectError(QString::fromLatin1(EditorDialog::kColorCancelled), PromptAnswer(onError));
    frmAlarmVSS d(p, prompter);
    click(&d, "cmdAlarmVSSColor");
    QTEST(int(p.AlarmVSSColor), "stored");
    QTEST(swatch(&d, "txtAlarmVSSColor"), "stored");
    QCOMPARE(prompter.lastColorInitial, 0x0000FFu);
    QVERIFY_PROMPTS(prompter);
}

void TestFrmAlarmVSS::restoreDefaults_data()
{
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
}

void TestFrmAlarmVSS::restoreDefaults()
{
    QFETCH(bool, ok);
    ParameterSet p = vssSet();
    p.AlarmVSSEnable = false;
    p.AlarmVSSMin = 40;
    p.AlarmVSSMax = 60;
    const ParameterSet before = p;
    ScriptedPrompter prompter;
    expectRestoreQuestion(prompter, "This action will reset all VSS alarm parameters to default values.",
                          ok ? PromptAnswer::OK : PromptAnswer::Cancel);
    frmAlarmVSS d(p, prompter);
    click(&d, "cmdRestoreDefaults");
    ParameterSet expected = before;
    if (ok) {
        expected.AlarmVSSEnable = true;
        expected.AlarmVSSColor = 0x00FF00;
        expected.AlarmVSSMin = 0;
        expected.AlarmVSSMax = 225;
    }
    QVERIFY(p == expected);
    QCOMPARE(child<QCheckBox>(&d, "chkAlarmVSSEnable")->isChecked(), ok);
    QCOMPARE(shown(&d), ok ? QStringLiteral("0/225") : QStringLiteral("40/60"));
    QCOMPARE(swatch(&d, "txtAlarmVSSColor"), ok ? 0x00FF00 : 0x0000FF);
    QCOMPARE(enabledStates(&d, kSwitched), allEnabled(kSwitched, ok));
    QVERIFY_PROMPTS(prompter);
}

QTEST_MAIN(TestFrmAlarmVSS)
#include "tst_frmalarmvss.moc"
