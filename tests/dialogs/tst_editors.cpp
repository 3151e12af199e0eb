// The three editor dialogs (user alarms, GPO, VSS alarm), driven as a person does.
#include "alarms/frmalarms.h"
#include "gpo/frmgpo.h"
#include "params/codec.h"
#include "params/defaults.h"
#include "params/fieldrules.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"
#include "vss_alarm/frmalarmvss.h"

#include <QtTest>
#include <QtWidgets>

namespace {

QLineEdit* field(QWidget* dialog, const QString& name) { return dialog->findChild<QLineEdit*>(name); }
void click(QWidget* dialog, const QString& name) { dialog->findChild<QAbstractButton*>(name)->click(); }

// Not modal, so the test keeps control; active, so focus changes reach the fields.
bool showActive(QWidget* dialog)
{
    dialog->show();
    dialog->activateWindow();
    return QTest::qWaitForWindowActive(dialog);
}

// Types over the field's text, and leaves with Tab unless told; the validation runs right after the focus change.
void enter(QWidget* dialog, const QString& name, const QString& text, bool leave = true)
{
    QLineEdit* f = field(dialog, name);
    f->setFocus(Qt::MouseFocusReason);
    f->selectAll();
    QTest::keyClicks(f, text);
    if (leave)
        QTest::keyClick(f, Qt::Key_Tab);
    QCoreApplication::processEvents();
}

// What a person sees of every named control, one line each, to compare two moments at once.
QStringList snapshot(QWidget* dialog)
{
    QStringList out;
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        QString s = w->objectName() + (w->isEnabled() ? " on" : " off") + (w->isHidden() ? " hidden" : "");
        if (auto* f = qobject_cast<QLineEdit*>(w))
            s += QStringLiteral(" '%1' %2").arg(f->text()).arg(swatchColor(f), 0, 16);
        else if (auto* b = qobject_cast<QAbstractButton*>(w))
            s += b->isChecked() ? QStringLiteral(" checked") : QString();
        else if (auto* sl = qobject_cast<QSlider*>(w))
            s += QLatin1Char(' ') + QString::number(sl->value());
        else if (auto* l = qobject_cast<QLabel*>(w))
            s += QStringLiteral(" '%1'").arg(l->text());
        out << s;
    }
    return out;
}

std::unique_ptr<EditorDialog> open(const QString& what, ParameterSet& p, Prompter& prompter)
{
    if (what == "GPO")
        return std::make_unique<frmGPO>(p, prompter);
    if (what == "VSS alarm")
        return std::make_unique<frmAlarmVSS>(p, prompter);
    return std::make_unique<frmAlarms>(p, prompter);
}

void expectRestore(ScriptedPrompter& p, const QString& what, bool ok)
{
    p.expectBox("This action will reset all " + what + " parameters to default values.", "Restore Defaults",
                PromptButtons::OKCancel, PromptIcon::Critical, ok ? PromptAnswer::OK : PromptAnswer::Cancel);
}

// The factory set (TPS calibration 44 to 235) with every dialog's values away from their defaults.
ParameterSet edited()
{
    ParameterSet p = defaultsStore().params;
    p.Alarm1Enable = p.Alarm2Enable = true;
    p.Alarm1Input = p.Alarm2Input = 1;  // AFR with In-Hg: the label must go empty, the unit become psi
    p.Alarm1Above = p.Alarm2Below = p.Alarm1MinRPM = p.Alarm2Delay = 50;
    p.Alarm2MinVSS = 250;  // above the field's range
    p.Alarm1Color = p.Alarm2Color = 0xFF0000;
    p.GPOEnable = p.AlarmVSSEnable = false, p.GPOOneShotDelay = true;
    p.GPOMinRPM = p.GPOOffTPS = p.GPOMaxVSS = p.GPODelay = 100;
    p.AlarmVSSMin = 40, p.AlarmVSSMax = 60, p.AlarmVSSColor = 0x0000FF;
    return p;
}

}  // namespace

class TestEditors : public QObject {
    Q_OBJECT
private slots:
    // An unknown input code opens as 3 bar (alarm 2: wide-band), no threshold changed; GPO and VSS switches work.
    void switchesAndInputs()
    {
        ParameterSet p;
        p.Alarm1Input = 7, p.Alarm1Above = 255, p.Alarm2Input = 9, p.Alarm2Enable = true;
        ScriptedPrompter prompter;
        frmAlarms d(p, prompter);
        QVERIFY(d.optInput1MAP3Bar->isChecked() && p.Alarm1Input == 4 && p.Alarm1Above == 255 && p.Alarm2Input == 1);
        frmGPO gpo(p, prompter);
        frmAlarmVSS vss(p, prompter);
        click(&gpo, "chkGPOEnable");
        click(&vss, "chkAlarmVSSEnable");
        QVERIFY(p.GPOEnable && p.AlarmVSSEnable);
        QVERIFY_PROMPTS(prompter);
    }

