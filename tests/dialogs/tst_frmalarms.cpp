// The user defined alarms dialog: opening, field limits, Restore Defaults, and an
// edited alarm (colour pickers too) through encoding, a data file and decoding.
#include "alarms/frmalarms.h"
#include "dialogtesting.h"
#include "params/codec.h"
#include "params/datafile.h"
#include "params/defaults.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

using namespace dialogtesting;

namespace {

// "enabled/all" for each alarm's input controls (all but its enable box).
QString states(QWidget* d)
{
    QString out;
    for (const char* frame : {"fraAlarm1", "fraAlarm2"}) {
        const auto all = child(d, frame)->findChildren<QWidget*>(QRegularExpression("^(txt|opt|sld|cmd)"));
        const auto on = std::count_if(all.begin(), all.end(), [](QWidget* w) { return w->isEnabled(); });
        out += QStringLiteral("%1/%2 ").arg(on).arg(all.size());
    }
    return out.trimmed();
}
QString text(QWidget* d, const QString& name) { return field(d, name)->text(); }
QString label(QWidget* d, const QString& name) { return child<QLabel>(d, name)->text(); }
using Member = int16_t ParameterSet::*;

// The factory set (TPS calibration 44 to 235) with both alarms on.
ParameterSet alarmsOn()
{
    ParameterStore s;
    loadDefaults(s);
    s.params.Alarm1Enable = s.params.Alarm2Enable = true;
    return s.params;
}

}  // namespace

Q_DECLARE_METATYPE(Member)

class TestFrmAlarms : public QObject {
    Q_OBJECT
private slots:
    void opensShowingTheParameters();
    void typedValues_data();
    void typedValues();
    void restoreDefaults();
    void editedAlarmSurvivesAFile();
};

// Opening shows the set without changing a threshold: an unknown input code as the
// 3 bar sensor, any other code on alarm 2 as wide-band. The unit follows the input
// type and the pressure unit; each enable switch sets its flag and that alarm's controls.
void TestFrmAlarms::opensShowingTheParameters()
{
    ParameterSet p;
    p.Alarm1Input = 7;
    p.Alarm1Above = 255;
    p.Alarm1Below = 1;
    p.Alarm2Input = 9;
    p.Alarm2Above = 51;
    p.Alarm2Enable = true;
    ScriptedPrompter prompter;
    frmAlarms d(p, prompter);
    // Unit, value above ("-": no value column), pressure unit ("": none).
    const auto alarm1 = [&] {
        return QStringList{label(&d, "lblAlarm1Units"), d.txtAlarm1AboveVal->isHidden() ? "-" : text(&d, "txtAlarm1AboveVal"),
                           child(&d, "fraPressure")->isHidden() ? "" : checked(&d, "optPSI") ? "psi" : "In-Hg"}.join(' ');
    };
    QVERIFY(checked(&d, "optInput1MAP3Bar") && p.Alarm1Input == 4 && p.Alarm1Above == 255 && p.Alarm2Input == 1);
    QCOMPARE(alarm1(), QStringLiteral("In-Hg 93.2 In-Hg"));
    QCOMPARE(text(&d, "txtAlarm1AboveVolts") + " " + text(&d, "txtAlarm1BelowVolts"), QStringLiteral("5.00 0.02"));
    QCOMPARE(label(&d, "lblAlarm2Units") + " " + text(&d, "txtAlarm2AboveVal"), QStringLiteral("AFR 12.0"));
    QVERIFY(field(&d, "txtAlarm1AboveVolts")->isReadOnly() && text(&d, "txtAlarm1Color").isEmpty());
    QCOMPARE(states(&d), QStringLiteral("0/19 14/14"));
    click(&d, "chkAlarm1Enable");
    click(&d, "chkAlarm2Enable");
    QVERIFY(p.Alarm1Enable && !p.Alarm2Enable);
    QCOMPARE(states(&d), QStringLiteral("19/19 0/14"));
    click(&d, "optInput1MAP2Bar");
    click(&d, "optPSI");
    QCOMPARE(alarm1(), QStringLiteral("psi 30.2 psi"));
    click(&d, "optInput1AFR");  // the pressure unit does not overwrite the wide-band label
    QCOMPARE(alarm1(), QStringLiteral("AFR 20.0 "));
    click(&d, "optInput1Analog");
    QCOMPARE(alarm1(), QStringLiteral(" - "));

    QVERIFY_PROMPTS(prompter);
}

