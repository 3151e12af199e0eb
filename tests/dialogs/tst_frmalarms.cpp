// The user defined alarms dialog: what it shows when it opens, what each control
// stores, the field limits, Restore Defaults, the colour pickers, and that an edited
// alarm survives encoding, a data file and decoding.
#include "alarms/frmalarms.h"
#include "dialogtesting.h"
#include "params/codec.h"
#include "params/datafile.h"
#include "params/defaults.h"

#include <QFile>
#include <QGroupBox>
#include <QTemporaryDir>
#include <QTimer>

using namespace dialogtesting;

namespace {

// "N on, M off" for alarm n's input controls (all but its enable box).
QString controlStates(QWidget* d, int n)
{
    int on = 0, off = 0;
    for (QWidget* w : child(d, QStringLiteral("fraAlarm%1").arg(n))->findChildren<QWidget*>()) {
        const bool input = qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractButton*>(w) || qobject_cast<QSlider*>(w);
        if (input && !w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("chk")))
            ++(w->isEnabled() ? on : off);
    }
    return QStringLiteral("%1 on, %2 off").arg(on).arg(off);
}
const QString kRestoreQuestion = "This action will reset all alarm parameters to default values.";

QString text(QWidget* d, const QString& name) { return field(d, name)->text(); }
bool checked(QWidget* d, const QString& name) { return child<QAbstractButton>(d, name)->isChecked(); }
bool shown(QWidget* d, const QString& name) { return !child(d, name)->isHidden(); }
QSlider* slider(QWidget* d, const QString& name) { return child<QSlider>(d, name); }
QString label(QWidget* d, const QString& name) { return child<QLabel>(d, name)->text(); }

int stored(const ParameterSet& p, const QString& name)
{
    static const QMap<QString, int16_t ParameterSet::*> member = {
        {"Alarm1Delay", &ParameterSet::Alarm1Delay},   {"Alarm2Delay", &ParameterSet::Alarm2Delay},
        {"Alarm2MinRPM", &ParameterSet::Alarm2MinRPM},
        {"Alarm1MinRPM", &ParameterSet::Alarm1MinRPM}, {"Alarm1MinTPS", &ParameterSet::Alarm1MinTPS},
        {"Alarm1MinVSS", &ParameterSet::Alarm1MinVSS}, {"Alarm2MinVSS", &ParameterSet::Alarm2MinVSS}};
    return p.*member.value(name);
}

// The factory TPS calibration, both alarms on, and conditions that are not zero.
ParameterSet calibrated()
{
    ParameterSet p;
    p.TPSZero = 44;
    p.TPSFullscale = 235;
    p.Alarm1Enable = p.Alarm2Enable = true;
    p.Alarm1Delay = p.Alarm2Delay = 100;
    p.Alarm1MinRPM = p.Alarm2MinRPM = 50;
    p.Alarm1MinTPSPercent = p.Alarm2MinTPSPercent = 10;
    p.Alarm1MinTPS = p.Alarm2MinTPS = 63;
    p.Alarm1MinVSS = p.Alarm2MinVSS = 20;
    return p;
}

}  // namespace

class TestFrmAlarms : public QObject {
    Q_OBJECT
private slots:
    void opensShowingTheParameters_data();
    void opensShowingTheParameters();
    void sliders();
    void typedValues_data();
    void typedValues();
    void restoreDefaults_data();
    void restoreDefaults();
    void colourPicker_data();
    void colourPicker();
    void editedAlarmSurvivesAFile();
};

void TestFrmAlarms::opensShowingTheParameters_data()
{
    QTest::addColumn<int>("input");
    QTest::addColumn<bool>("psi");
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("storedInput");
    QTest::addColumn<QString>("unit");  // empty: no value column
    QTest::addColumn<QString>("aboveValue");
    QTest::newRow("analog") << 0 << false << "optInput1Analog" << 0 << "" << "5.0";
    // The pressure unit does not overwrite the wide-band label.
    QTest::newRow("AFR with psi") << 1 << true << "optInput1AFR" << 1 << "AFR" << "20.0";
    QTest::newRow("MAP 2 bar psi") << 3 << true << "optInput1MAP2Bar" << 3 << "psi" << "30.2";
    QTest::newRow("unknown code 7") << 7 << false << "optInput1MAP3Bar" << 4 << "In-Hg" << "93.2";
}

