// The user defined alarms dialog: what it shows when it opens, what each control
// stores, the field limits, Restore Defaults, the colour pickers, and that an edited
// alarm survives encoding, a data file and decoding.
#include "alarms/frmalarms.h"
#include "dialogtesting.h"
#include "params/codec.h"
#include "params/datafile.h"
#include "params/defaults.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

using namespace dialogtesting;

namespace {

const QStringList kAlarm1Switched = {
    "cmdAlarm1Color",    "txtAlarm1Color",    "optInput1Analog",    "optInput1AFR",       "optInput1MAP1Bar",
    "optInput1MAP2Bar",  "optInput1MAP3Bar",  "optInHg",            "optPSI",             "txtAlarm1AboveVal",
    "txtAlarm1BelowVal", "txtAlarm1MinTPS",   "txtAlarm1MinRPM",    "txtAlarm1MinVSS",    "txtAlarm1Delay",
    "txtAlarm1AboveVolts", "txtAlarm1BelowVolts", "sldAlarm1AboveVolts", "sldAlarm1BelowVolts"};
const QStringList kAlarm2Switched = {
    "cmdAlarm2Color",  "txtAlarm2Color",  "optInput2Analog", "optInput2AFR",        "txtAlarm2AboveVal",
    "txtAlarm2BelowVal", "txtAlarm2MinTPS", "txtAlarm2MinRPM", "txtAlarm2MinVSS",   "txtAlarm2Delay",
    "txtAlarm2AboveVolts", "txtAlarm2BelowVolts", "sldAlarm2AboveVolts", "sldAlarm2BelowVolts"};
// Never switched: the enable boxes, labels and frames.
const QStringList kAlwaysEnabled = {"chkAlarm1Enable", "chkAlarm2Enable", "lblAlarm1MinTPS", "fraAlarm1Analog",
                                    "fraPressure",     "fraAlarm2Above",  "cmdOK",           "cmdRestoreDefaults"};

QString text(QWidget* d, const char* name) { return field(d, QString::fromLatin1(name))->text(); }
bool checked(QWidget* d, const char* name) { return child<QAbstractButton>(d, QString::fromLatin1(name))->isChecked(); }
bool shown(QWidget* d, const char* name) { return !child(d, QString::fromLatin1(name))->isHidden(); }
QSlider* slider(QWidget* d, const char* name) { return child<QSlider>(d, QString::fromLatin1(name)); }
QString label(QWidget* d, const char* name) { return child<QLabel>(d, QString::fromLatin1(name))->text(); }

// The stored value a field writes, by parameter name.
double stored(const ParameterSet& p, const QString& name)
{
    static const QMap<QString, std::function<double(const ParameterSet&)>> get = {
        {"Alarm1Delay", [](const ParameterSet& s) { return s.Alarm1Delay; }},
        {"Alarm2Delay", [](const ParameterSet& s) { return s.Alarm2Delay; }},
        {"Alarm1MinRPM", [](const ParameterSet& s) { return s.Alarm1MinRPM; }},
        {"Alarm2MinRPM", [](const ParameterSet& s) { return s.Alarm2MinRPM; }},
        {"Alarm1MinTPS", [](const ParameterSet& s) { return s.Alarm1MinTPS; }},
        {"Alarm2MinTPS", [](const ParameterSet& s) { return s.Alarm2MinTPS; }},
        {"Alarm1MinVSS", [](const ParameterSet& s) { return s.Alarm1MinVSS; }},
        {"Alarm2MinVSS", [](const ParameterSet& s) { return s.Alarm2MinVSS; }},
    };
    return get.value(name)(p);
}

ParameterSet calibrated()
{
    ParameterSet p;
    p.TPSZero = 44;
    p.TPSFullscale = 235;
    p.Alarm1Enable = p.Alarm2Enable = true;
    return p;
}

}  // namespace

class TestFrmAlarms : public QObject {
    Q_OBJECT
private slots:
    void titleAndCaptions();
    void opensShowingTheParameters_data();
    void opensShowingTheParameters();
    void enableSwitchStoresAndSwitchesTheControls();
    void inputTypeChangesOnlyTheView();
    void sliderStoresAndShowsWhileDragged_data();
    void sliderStoresAndShowsWhileDragged();
    void fieldLimits_data();
    void fieldLimits();
    void leavingAnUneditedFieldKeepsTheValue();
    void okStoresTheFieldBeingTyped();
    void closingTheWindowStoresTheFieldBeingTyped();
    void restoreDefaultsCancelChangesNothing();
    void restoreDefaultsOk();
    void colourPicker_data();
    void colourPicker();
    void editedAlarmSurvivesAFile();
};

