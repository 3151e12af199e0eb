// What the three editor dialogs share, each dialog's wiring once: the ways a typed value is
// left, Restore Defaults, the enable switches and the VSS alarm's colour.
#include "alarms/frmalarms.h"
#include "dialogtesting.h"
#include "gpo/frmgpo.h"
#include "params/defaults.h"
#include "params/fieldrules.h"
#include "vss_alarm/frmalarmvss.h"

#include <QTimer>

using namespace dialogtesting;

namespace {

const QStringList kGPOSwitched = {"txtGPOMinRPM", "txtGPOMaxRPM", "txtGPOOffTPS", "txtGPOOnTPS",
                                  "txtGPOMinVSS", "txtGPOMaxVSS", "txtGPODelay",  "chkGPOOneShotDelay"};
const QStringList kVSSSwitched = {"cmdAlarmVSSColor", "txtAlarmVSSColor", "txtAlarmVSSMin", "txtAlarmVSSMax"};

// The dialog as its Restore Defaults question names it.
std::unique_ptr<EditorDialog> open(const QString& what, ParameterSet& p, Prompter& prompter)
{
    if (what == "GPO")
        return std::make_unique<frmGPO>(p, prompter);
    if (what == "VSS alarm")
        return std::make_unique<frmAlarmVSS>(p, prompter);
    return std::make_unique<frmAlarms>(p, prompter);
}

// The factory set (TPS calibration 44 to 235) with every dialog's values away from their defaults.
ParameterSet edited()
{
    ParameterStore s;
    loadDefaults(s);
    ParameterSet& p = s.params;
    p.Alarm1Enable = p.Alarm2Enable = true;
    p.Alarm1Input = p.Alarm2Input = 1;  // AFR with In-Hg: the label must go empty, the unit become psi
    p.Alarm1Above = p.Alarm2Below = p.Alarm1MinRPM = p.Alarm2Delay = 50;
    p.Alarm2MinVSS = 250;  // above the field's range
    p.Alarm1Color = p.Alarm2Color = 0xFF0000;
    p.GPOEnable = p.AlarmVSSEnable = false;
    p.GPOOneShotDelay = true;
    p.GPOMinRPM = p.GPOOffTPS = p.GPOMaxVSS = p.GPODelay = 100;
    p.AlarmVSSMin = 40;
    p.AlarmVSSMax = 60;
    p.AlarmVSSColor = 0x0000FF;
    return p;
}

}  // namespace

class TestEditorDialogs : public QObject {
    Q_OBJECT
private slots:
    void typedThenAButton_data();
    void typedThenAButton();
    void restoreDefaults_data();
    void restoreDefaults();
    void switchesAndColour();
};

// A typed value is checked and stored before the button that leaves it acts (Pick Color,
// OK, Restore Defaults, Esc in the modal loop), its message first and once; the field and
// its pair partner show, and the parameters hold, the checked value. Passing through a
// field corrects a stored value the field would refuse.
void TestEditorDialogs::typedThenAButton_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("partner");
    QTest::addColumn<QString>("typed");    // null: passed through with Tab
    QTest::addColumn<QString>("button");   // or "esc"
    QTest::addColumn<QString>("message");  // "title: text"
    QTest::addColumn<QString>("shown");    // the field, its partner
    QTest::newRow("GPO, OK") << "GPO" << "txtGPOOffTPS" << "txtGPOOnTPS" << "97" << "cmdOK"
                             << "Off TPS: Value must be less than or equal to 95%" << "95 95";
    QTest::newRow("GPO, Restore Defaults") << "GPO" << "txtGPOMaxVSS" << "txtGPOMinVSS" << "5" << "cmdRestoreDefaults"
                                           << "Maximum VSS: Value must be greater than or equal to 10" << "225 30";
    QTest::newRow("VSS alarm, Restore Defaults") << "VSS alarm" << "txtAlarmVSSMin" << "txtAlarmVSSMax" << "250"
                                                 << "cmdRestoreDefaults"
                                                 << "Minimum VSS: Value must be less than or equal to 245" << "0 225";
    QTest::newRow("alarms, Pick Color") << "alarm" << "txtAlarm1MinRPM" << "" << "-5" << "cmdAlarm1Color"
                                        << "Alarm Minimum RPM: Value must be greater than or equal to zero" << "0";
    QTest::newRow("alarms, Esc") << "alarm" << "txtAlarm1MinVSS" << "" << "300" << "esc"
                                 << "Alarm Minimum VSS: Value must be less than or equal to 245" << "245";
    QTest::newRow("alarms, stored above range") << "alarm" << "txtAlarm2MinVSS" << "" << QString() << ""
                                                << "Alarm Minimum VSS: Value must be less than or equal to 245" << "245";
}