// A value typed and left with Tab, OK, Esc (in the modal loop) or a click on Pick
// Color is checked and stored, before the button acts; a limit is reported once and
// the field shows the limit. Passing through a field keeps what it shows unless the
// stored value is one the field would refuse.
void TestFrmAlarms::typedValues_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("leave");    // tab, ok, esc, color; pass: Tab through without typing
    QTest::addColumn<QString>("message");  // "title: text"
    QTest::addColumn<QString>("shows");
    QTest::addColumn<Member>("member");
    QTest::addColumn<int>("value");
    // One tick shows as 0.05 s, which would read back as two: passing through keeps it.
    QTest::newRow("unedited one tick kept") << "Alarm2Delay" << "" << "pass" << "" << "0.05" << &ParameterSet::Alarm2Delay
                                            << 1;
    QTest::newRow("typed as shown") << "Alarm2Delay" << "0.05" << "tab" << "" << "0.05" << &ParameterSet::Alarm2Delay
                                    << 2;
    QTest::newRow("stored above range") << "Alarm2MinVSS" << "" << "pass"
                                        << "Alarm Minimum VSS: Value must be less than or equal to 245" << "245"
                                        << &ParameterSet::Alarm2MinVSS << 245;
    QTest::newRow("then Pick Color") << "Alarm1MinRPM" << "-5" << "color"
                                     << "Alarm Minimum RPM: Value must be greater than or equal to zero" << "0"
                                     << &ParameterSet::Alarm1MinRPM << 0;
    QTest::newRow("OK while typing") << "Alarm2MinRPM" << "3000" << "ok" << "" << "3000" << &ParameterSet::Alarm2MinRPM
                                     << 30;
    QTest::newRow("Esc, clamped") << "Alarm1MinVSS" << "300" << "esc"
                                  << "Alarm Minimum VSS: Value must be less than or equal to 245" << "245"
                                  << &ParameterSet::Alarm1MinVSS << 245;
}

void TestFrmAlarms::typedValues()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, leave);
    QFETCH(QString, message);
    QFETCH(Member, member);
    ParameterSet p = alarmsOn();
    p.Alarm2Delay = 1;
    p.Alarm2MinVSS = 250;
    ScriptedPrompter prompter;
    expectWarning(prompter, message);
    if (leave == "color")
        prompter.expectColor(0x00FF00);
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
        f->setFocus(Qt::TabFocusReason);
        if (!typed.isEmpty())
            typeInto(f, typed);
        if (leave == "ok")
            click(&d, "cmdOK");  // the focus still in the field
        else if (leave == "color")  // as a person clicks: the press first
            QTest::mouseClick(child<QAbstractButton>(&d, "cmdAlarm1Color"), Qt::LeftButton);
        else
            QTest::keyClick(f, Qt::Key_Tab);
    }
    QCoreApplication::processEvents();
    d.validateFocusedField();  // a value already checked is neither reported nor changed again
    QCOMPARE(d.isVisible(), leave != "ok" && leave != "esc");
    QTEST(f->text(), "shows");
    QTEST(int(p.*member), "value");
    QVERIFY_PROMPTS(prompter);
}