void TestFrmAlarms::titleAndCaptions()
{
    ParameterSet p;
    ScriptedPrompter prompter;
    frmAlarms d(p, prompter);
    QCOMPARE(d.windowTitle(), QStringLiteral("User Defined Alarms"));
    QVERIFY(d.isModal());
    QCOMPARE(child<QGroupBox>(&d, "fraPressure")->title(), QStringLiteral("MAP Pressure"));
    QCOMPARE(label(&d, "lblAlarm2Enable"), QStringLiteral("Enable Alarm 2"));
    QCOMPARE(child<QAbstractButton>(&d, "optInput1Analog")->text(), QStringLiteral("Analog (0-5V)"));
    // Display-only boxes are never typed into; every condition field shows its range.
    QVERIFY(field(&d, "txtAlarm1AboveVolts")->isReadOnly());
    QVERIFY(field(&d, "txtAlarm2BelowVal")->isReadOnly());
    QVERIFY(!field(&d, "txtAlarm1Delay")->toolTip().isEmpty());
    QVERIFY(!field(&d, "txtAlarm2MinTPS")->toolTip().isEmpty());
    QCOMPARE(slider(&d, "sldAlarm1AboveVolts")->orientation(), Qt::Vertical);
    QCOMPARE(slider(&d, "sldAlarm1AboveVolts")->maximum(), 255);
    QVERIFY(!d.findChild<QWidget*>("optInput2MAP1Bar"));
    QVERIFY_PROMPTS(prompter);
}

void TestFrmAlarms::opensShowingTheParameters_data()
{
    QTest::addColumn<int>("input");
    QTest::addColumn<bool>("psi");
    QTest::addColumn<int>("above");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("unitOption");
    QTest::addColumn<int>("storedInput");
    QTest::addColumn<bool>("pressureShown");
    QTest::addColumn<bool>("valuesShown");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("aboveVolts");
    QTest::addColumn<QString>("aboveValue");

    // Right after start-up every parameter is zero.
    QTest::newRow("all zero") << 0 << false << 0 << "optInput1Analog" << "optInHg" << 0 << false << false << ""
                              << "0.00" << "0.0";
    QTest::newRow("analog 128") << 0 << false << 128 << "optInput1Analog" << "optInHg" << 0 << false << false << ""
                                << "2.51" << "2.5";
    // The pressure unit does not overwrite the wide-band label.
    QTest::newRow("AFR with psi") << 1 << true << 255 << "optInput1AFR" << "optPSI" << 1 << false << true << "AFR"
                                  << "5.00" << "20.0";
    QTest::newRow("MAP 1 bar psi") << 2 << true << 51 << "optInput1MAP1Bar" << "optPSI" << 2 << true << true << "psi"
                                   << "1.00" << "4.2";
    QTest::newRow("MAP 2 bar In-Hg") << 3 << false << 128 << "optInput1MAP2Bar" << "optInHg" << 3 << true << true
                                     << "In-Hg" << "2.51" << "32.0";
    QTest::newRow("unknown code 7") << 7 << false << 255 << "optInput1MAP3Bar" << "optInHg" << 4 << true << true
                                    << "In-Hg" << "5.00" << "93.2";
}