void TestFrmAlarms::opensShowingTheParameters()
{
    QFETCH(int, input);
    QFETCH(bool, psi);
    QFETCH(QString, option);
    QFETCH(int, storedInput);
    QFETCH(QString, unit);
    ParameterSet p;
    p.Alarm1Input = static_cast<uint8_t>(input);
    p.Alarm1PressurePSI = psi;
    p.Alarm1Above = 255;
    p.Alarm1Below = 1;
    p.Alarm1Color = 0x0000FF;
    p.Alarm2Color = 0x00FFFF;
    p.Alarm2Input = 9;  // anything but analog is taken as wide-band
    p.Alarm2Above = 51;
    p.Alarm1MinTPSPercent = 50;
    p.Alarm1MinRPM = 15;
    p.Alarm1MinVSS = 60;
    p.Alarm1Delay = 3;
    p.Alarm2Enable = true;
    ScriptedPrompter prompter;
    frmAlarms d(p, prompter);

    QCOMPARE(d.windowTitle(), QStringLiteral("User Defined Alarms"));
    QVERIFY(d.isModal());
    QCOMPARE(child<QGroupBox>(&d, "fraPressure")->title(), QStringLiteral("MAP Pressure"));
    QCOMPARE(label(&d, "lblAlarm2Enable"), QStringLiteral("Enable Alarm 2"));
    QCOMPARE(child<QAbstractButton>(&d, "optInput1Analog")->text(), QStringLiteral("Analog (0-5V)"));
    QVERIFY(field(&d, "txtAlarm1AboveVolts")->isReadOnly() && field(&d, "txtAlarm2BelowVal")->isReadOnly());
    QVERIFY(!d.findChild<QWidget*>("optInput2MAP1Bar"));  // alarm 2 has no MAP inputs

    QVERIFY(checked(&d, option) && checked(&d, psi ? "optPSI" : "optInHg"));
    QCOMPARE(int(p.Alarm1Input), storedInput);
    QCOMPARE(shown(&d, "fraPressure"), storedInput >= 2);
    for (const char* name : {"txtAlarm1AboveVal", "txtAlarm1BelowVal", "lblAlarm1Units"})
        QCOMPARE(shown(&d, name), !unit.isEmpty());
    QCOMPARE(label(&d, "lblAlarm1Units"), unit);
    QTEST(text(&d, "txtAlarm1AboveVal"), "aboveValue");
    QCOMPARE(text(&d, "txtAlarm1AboveVolts") + " " + text(&d, "txtAlarm1BelowVolts"), QStringLiteral("5.00 0.02"));
    QCOMPARE(slider(&d, "sldAlarm1AboveVolts")->value(), 255);
    QCOMPARE(int(p.Alarm1Above), 255);  // opening changes no threshold
    QVERIFY(checked(&d, "optInput2AFR"));
    QCOMPARE(int(p.Alarm2Input), 1);
    QCOMPARE(label(&d, "lblAlarm2Units") + " " + text(&d, "txtAlarm2AboveVal"), QStringLiteral("AFR 12.0"));
    QCOMPARE(texts(&d, {"txtAlarm1MinTPS", "txtAlarm1MinRPM", "txtAlarm1MinVSS", "txtAlarm1Delay", "txtAlarm2Delay"}),
             QStringLiteral("txtAlarm1MinTPS=50;txtAlarm1MinRPM=1500;txtAlarm1MinVSS=60;txtAlarm1Delay=0.10;"
                            "txtAlarm2Delay=0.00"));
    QCOMPARE(swatch(&d, "txtAlarm1Color"), 0x0000FF);
    QCOMPARE(swatch(&d, "txtAlarm2Color"), 0x00FFFF);
    QVERIFY(text(&d, "txtAlarm1Color").isEmpty());

    // Alarm 1 off, alarm 2 on; the switch changes the flag and that alarm only.
    QCOMPARE(controlStates(&d, 1) + "; " + controlStates(&d, 2), QStringLiteral("0 on, 19 off; 14 on, 0 off"));
    click(&d, "chkAlarm1Enable");
    click(&d, "chkAlarm2Enable");
    QVERIFY(p.Alarm1Enable && !p.Alarm2Enable);
    QCOMPARE(controlStates(&d, 1) + "; " + controlStates(&d, 2), QStringLiteral("19 on, 0 off; 0 on, 14 off"));
    QVERIFY(child(&d, "chkAlarm2Enable")->isEnabled());
    QVERIFY_PROMPTS(prompter);
}