void TestEditorDialogs::typedThenAButton()
{
    QFETCH(QString, dialog);
    QFETCH(QString, name);
    QFETCH(QString, partner);
    QFETCH(QString, typed);
    QFETCH(QString, button);
    QFETCH(QString, message);
    ParameterSet p = edited();
    p.GPOEnable = p.AlarmVSSEnable = true;
    ScriptedPrompter prompter;
    expectWarning(prompter, message);
    if (button == "cmdRestoreDefaults")
        expectRestore(prompter, dialog, true);
    if (button == "cmdAlarm1Color")
        prompter.expectColor(0x00FF00);
    const auto d = open(dialog, p, prompter);
    QLineEdit* f = field(d.get(), name);
    if (button == "esc") {
        QTimer::singleShot(0, d.get(), [&] {
            typeInto(f, typed);
            QTest::keyClick(f, Qt::Key_Escape);
        });
        d->exec();
    } else {
        QVERIFY(showActive(d.get()));
        f->setFocus(Qt::TabFocusReason);
        if (typed.isNull())
            QTest::keyClick(f, Qt::Key_Tab);
        else
            typeThenClick(d.get(), name, typed, button);
    }
    QCoreApplication::processEvents();
    d->validateFocusedField();  // a value already checked is neither reported nor changed again
    QCOMPARE(d->isVisible(), button != "cmdOK" && button != "esc");
    QTEST(partner.isEmpty() ? f->text() : f->text() + ' ' + field(d.get(), partner)->text(), "shown");
    for (QLineEdit* e : d->findChildren<QLineEdit*>())
        QVERIFY2(!fieldrules::find(e->objectName()) || fieldrules::display(e->objectName(), p) == e->text(),
                 qPrintable(e->objectName()));
    QVERIFY_PROMPTS(prompter);
}

// Cancel keeps everything; OK stores the dialog's factory values and shows them as a dialog
// opened on them does.
void TestEditorDialogs::restoreDefaults_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<bool>("ok");
    QTest::newRow("alarms, Cancel") << "alarm" << false;
    QTest::newRow("alarms") << "alarm" << true;
    QTest::newRow("GPO") << "GPO" << true;
    QTest::newRow("VSS alarm") << "VSS alarm" << true;
}

void TestEditorDialogs::restoreDefaults()
{
    QFETCH(QString, dialog);
    QFETCH(bool, ok);
    ParameterSet p = edited();
    ParameterSet expected = p;
    if (ok)
        (dialog == "GPO" ? restoreGpoDefaults : dialog == "alarm" ? restoreAlarmDefaults : restoreVssAlarmDefaults)(expected);
    ScriptedPrompter prompter;
    expectRestore(prompter, dialog, ok);
    const auto d = open(dialog, p, prompter);
    click(d.get(), "cmdRestoreDefaults");
    QVERIFY(p == expected);
    QCOMPARE(snapshot(d.get()), snapshot(open(dialog, expected, prompter).get()));
    QVERIFY_PROMPTS(prompter);
}

// Opening changes nothing; each enable switch stores its flag and enables the rest, changing
// no value; the picker's bits above 24 do not reach the colour.
void TestEditorDialogs::switchesAndColour()
{
    ParameterSet p = edited();
    ParameterSet expected = p;
    ScriptedPrompter prompter;
    frmGPO gpo(p, prompter);
    frmAlarmVSS vss(p, prompter);
    QVERIFY(p == expected && checked(&gpo, "chkGPOOneShotDelay"));
    QCOMPARE(enabled(&gpo, kGPOSwitched) + enabled(&vss, kVSSSwitched), QStringList());
    click(&gpo, "chkGPOEnable");
    click(&vss, "chkAlarmVSSEnable");
    expected.GPOEnable = expected.AlarmVSSEnable = true;
    QVERIFY(p == expected);
    QCOMPARE(enabled(&gpo, kGPOSwitched) + enabled(&vss, kVSSSwitched), kGPOSwitched + kVSSSwitched);
    prompter.expectColor(0x7FABCDEF);
    click(&vss, "cmdAlarmVSSColor");
    QCOMPARE(p.AlarmVSSColor, 0xABCDEF);
    QCOMPARE(swatch(&vss, "txtAlarmVSSColor"), 0xABCDEF);
    QVERIFY_PROMPTS(prompter);
}

QTEST_MAIN(TestEditorDialogs)
#include "tst_pairdialogs.moc"