void TestFrmAlarms::opensShowingTheParameters()
{
    QFETCH(int, input);
    QFETCH(bool, psi);
    QFETCH(int, above);
    QFETCH(QString, option);
    QFETCH(QString, unitOption);

    ParameterSet p;
    p.Alarm1Input = static_cast<uint8_t>(input);
    p.Alarm1PressurePSI = psi;
    p.Alarm1Above = static_cast<int16_t>(above);
    p.Alarm1Below = 1;
    p.Alarm1Color = 0x0000FF;
    p.Alarm2Color = 0x00FFFF;
    p.Alarm2Input = 9;  // anything but analog is taken as wide-band
    p.Alarm2Above = 51;
    p.Alarm1MinTPSPercent = 50;
    p.Alarm1MinRPM = 15;
    p.Alarm1MinVSS = 60;
    p.Alarm1Delay = 3;
    ScriptedPrompter prompter;
    frmAlarms d(p, prompter);

    QVERIFY(checked(&d, qPrintable(option)));
    QVERIFY(checked(&d, qPrintable(unitOption)));
    QTEST(int(p.Alarm1Input), "storedInput");
    QTEST(shown(&d, "fraPressure"), "pressureShown");
    QTEST(shown(&d, "txtAlarm1AboveVal"), "valuesShown");
    QTEST(shown(&d, "txtAlarm1BelowVal"), "valuesShown");
    QTEST(shown(&d, "lblAlarm1Units"), "valuesShown");
    QTEST(label(&d, "lblAlarm1Units"), "unit");
    QTEST(text(&d, "txtAlarm1AboveVolts"), "aboveVolts");
    QTEST(text(&d, "txtAlarm1AboveVal"), "aboveValue");
    QVERIFY(shown(&d, "txtAlarm1AboveVolts"));
    QVERIFY(shown(&d, "lblAlarm1Volts"));
    QCOMPARE(slider(&d, "sldAlarm1AboveVolts")->value(), above);
    QCOMPARE(slider(&d, "sldAlarm1BelowVolts")->value(), 1);
    QCOMPARE(text(&d, "txtAlarm1BelowVolts"), QStringLiteral("0.02"));
    QCOMPARE(int(p.Alarm1Above), above);  // opening changes no threshold

    QVERIFY(checked(&d, "optInput2AFR"));
    QCOMPARE(int(p.Alarm2Input), 1);
    QCOMPARE(label(&d, "lblAlarm2Units"), QStringLiteral("AFR"));
    QCOMPARE(text(&d, "txtAlarm2AboveVal"), QStringLiteral("12.0"));

    QCOMPARE(text(&d, "txtAlarm1MinTPS"), QStringLiteral("50"));
    QCOMPARE(text(&d, "txtAlarm1MinRPM"), QStringLiteral("1500"));
    QCOMPARE(text(&d, "txtAlarm1MinVSS"), QStringLiteral("60"));
    QCOMPARE(text(&d, "txtAlarm1Delay"), QStringLiteral("0.10"));
    QCOMPARE(text(&d, "txtAlarm2Delay"), QStringLiteral("0.00"));
    QCOMPARE(swatch(&d, "txtAlarm1Color"), 0x0000FF);
    QCOMPARE(swatch(&d, "txtAlarm2Color"), 0x00FFFF);
    QVERIFY(text(&d, "txtAlarm1Color").isEmpty());

    // Both alarms off: their controls are disabled, the switches themselves are not.
    QVERIFY(!checked(&d, "chkAlarm1Enable"));
    QCOMPARE(enabledStates(&d, kAlarm1Switched + kAlarm2Switched), allEnabled(kAlarm1Switched + kAlarm2Switched, false));
    QCOMPARE(enabledStates(&d, kAlwaysEnabled), allEnabled(kAlwaysEnabled, true));
    QVERIFY_PROMPTS(prompter);
}

void TestFrmAlarms::enableSwitchStoresAndSwitchesTheControls()
{
    ParameterSet p;
    p.Alarm2Enable = true;
    ScriptedPrompter prompter;
    frmAlarms d(p, prompter);
    QVERIFY(checked(&d, "chkAlarm2Enable"));
    QCOMPARE(enabledStates(&d, kAlarm2Switched), allEnabled(kAlarm2Switched, true));
    QCOMPARE(enabledStates(&d, kAlarm1Switched), allEnabled(kAlarm1Switched, false));

    click(&d, "chkAlarm1Enable");
    QVERIFY(p.Alarm1Enable);
    QCOMPARE(enabledStates(&d, kAlarm1Switched), allEnabled(kAlarm1Switched, true));
    click(&d, "chkAlarm2Enable");
    QVERIFY(!p.Alarm2Enable);
    QCOMPARE(enabledStates(&d, kAlarm2Switched), allEnabled(kAlarm2Switched, false));
    QVERIFY(p.Alarm1Enable);  // the other alarm is left alone
    QVERIFY_PROMPTS(prompter);
}