// Each slider stores its own threshold and its boxes follow while it is dragged; the
// keyboard moves it by whole counts, up being towards 5 V.
void TestFrmAlarms::sliders()
{
    ParameterSet p = calibrated();
    p.Alarm1Input = p.Alarm2Input = 1;
    p.Alarm1Above = p.Alarm1Below = p.Alarm2Above = p.Alarm2Below = 100;
    ScriptedPrompter prompter;
    frmAlarms d(p, prompter);
    const QStringList stems = {"Alarm1Above", "Alarm1Below", "Alarm2Above", "Alarm2Below"};
    const int16_t* thresholds[] = {&p.Alarm1Above, &p.Alarm1Below, &p.Alarm2Above, &p.Alarm2Below};
    for (int i = 0; i < 4; ++i) {
        QSlider* s = slider(&d, "sld" + stems[i] + "Volts");
        s->setSliderDown(true);
        s->setSliderPosition(51);
        QCOMPARE(text(&d, "txt" + stems[i] + "Volts") + " " + text(&d, "txt" + stems[i] + "Val"),
                 QStringLiteral("1.00 12.0"));
        s->setSliderDown(false);
        QTest::keyClick(s, Qt::Key_Up);
        for (int j = 0; j < 4; ++j)
            QCOMPARE(int(*thresholds[j]), j <= i ? 52 : 100);
    }
    QVERIFY_PROMPTS(prompter);
}

// A value typed and left with Tab, OK or Esc (in the modal loop) is checked and
// stored; a limit is reported once and the field shows the limit.
void TestFrmAlarms::typedValues_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("leave");  // tab, ok, esc; pass: Tab through without typing
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("shows");
    QTest::addColumn<int>("value");

    const QString le = "Value must be less than or equal to ", zero = "Value must be greater than or equal to zero";
    QTest::newRow("delay above") << "Alarm1Delay" << "9" << "tab" << le + "8.0" << "Alarm Delay" << "8.00" << 250;
    QTest::newRow("delay half tick") << "Alarm1Delay" << "0.08" << "tab" << "" << "" << "0.05" << 2;
    QTest::newRow("rpm below") << "Alarm2MinRPM" << "-5" << "tab" << zero << "Alarm Minimum RPM" << "0" << 0;
    QTest::newRow("tps above") << "Alarm1MinTPS" << "96" << "tab" << le + "95%" << "Alarm Minimum TPS" << "95" << 225;
    QTest::newRow("vss trailing text") << "Alarm1MinVSS" << "55 mph" << "tab" << "" << "" << "55" << 55;
    QTest::newRow("letters") << "Alarm1Delay" << "abc" << "tab" << "" << "" << "0.00" << 0;
    // One tick shows as 0.05 s, which would read back as two: passing through keeps it.
    QTest::newRow("unedited one tick kept") << "Alarm2Delay" << "" << "pass" << "" << "" << "0.05" << 1;
    QTest::newRow("OK while typing") << "Alarm2MinRPM" << "3000" << "ok" << "" << "" << "3000" << 30;
    QTest::newRow("Esc, 62.5 ticks to even") << "Alarm1Delay" << "2" << "esc" << "" << "" << "" << 62;
    QTest::newRow("Esc, clamped") << "Alarm1MinVSS" << "300" << "esc" << le + "245" << "Alarm Minimum VSS" << "245"
                                  << 245;
}

void TestFrmAlarms::typedValues()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, leave);
    QFETCH(QString, message);
    QFETCH(QString, title);
    QFETCH(QString, shows);
    ParameterSet p = calibrated();
    p.Alarm2Delay = 1;
    ScriptedPrompter prompter;
    if (!message.isEmpty())
        expectWarning(prompter, message, title);
    frmAlarms d(p, prompter);
    QLineEdit* f = field(&d, "txt" + name);
    if (leave == "esc") {
        QTimer::singleShot(0, &d, [&] {
            typeInto(f, typed);
            QTest::keyClick(f, Qt::Key_Escape);
        });
        d.exec();
    } else {
        QVERIFY(showActive(&d));
        if (leave == "pass") {
            f->setFocus(Qt::TabFocusReason);
            QTest::keyClick(f, Qt::Key_Tab);
            QCoreApplication::processEvents();
            d.validateEditedFields();
        } else if (leave == "tab") {
            enter(&d, f->objectName(), typed);
        } else {
            typeInto(f, typed);  // the focus stays in the field
            click(&d, "cmdOK");
        }
    }
    QCOMPARE(d.isVisible(), leave == "tab" || leave == "pass");
    if (!shows.isEmpty())
        QCOMPARE(f->text(), shows);
    QTEST(stored(p, name), "value");
    QVERIFY_PROMPTS(prompter);
}

void TestFrmAlarms::restoreDefaults_data()
{
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
}

