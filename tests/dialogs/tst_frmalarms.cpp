// The user defined alarms dialog: opening, and an edited alarm (colour pickers too)
// through encoding and decoding.
#include "alarms/frmalarms.h"
#include "dialogtesting.h"
#include "params/codec.h"
#include "params/defaults.h"

#include <QRegularExpression>

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

}  // namespace

class TestFrmAlarms : public QObject {
    Q_OBJECT
private slots:
    void opensShowingTheParameters();
    void editedAlarmSurvivesEncoding();
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

void TestFrmAlarms::editedAlarmSurvivesEncoding()
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
    // Each alarm at 96 and 112 (the block starts at 16): flags (enable, psi), input,
    // above, below, min TPS count, min RPM / 100, min VSS, delay ticks, colour red green blue.
    const QByteArray bytes = store.image.configBlock();
    QCOMPARE(bytes.mid(96 - 16, 11).toHex(' '), QByteArray("03 03 c8 14 8c 2d 21 2f 11 22 33"));
    QCOMPARE(bytes.mid(112 - 16, 11).toHex(' '), QByteArray("01 01 ff 07 00 00 00 00 ff 00 00"));
    ParameterSet decoded;
    QVERIFY(UpdateParams(store.image, decoded).ok);
    frmAlarms again(decoded, prompter);
    QCOMPARE(snapshot(&again), shownBefore);
    QVERIFY_PROMPTS(prompter);
}

QTEST_MAIN(TestFrmAlarms)
#include "tst_frmalarms.moc"