void TestFrmAlarms::inputTypeChangesOnlyTheView()
{
    ParameterSet p = calibrated();
    p.Alarm1Input = 1;
    p.Alarm1Above = 255;
    p.Alarm1Below = 0;
    p.Alarm2Above = 128;
    ScriptedPrompter prompter;
    frmAlarms d(p, prompter);
    QCOMPARE(text(&d, "txtAlarm1AboveVal"), QStringLiteral("20.0"));

    click(&d, "optInput1MAP2Bar");
    QCOMPARE(int(p.Alarm1Input), 3);
    QCOMPARE(p.Alarm1Above, int16_t(255));
    QVERIFY(shown(&d, "fraPressure"));
    QCOMPARE(label(&d, "lblAlarm1Units"), QStringLiteral("In-Hg"));
    QCOMPARE(text(&d, "txtAlarm1AboveVal"), QStringLiteral("61.4"));
    QCOMPARE(text(&d, "txtAlarm1BelowVal"), QStringLiteral("2.4"));
    QCOMPARE(text(&d, "txtAlarm1AboveVolts"), QStringLiteral("5.00"));

    click(&d, "optPSI");
    QVERIFY(p.Alarm1PressurePSI);
    QCOMPARE(label(&d, "lblAlarm1Units"), QStringLiteral("psi"));
    QCOMPARE(text(&d, "txtAlarm1AboveVal"), QStringLiteral("30.2"));

    click(&d, "optInput1MAP3Bar");
    QCOMPARE(text(&d, "txtAlarm1AboveVal"), QStringLiteral("45.8"));
    click(&d, "optInHg");
    QVERIFY(!p.Alarm1PressurePSI);
    QCOMPARE(text(&d, "txtAlarm1AboveVal"), QStringLiteral("93.2"));

    click(&d, "optInput1Analog");
    QCOMPARE(int(p.Alarm1Input), 0);
    QVERIFY(!shown(&d, "fraPressure"));
    QVERIFY(!shown(&d, "txtAlarm1AboveVal"));
    QVERIFY(!shown(&d, "lblAlarm1Units"));
    QCOMPARE(label(&d, "lblAlarm1Units"), QString());

    click(&d, "optInput1AFR");
    QCOMPARE(int(p.Alarm1Input), 1);
    QVERIFY(!shown(&d, "fraPressure"));
    QVERIFY(shown(&d, "txtAlarm1BelowVal"));
    QCOMPARE(label(&d, "lblAlarm1Units"), QStringLiteral("AFR"));
    QCOMPARE(text(&d, "txtAlarm1BelowVal"), QStringLiteral("10.0"));
    QCOMPARE(p.Alarm1Above, int16_t(255));
    QCOMPARE(p.Alarm1Below, int16_t(0));

    // Alarm 2 shows the wide-band line whatever alarm 1's MAP input and unit are.
    click(&d, "optInput1MAP3Bar");
    click(&d, "optPSI");
    click(&d, "optInput2AFR");
    QCOMPARE(int(p.Alarm2Input), 1);
    QCOMPARE(label(&d, "lblAlarm2Units"), QStringLiteral("AFR"));
    QCOMPARE(text(&d, "txtAlarm2AboveVal"), QStringLiteral("15.0"));
    click(&d, "optInput2Analog");
    QCOMPARE(int(p.Alarm2Input), 0);
    QVERIFY(!shown(&d, "lblAlarm2Units"));
    QVERIFY_PROMPTS(prompter);
}

void TestFrmAlarms::sliderStoresAndShowsWhileDragged_data()
{
    QTest::addColumn<QString>("slider");
    QTest::addColumn<int>("input");
    QTest::addColumn<bool>("psi");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("volts");
    QTest::addColumn<QString>("value");

    QTest::newRow("1 above top") << "sldAlarm1AboveVolts" << 1 << false << 255 << "5.00" << "20.0";
    QTest::newRow("1 below MAP1 psi") << "sldAlarm1BelowVolts" << 2 << true << 1 << "0.02" << "1.6";
    QTest::newRow("1 above MAP3 In-Hg") << "sldAlarm1AboveVolts" << 4 << false << 1 << "0.02" << "0.7";
    QTest::newRow("2 above AFR") << "sldAlarm2AboveVolts" << 1 << false << 51 << "1.00" << "12.0";
}