void TestFrmAlarms::restoreDefaults()
{
    QFETCH(bool, ok);
    ParameterSet p = calibrated();
    p.Alarm1Input = p.Alarm2Input = 1;  // AFR with In-Hg: the label must go empty, the unit become psi
    p.Alarm1Above = 3;
    p.Alarm2Below = 200;
    p.Alarm1Color = p.Alarm2Color = 0xFF0000;
    const ParameterSet before = p;
    ScriptedPrompter prompter;
    expectRestoreQuestion(prompter, kRestoreQuestion, ok ? PromptAnswer::OK : PromptAnswer::Cancel);
    frmAlarms d(p, prompter);
    const QStringList shownBefore = snapshot(&d);
    click(&d, "cmdRestoreDefaults");
    if (!ok) {
        QVERIFY(p == before);
        QCOMPARE(snapshot(&d), shownBefore);
        QVERIFY_PROMPTS(prompter);
        return;
    }
    ParameterSet expected = before;  // nothing outside the alarms changes
    expected.Alarm1Enable = expected.Alarm2Enable = false;
    expected.Alarm1Color = expected.Alarm2Color = 0x00FFFF;
    expected.Alarm1Input = expected.Alarm2Input = 0;
    expected.Alarm1PressurePSI = true;
    expected.Alarm1Above = expected.Alarm2Above = 255;
    expected.Alarm1Below = expected.Alarm2Below = 0;
    expected.Alarm1MinTPSPercent = expected.Alarm2MinTPSPercent = 0;
    expected.Alarm1MinTPS = expected.Alarm2MinTPS = expected.Alarm1MinRPM = expected.Alarm2MinRPM = 0;
    expected.Alarm1MinVSS = expected.Alarm2MinVSS = expected.Alarm1Delay = expected.Alarm2Delay = 0;
    QVERIFY(p == expected);

    // The dialog shows the defaults exactly as one freshly opened on them does.
    QVERIFY(checked(&d, "optPSI") && label(&d, "lblAlarm1Units").isEmpty());
    QCOMPARE(controlStates(&d, 1) + "; " + controlStates(&d, 2), QStringLiteral("0 on, 19 off; 0 on, 14 off"));
    ParameterSet copy = expected;
    frmAlarms fresh(copy, prompter);
    QCOMPARE(snapshot(&d), snapshot(&fresh));
    QVERIFY_PROMPTS(prompter);
}

void TestFrmAlarms::colourPicker_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QList<int>>("answers");       // colour answers; -1 = Cancel
    QTest::addColumn<QList<int>>("errorAnswers");  // answers to the error prompt, in order
    QTest::addColumn<int>("alarm1");
    QTest::addColumn<int>("alarm2");

    using L = QList<int>;
    const int a = int(PromptAnswer::Abort), r = int(PromptAnswer::Retry), i = int(PromptAnswer::Ignore);
    QTest::newRow("picked") << "cmdAlarm1Color" << L{0x123456} << L{} << 0x123456 << 0x0000FF;
    QTest::newRow("cancel, abort") << "cmdAlarm2Color" << L{-1} << L{a} << 0x00FF00 << 0x0000FF;
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
        slider(&d, "sldAlarm1AboveVolts")->setValue(200);  // before the input type: that leaves the counts
        slider(&d, "sldAlarm1BelowVolts")->setValue(20);
        click(&d, "optInput1MAP2Bar");
        click(&d, "optPSI");
        enter(&d, "txtAlarm1MinTPS", "50");
        enter(&d, "txtAlarm1MinRPM", "4500");
        enter(&d, "txtAlarm1MinVSS", "33");
        enter(&d, "txtAlarm1Delay", "1.5");
        click(&d, "cmdAlarm1Color");
        click(&d, "chkAlarm2Enable");
        slider(&d, "sldAlarm2BelowVolts")->setValue(7);
        click(&d, "optInput2AFR");
        shownBefore = snapshot(&d);
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
    // Each alarm at 96 and 112 (the file starts at 16): flags (enable, psi), input,
    // above, below, min TPS count, min RPM / 100, min VSS, delay ticks, colour red green blue.
    QCOMPARE(bytes.mid(96 - 16, 11).toHex(' '), QByteArray("03 03 c8 14 8c 2d 21 2f 11 22 33"));
    QCOMPARE(bytes.mid(112 - 16, 11).toHex(' '), QByteArray("01 01 ff 07 00 00 00 00 ff ff 00"));

    ImageBuffer readBack;
    QVERIFY(datafile::read(path, readBack).ok);
    ParameterSet decoded;
    QVERIFY(UpdateParams(readBack, decoded).ok);
    QVERIFY(decoded.Alarm1Enable && decoded.Alarm1PressurePSI && decoded.Alarm2Enable);
    QCOMPARE(decoded.Alarm1MinTPS, int16_t(140));
    QCOMPARE(decoded.Alarm1Delay, int16_t(47));
    QCOMPARE(decoded.Alarm1Color, 0x332211);
    frmAlarms again(decoded, prompter);
    QCOMPARE(snapshot(&again), shownBefore);
    QVERIFY_PROMPTS(prompter);
}

QTEST_MAIN(TestFrmAlarms)
#include "tst_frmalarms.moc"