void TestFrmAlarms::restoreDefaults()
{
    for (bool ok : {false, true}) {
        ParameterSet p = alarmsOn();
        p.Alarm1Input = p.Alarm2Input = 1;  // AFR with In-Hg: the label must go empty, the unit become psi
        p.Alarm1Above = p.Alarm2Below = p.Alarm1MinRPM = p.Alarm2MinVSS = p.Alarm2Delay = 50;
        p.Alarm1Color = p.Alarm2Color = 0xFF0000;
        p.GPOMaxRPM = 77;  // not an alarm: stays
        ParameterSet expected = p;
        if (ok) {  // the alarms go back to the factory values, with psi
            expected = alarmsOn();
            expected.Alarm1Enable = expected.Alarm2Enable = false;
            expected.Alarm1PressurePSI = true;
            expected.GPOMaxRPM = 77;
        }
        ScriptedPrompter prompter;
        expectRestore(prompter, "alarm", ok);
        frmAlarms d(p, prompter);
        click(&d, "cmdRestoreDefaults");
        QVERIFY(p == expected);
        frmAlarms fresh(expected, prompter);  // shown exactly as a dialog opened on the result shows it
        QCOMPARE(snapshot(&d), snapshot(&fresh));
        QVERIFY_PROMPTS(prompter);
    }
}

void TestFrmAlarms::editedAlarmSurvivesAFile()
{
    ParameterStore store;
    loadDefaults(store);
    store.params.Alarm2Color = 0x0000FF;
    ScriptedPrompter prompter;
    // A Cancel in the picker asks what to do: Retry asks again, Abort keeps the colour.
    prompter.expectColor(std::nullopt).expectError(kColorCancelled, PromptAnswer::Retry);
    prompter.expectColor(0x332211);  // red 0x11, green 0x22, blue 0x33
    prompter.expectColor(std::nullopt).expectError(kColorCancelled, PromptAnswer::Abort);
    frmAlarms d(store.params, prompter);
    QVERIFY(showActive(&d));
    click(&d, "chkAlarm1Enable");
    d.sldAlarm1AboveVolts->setValue(200);  // before the input type: that leaves the counts
    d.sldAlarm1BelowVolts->setValue(20);
    click(&d, "optInput1MAP2Bar");
    click(&d, "optPSI");
    enter(&d, "txtAlarm1MinTPS", "50");
    enter(&d, "txtAlarm1MinRPM", "4500");
    enter(&d, "txtAlarm1MinVSS", "33");
    enter(&d, "txtAlarm1Delay", "1.5");
    click(&d, "cmdAlarm1Color");
    click(&d, "chkAlarm2Enable");
    click(&d, "cmdAlarm2Color");
    QCOMPARE(prompter.lastColorInitial, 0x0000FFu);  // the picker opens on the alarm's own colour
    d.sldAlarm2BelowVolts->setValue(7);
    click(&d, "optInput2AFR");
    const QStringList shownBefore = snapshot(&d);
    click(&d, "cmdOK");
    QVERIFY(UpdateEEPROM(store.params, store.image).ok);
    QTemporaryDir dir;
    const QString path = dir.filePath("alarm.dat");
    QVERIFY(datafile::write(path, store.image).ok);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    // Each alarm at 96 and 112 (the file starts at 16): flags (enable, psi), input,
    // above, below, min TPS count, min RPM / 100, min VSS, delay ticks, colour red green blue.
    QCOMPARE(bytes.mid(96 - 16, 11).toHex(' '), QByteArray("03 03 c8 14 8c 2d 21 2f 11 22 33"));
    QCOMPARE(bytes.mid(112 - 16, 11).toHex(' '), QByteArray("01 01 ff 07 00 00 00 00 ff 00 00"));

    ImageBuffer readBack;
    QVERIFY(datafile::read(path, readBack).ok);
    ParameterSet decoded;
    QVERIFY(UpdateParams(readBack, decoded).ok);
    frmAlarms again(decoded, prompter);
    QCOMPARE(snapshot(&again), shownBefore);
    QVERIFY_PROMPTS(prompter);
}

QTEST_MAIN(TestFrmAlarms)
#include "tst_frmalarms.moc"