void TestFrmAlarms::sliderStoresAndShowsWhileDragged()
{
    QFETCH(QString, slider);
    QFETCH(int, input);
    QFETCH(bool, psi);
    QFETCH(int, count);

    ParameterSet p = calibrated();
    p.Alarm1Input = p.Alarm2Input = static_cast<uint8_t>(input);
    p.Alarm1PressurePSI = psi;
    p.Alarm1Above = p.Alarm1Below = p.Alarm2Above = p.Alarm2Below = 100;
    ScriptedPrompter prompter;
    frmAlarms d(p, prompter);
    auto* s = child<QSlider>(&d, slider);

    // Dragging: the boxes follow before the slider is let go.
    s->setSliderDown(true);
    s->setSliderPosition(count);
    const QString stem = slider.mid(3, slider.size() - 3 - 5);  // "Alarm1Above"
    QTEST(field(&d, "txt" + stem + "Volts")->text(), "volts");
    QTEST(field(&d, "txt" + stem + "Val")->text(), "value");
    s->setSliderDown(false);

    const int16_t* thresholds[] = {&p.Alarm1Above, &p.Alarm1Below, &p.Alarm2Above, &p.Alarm2Below};
    const QStringList names = {"sldAlarm1AboveVolts", "sldAlarm1BelowVolts", "sldAlarm2AboveVolts", "sldAlarm2BelowVolts"};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(int(*thresholds[i]), names[i] == slider ? count : 100);  // the others are independent

    // The keyboard moves it by whole counts; up is towards 5 V.
    s->setValue(100);
    QTest::keyClick(s, Qt::Key_Up);
    QCOMPARE(int(*thresholds[names.indexOf(slider)]), 101);
    QVERIFY_PROMPTS(prompter);
}

void TestFrmAlarms::fieldLimits_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("shows");
    QTest::addColumn<QString>("param");
    QTest::addColumn<double>("value");

    const QString zero = "Value must be greater than or equal to zero";
    QTest::newRow("delay above") << "txtAlarm1Delay" << "9" << "Value must be less than or equal to 8.0" << "Alarm Delay"
                                 << "8.00" << "Alarm1Delay" << 250.0;
    QTest::newRow("delay half tick") << "txtAlarm1Delay" << "0.08" << "" << "" << "0.05" << "Alarm1Delay" << 2.0;
    QTest::newRow("rpm below") << "txtAlarm2MinRPM" << "-5" << zero << "Alarm Minimum RPM" << "0" << "Alarm2MinRPM" << 0.0;
    QTest::newRow("rpm above") << "txtAlarm1MinRPM" << "20000" << "Value must be less than or equal to 19900"
                               << "Alarm Minimum RPM" << "19900" << "Alarm1MinRPM" << 199.0;
    QTest::newRow("rpm to even") << "txtAlarm1MinRPM" << "250" << "" << "" << "200" << "Alarm1MinRPM" << 2.0;
    QTest::newRow("tps whole part") << "txtAlarm1MinTPS" << "95.9" << "" << "" << "95" << "Alarm1MinTPS" << 225.0;
    QTest::newRow("tps above") << "txtAlarm1MinTPS" << "96" << "Value must be less than or equal to 95%"
                               << "Alarm Minimum TPS" << "95" << "Alarm1MinTPS" << 225.0;
    QTest::newRow("tps half") << "txtAlarm2MinTPS" << "50" << "" << "" << "50" << "Alarm2MinTPS" << 140.0;
    QTest::newRow("vss above") << "txtAlarm2MinVSS" << "246" << "Value must be less than or equal to 245"
                               << "Alarm Minimum VSS" << "245" << "Alarm2MinVSS" << 245.0;
    QTest::newRow("vss trailing text") << "txtAlarm1MinVSS" << "55 mph" << "" << "" << "55" << "Alarm1MinVSS" << 55.0;
    QTest::newRow("letters delay") << "txtAlarm1Delay" << "abc" << "" << "" << "0.00" << "Alarm1Delay" << 0.0;
    QTest::newRow("empty vss") << "txtAlarm2MinVSS" << "" << "" << "" << "0" << "Alarm2MinVSS" << 0.0;
}

void TestFrmAlarms::fieldLimits()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QString, title);
    QFETCH(QString, param);

    ParameterSet p = calibrated();
    p.Alarm1Delay = p.Alarm2Delay = 100;
    p.Alarm1MinRPM = p.Alarm2MinRPM = 50;
    p.Alarm1MinTPSPercent = p.Alarm2MinTPSPercent = 10;
    p.Alarm1MinTPS = p.Alarm2MinTPS = 63;
    p.Alarm1MinVSS = p.Alarm2MinVSS = 20;
    ScriptedPrompter prompter;
    if (!message.isEmpty())
        expectWarning(prompter, message, title);
    frmAlarms d(p, prompter);
    QVERIFY(showActive(&d));

    enter(&d, name, typed);
    QTEST(field(&d, name)->text(), "shows");
    QTEST(stored(p, param), "value");
    QVERIFY_PROMPTS(prompter);
}