    // An alarm edited through every kind of control reaches the block and reads back as shown.
    void editedAlarmSurvivesEncoding()
    {
        ParameterStore store = defaultsStore();
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
        QCOMPARE(prompter.lastColorInitial, 0x332211u);  // the dialog opens on the colour it last returned
        d.sldAlarm2BelowVolts->setValue(7);
        click(&d, "optInput2AFR");
        const QStringList shownBefore = snapshot(&d);
        click(&d, "cmdOK");
        QVERIFY(UpdateEEPROM(store.params, store.image).ok);
        // Alarms at 96 and 112: flags, input, above, below, min TPS, RPM / 100, VSS, delay ticks, red green blue.
        const QByteArray bytes = store.image.configBlock();
        QCOMPARE(bytes.mid(96 - 16, 11).toHex(' '), QByteArray("03 03 c8 14 8c 2d 21 2f 11 22 33"));
        QCOMPARE(bytes.mid(112 - 16, 11).toHex(' '), QByteArray("01 01 ff 07 00 00 00 00 ff 00 00"));
        ParameterSet decoded;
        QVERIFY(UpdateParams(store.image, decoded).ok);
        frmAlarms again(decoded, prompter);
        QCOMPARE(snapshot(&again), shownBefore);
        QVERIFY_PROMPTS(prompter);
    }

    // A typed value, or a stored one the field refuses, is checked once, before the button acts or when passed
    // through; every field, a partner the rule moved too, shows what is stored.
    void typedThenAButton_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");    // null: the field only focused
        QTest::addColumn<QString>("button");   // empty: Tab
        QTest::addColumn<QString>("message");  // "title: text"
        QTest::addColumn<QString>("shown");
        QTest::newRow("GPO, OK") << "GPO" << "txtGPOOffTPS" << "97" << "cmdOK"
                                 << "Off TPS: Value must be less than or equal to 95%" << "95";
        QTest::newRow("GPO, Restore Defaults") << "GPO" << "txtGPOMaxVSS" << "5" << "cmdRestoreDefaults"
                                               << "Maximum VSS: Value must be greater than or equal to 10" << "225";
        QTest::newRow("alarms, Pick Color") << "alarm" << "txtAlarm1MinRPM" << "-5" << "cmdAlarm1Color"
                                            << "Alarm Minimum RPM: Value must be greater than or equal to zero" << "0";
        QTest::newRow("alarms, stored above range") << "alarm" << "txtAlarm2MinVSS" << QString() << ""
                                                    << "Alarm Minimum VSS: Value must be less than or equal to 245" << "245";
    }
    void typedThenAButton()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, name);
        QFETCH(QString, typed);
        QFETCH(QString, button);
        QFETCH(QString, message);
        ParameterSet p = edited();
        p.GPOEnable = p.AlarmVSSEnable = true;
        ScriptedPrompter prompter;
        prompter.expectBox(message.section(": ", 1), message.section(": ", 0, 0), PromptButtons::OK,
                           PromptIcon::Exclamation, PromptAnswer::OK);
        if (button == "cmdRestoreDefaults")
            expectRestore(prompter, dialog, true);
        if (button == "cmdAlarm1Color")
            prompter.expectColor(0x00FF00);
        const auto d = open(dialog, p, prompter);
        QLineEdit* f = field(d.get(), name);
        QVERIFY(showActive(d.get()));
        f->setFocus(Qt::TabFocusReason);
        if (!typed.isNull())
            enter(d.get(), name, typed, false);
        if (button.isEmpty())
            QTest::keyClick(f, Qt::Key_Tab);
        else  // as a person clicks: the press first, so the field is left while the button is down
            QTest::mouseClick(d->findChild<QAbstractButton*>(button), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(d->isVisible(), button != "cmdOK");
        if (d->isVisible())  // a value already checked is neither reported nor changed again
            d->validateFocusedField();
        QTEST(f->text(), "shown");
        for (QLineEdit* e : d->findChildren<QLineEdit*>())
            QVERIFY2(!fieldrules::find(e->objectName()) || fieldrules::display(e->objectName(), p) == e->text(),
                     qPrintable(e->objectName()));
        QVERIFY_PROMPTS(prompter);
    }

    // Cancel keeps everything; OK stores the factory values and shows them as a dialog opened on them does.
    void restoreDefaults_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<bool>("ok");
        QTest::newRow("alarms, Cancel") << "alarm" << false;
        QTest::newRow("alarms") << "alarm" << true;
        QTest::newRow("GPO") << "GPO" << true;
        QTest::newRow("VSS alarm") << "VSS alarm" << true;
    }
    void restoreDefaults()
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
};

QTEST_MAIN(TestEditors)
#include "tst_editors.moc"