void TestFrmAlarms::leavingAnUneditedFieldKeepsTheValue()
{
    // One tick shows as 0.05 s, which would read back as two ticks: passing through
    // the field must not change it.
    ParameterSet p = calibrated();
    p.Alarm1Delay = 1;
    ScriptedPrompter prompter;
    frmAlarms d(p, prompter);
    QVERIFY(showActive(&d));
    QLineEdit* delay = field(&d, "txtAlarm1Delay");
    QCOMPARE(delay->text(), QStringLiteral("0.05"));
    delay->setFocus(Qt::TabFocusReason);
    QTest::keyClick(delay, Qt::Key_Tab);
    QCoreApplication::processEvents();
    d.validateEditedFields();
    QCOMPARE(p.Alarm1Delay, int16_t(1));
    QVERIFY_PROMPTS(prompter);
}

void TestFrmAlarms::okStoresTheFieldBeingTyped()
{
    ParameterSet p = calibrated();
    ScriptedPrompter prompter;
    expectWarning(prompter, "Value must be less than or equal to 245", "Alarm Minimum VSS");
    frmAlarms d(p, prompter);
    QVERIFY(showActive(&d));
    typeInto(field(&d, "txtAlarm2MinRPM"), "3000");
    click(&d, "cmdOK");  // the focus is still in the field
    QCOMPARE(p.Alarm2MinRPM, int16_t(30));
    QVERIFY(!d.isVisible());

    // The same with a value that needs clamping, through the modal loop.
    frmAlarms d2(p, prompter);
    QTimer::singleShot(0, &d2, [&] {
        typeInto(field(&d2, "txtAlarm1MinVSS"), "300");
        click(&d2, "cmdOK");
    });
    d2.exec();
    QCOMPARE(p.Alarm1MinVSS, int16_t(245));
    QVERIFY_PROMPTS(prompter);
}

void TestFrmAlarms::closingTheWindowStoresTheFieldBeingTyped()
{
    ParameterSet p = calibrated();
    ScriptedPrompter prompter;
    frmAlarms d(p, prompter);
    QVERIFY(showActive(&d));
    typeInto(field(&d, "txtAlarm1Delay"), "2");
    QTest::keyClick(field(&d, "txtAlarm1Delay"), Qt::Key_Escape);
    QVERIFY(!d.isVisible());
    QCOMPARE(p.Alarm1Delay, int16_t(62));  // 62.5 to even
    QVERIFY_PROMPTS(prompter);
}

void TestFrmAlarms::restoreDefaultsCancelChangesNothing()
{
    ParameterSet p = calibrated();
    p.Alarm1Input = 3;
    p.Alarm1Above = 77;
    p.Alarm2MinVSS = 12;
    p.Alarm1Color = 0x123456;
    const ParameterSet before = p;
    ScriptedPrompter prompter;
    expectRestoreQuestion(prompter, "This action will reset all alarm parameters to default values.",
                          PromptAnswer::Cancel);
    frmAlarms d(p, prompter);
    click(&d, "cmdRestoreDefaults");
    QVERIFY(p == before);
    QVERIFY(checked(&d, "optInput1MAP2Bar"));
    QCOMPARE(slider(&d, "sldAlarm1AboveVolts")->value(), 77);
    QCOMPARE(text(&d, "txtAlarm2MinVSS"), QStringLiteral("12"));
    QCOMPARE(swatch(&d, "txtAlarm1Color"), 0x123456);
    QCOMPARE(enabledStates(&d, kAlarm1Switched), allEnabled(kAlarm1Switched, true));
    QVERIFY_PROMPTS(prompter);
}

void TestFrmAlarms::restoreDefaultsOk()
{
    ParameterSet p = calibrated();
    p.Alarm1Input = 1;  // AFR with In-Hg: the label must go empty, the unit become psi
    p.Alarm2Input = 1;
    p.Alarm1Above = 3;
    p.Alarm2Below = 200;
    p.Alarm1MinTPSPercent = 40;
    p.Alarm1MinTPS = 120;
    p.Alarm2MinRPM = 30;
    p.Alarm1MinVSS = 70;
    p.Alarm2Delay = 9;
    p.Alarm1Color = p.Alarm2Color = 0xFF0000;
    const ParameterSet before = p;
    ScriptedPrompter prompter;
    expectRestoreQuestion(prompter, "This action will reset all alarm parameters to default values.", PromptAnswer::OK);
    frmAlarms d(p, prompter);
    click(&d, "cmdRestoreDefaults");

    ParameterSet expected = before;
    frmAlarms::assignAlarmDefaults(expected);
    QVERIFY(p == expected);
    QVERIFY(!p.Alarm1Enable && !p.Alarm2Enable);
    QVERIFY(p.Alarm1PressurePSI);
    QCOMPARE(p.Alarm1Color, 0x00FFFF);
    QCOMPARE(p.Alarm2Above, int16_t(255));
    QCOMPARE(p.TPSZero, int16_t(44));  // nothing outside the alarms

    QVERIFY(!checked(&d, "chkAlarm1Enable") && !checked(&d, "chkAlarm2Enable"));
    QCOMPARE(enabledStates(&d, kAlarm1Switched + kAlarm2Switched), allEnabled(kAlarm1Switched + kAlarm2Switched, false));
    QVERIFY(checked(&d, "optInput1Analog") && checked(&d, "optInput2Analog") && checked(&d, "optPSI"));
    QVERIFY(!shown(&d, "fraPressure") && !shown(&d, "txtAlarm1AboveVal") && !shown(&d, "txtAlarm2BelowVal"));
    QCOMPARE(label(&d, "lblAlarm1Units"), QString());
    QCOMPARE(swatch(&d, "txtAlarm1Color"), 0x00FFFF);
    QCOMPARE(swatch(&d, "txtAlarm2Color"), 0x00FFFF);
    for (const char* a : {"1", "2"}) {
        const QString n = QString::fromLatin1(a);
        QCOMPARE(field(&d, "txtAlarm" + n + "AboveVolts")->text(), QStringLiteral("5.00"));
        QCOMPARE(field(&d, "txtAlarm" + n + "BelowVolts")->text(), QStringLiteral("0.00"));
        QCOMPARE(field(&d, "txtAlarm" + n + "AboveVal")->text(), QStringLiteral("5.0"));
        QCOMPARE(field(&d, "txtAlarm" + n + "BelowVal")->text(), QStringLiteral("0.0"));
        QCOMPARE(child<QSlider>(&d, "sldAlarm" + n + "AboveVolts")->value(), 255);
        QCOMPARE(child<QSlider>(&d, "sldAlarm" + n + "BelowVolts")->value(), 0);
        QCOMPARE(field(&d, "txtAlarm" + n + "MinTPS")->text(), QStringLiteral("0"));
        QCOMPARE(field(&d, "txtAlarm" + n + "MinRPM")->text(), QStringLiteral("0"));
        QCOMPARE(field(&d, "txtAlarm" + n + "MinVSS")->text(), QStringLiteral("0"));
        QCOMPARE(field(&d, "txtAlarm" + n + "Delay")->text(), QStringLiteral("0.00"));
    }
    QVERIFY_PROMPTS(prompter);
}

void TestFrmAlarms::colourPicker_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QList<int>>("answers");  // colour answers; -1 = Cancel
    QTest::addColumn<QList<int>>("errorAnswers");  // answers to the error prompt, in order
    QTest::addColumn<int>("alarm1");
    QTest::addColumn<int>("alarm2");

    using L = QList<int>;
    const int a = int(PromptAnswer::Abort), r = int(PromptAnswer::Retry), i = int(PromptAnswer::Ignore);
    QTest::newRow("picked") << "cmdAlarm1Color" << L{0x123456} << L{} << 0x123456 << 0x0000FF;
    QTest::newRow("high bits dropped") << "cmdAlarm2Color" << L{int(0xFF00FF00)} << L{} << 0x00FF00 << 0x00FF00;
    QTest::newRow("cancel, abort") << "cmdAlarm1Color" << L{-1} << L{a} << 0x00FF00 << 0x0000FF;
    QTest::newRow("cancel, retry, pick") << "cmdAlarm1Color" << L{-1, 0x654321} << L{r} << 0x654321 << 0x0000FF;
    QTest::newRow("cancel, ignore") << "cmdAlarm2Color" << L{-1} << L{i} << 0x00FF00 << 0x0000FF;
}

void TestFrmAlarms::colourPicker()
{
    QFETCH(QString, button);
    QFETCH(QList<int>, answers);
    QFETCH(QList<int>, errorAnswers);

    ParameterSet p = calibrated();
    p.Alarm1Color = 0x00FF00;
    p.Alarm2Color = 0x0000FF;
    ScriptedPrompter prompter;
    for (int answer : answers) {
        prompter.expectColor(answer == -1 ? std::nullopt : std::optional<uint32_t>(uint32_t(answer)));
        if (answer == -1)
            prompter.expectError(QString::fromLatin1(EditorDialog::kColorCancelled),
                                 PromptAnswer(errorAnswers.takeFirst()));
    }
    frmAlarms d(p, prompter);
    click(&d, button);
    QTEST(int(p.Alarm1Color), "alarm1");
    QTEST(int(p.Alarm2Color), "alarm2");
    QTEST(swatch(&d, "txtAlarm1Color"), "alarm1");
    QTEST(swatch(&d, "txtAlarm2Color"), "alarm2");
    // The dialog opens on the alarm's own colour.
    QCOMPARE(prompter.lastColorInitial, button == "cmdAlarm1Color" ? 0x00FF00u : 0x0000FFu);
    QVERIFY_PROMPTS(prompter);
}

void TestFrmAlarms::editedAlarmSurvivesAFile()
{
    ParameterStore store;
    loadDefaults(store);
    ParameterSet& p = store.params;
    ScriptedPrompter prompter;
    prompter.expectColor(0x332211);  // red 0x11, green 0x22, blue 0x33
    QStringList shownBefore;
    {
        frmAlarms d(p, prompter);
        QVERIFY(showActive(&d));
        click(&d, "chkAlarm1Enable");
        click(&d, "optInput1MAP2Bar");
        click(&d, "optPSI");
        slider(&d, "sldAlarm1AboveVolts")->setValue(200);
        slider(&d, "sldAlarm1BelowVolts")->setValue(20);
        enter(&d, "txtAlarm1MinTPS", "50");
        enter(&d, "txtAlarm1MinRPM", "4500");
        enter(&d, "txtAlarm1MinVSS", "33");
        enter(&d, "txtAlarm1Delay", "1.5");
        click(&d, "cmdAlarm1Color");
        click(&d, "chkAlarm2Enable");
        click(&d, "optInput2AFR");
        slider(&d, "sldAlarm2BelowVolts")->setValue(7);
        for (QLineEdit* f : d.findChildren<QLineEdit*>())
            shownBefore << f->objectName() + "=" + f->text();
        click(&d, "cmdOK");
    }
    QVERIFY(UpdateEEPROM(p, store.image).ok);

    QTemporaryDir dir;
    const QString path = dir.filePath("alarm.dat");
    QVERIFY(datafile::write(path, store.image).ok);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes.size(), 144);
    const auto at = [&](int offset) { return int(uint8_t(bytes[offset - 16])); };
    // Alarm 1 at 96-106: flags (enable, psi), input, above, below, min TPS count,
    // min RPM / 100, min VSS, delay ticks, colour red green blue.
    const QList<int> alarm1 = {0x03, 3, 200, 20, 140, 45, 33, 47, 0x11, 0x22, 0x33};
    for (int i = 0; i < alarm1.size(); ++i)
        QCOMPARE(at(96 + i), alarm1[i]);
    const QList<int> alarm2 = {0x01, 1, 255, 7, 0, 0, 0, 0, 255, 255, 0};
    for (int i = 0; i < alarm2.size(); ++i)
        QCOMPARE(at(112 + i), alarm2[i]);

    ImageBuffer readBack;
    QVERIFY(datafile::read(path, readBack).ok);
    ParameterSet decoded;
    QVERIFY(UpdateParams(readBack, decoded).ok);
    QCOMPARE(decoded.Alarm1Enable, true);
    QCOMPARE(decoded.Alarm1PressurePSI, true);
    QCOMPARE(int(decoded.Alarm1Input), 3);
    QCOMPARE(decoded.Alarm1MinTPS, int16_t(140));
    QCOMPARE(decoded.Alarm1Delay, int16_t(47));
    QCOMPARE(decoded.Alarm1Color, 0x332211);
    QCOMPARE(decoded.Alarm2Below, int16_t(7));
    QCOMPARE(int(decoded.Alarm2Input), 1);

    frmAlarms again(decoded, prompter);
    QStringList shownAfter;
    for (QLineEdit* f : again.findChildren<QLineEdit*>())
        shownAfter << f->objectName() + "=" + f->text();
    QCOMPARE(shownAfter, shownBefore);
    QVERIFY_PROMPTS(prompter);
}

QTEST_MAIN(TestFrmAlarms)
#include "tst_frmalarms.moc"
