// What a screen reader and the keyboard get from the editing windows: every control a
// person works says what it is, names follow the values they carry, the shift chart reads
// out gear by gear, and Return presses the button that has the focus.
#include "alarms/frmalarms.h"
#include "editor/parametereditor.h"
#include "editor/shiftchart.h"
#include "emulator/emulatedport.h"
#include "gpo/frmgpo.h"
#include "shell/help.h"
#include "shell/mainwindow.h"
#include "shell/portpanel.h"
#include "shell/startpanel.h"
#include "shell/transfers.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"
#include "vss_alarm/frmalarmvss.h"

#include <QAccessible>
#include <QtTest>
#include <QtWidgets>

namespace {

// The roles of the controls a person works (besides any the Tab key reaches).
bool worked(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::Slider:
    case QAccessible::SpinBox:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::MenuItem: return true;
    default: return false;
    }
}

QString heard(QWidget* w, QAccessible::Text what = QAccessible::Name)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(what) : QStringLiteral("(no interface)");
}

// What a screen reader is given of a window: every interface below it that shows, each
// with the frame (group box) around it, which Qt names an unnamed control after.
struct Heard {
    QAccessibleInterface* iface;
    QAccessibleInterface* frame;
};
// On Linux a combo box's name is its current item; the reader names the box by a name
// given to it, or by the label related to it.
QString nameOf(QAccessibleInterface* iface)
{
    if (iface->role() != QAccessible::ComboBox)
        return iface->text(QAccessible::Name);
    const auto* box = qobject_cast<QWidget*>(iface->object());
    QString name = box ? box->accessibleName() : QString();
    for (const auto& [label, relation] : iface->relations(QAccessible::Label))
        if (name.isEmpty() && label->role() != QAccessible::Grouping)  // not the frame around it
            name = label->text(QAccessible::Name);
    return name;
}

void walk(QAccessibleInterface* iface, QAccessibleInterface* frame, QList<Heard>& out)
{
    if (!iface || iface->state().invisible)
        return;
    out.append(Heard{iface, frame});
    if (iface->role() == QAccessible::Grouping)
        frame = iface;
    for (int i = 0; i < iface->childCount(); ++i)
        walk(iface->child(i), frame, out);
}

// A window as the person has it open: every editor with all of its controls showing.
std::unique_ptr<QWidget> open(const QString& window, ParameterStore& store, Prompter& prompter)
{
    if (window.startsWith("main window")) {
        static EmulatedController controller;  // outlives every window
        static EmulatedPort port(controller);
        auto w = std::make_unique<frmRevora_Main>(prompter, port, QStringList{QStringLiteral("Velmont Sensors")});
        if (window == "main window, defaults")
            w->mnuDisplayDefaults->trigger();
        else if (window == "main window, adapter offered")
            w->fraStart->showPort({QStringLiteral("Com 1"), QStringLiteral("/dev/ttyS0"), false,
                                   QStringLiteral("USB serial adapter (/dev/ttyUSB0)")});
        else if (window == "main window, programming") {
            w->mnuDisplayDefaults->trigger();
            w->transfers->showProgress(QStringLiteral("Programming"));
            w->transfers->setProgress(40);
        } else
            w->fraPortSelect->show();  // Communications > Port Setup
        return w;
    }
    ParameterSet& p = store.params;
    p.Alarm1Enable = p.Alarm2Enable = p.GPOEnable = p.AlarmVSSEnable = true;
    p.Alarm1Input = 2;  // MAP: the pressure unit and value boxes show
    p.Alarm2Input = 1;
    if (window == "GPO")
        return std::make_unique<frmGPO>(p, prompter);
    if (window == "VSS alarm")
        return std::make_unique<frmAlarmVSS>(p, prompter);
    if (window == "alarms")
        return std::make_unique<frmAlarms>(p, prompter);
    if (window == "help")  // the built-in manual: no help file in that folder
        return std::unique_ptr<QWidget>(showHelp(nullptr, QStringLiteral("/nonexistent")));
    p.MultiStageShift = window != "editor, single stage";
    p.VSSGearDetect = window == "editor, gear detection";
    auto editor = std::make_unique<ParameterEditor>(store, prompter);
    editor->refresh();
    return editor;
}

bool showActive(QWidget* w)
{
    w->show();
    w->activateWindow();
    return QTest::qWaitForWindowActive(w);
}

}  // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
    QTemporaryDir m_home;

private slots:
    // The window reads and writes the settings store: a private one.
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("XDG_CONFIG_HOME", m_home.filePath("config").toUtf8());
        qputenv("HOME", m_home.filePath("home").toUtf8());
    }

    // Each control a person works, as a screen reader walks the window, has a name of its
    // own: not empty, not just the title of the frame it sits in (Qt's fallback), and no
    // two in one frame alike. A label that names a control sits beside it, to its left,
    // or right above it.
    void everyControlIsNamed_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("alarms") << "alarms";
        QTest::newRow("GPO") << "GPO";
        QTest::newRow("VSS alarm") << "VSS alarm";
        QTest::newRow("editor, single stage") << "editor, single stage";
        QTest::newRow("editor, gear detection") << "editor, gear detection";
        QTest::newRow("editor, shift window") << "editor, shift window";
        QTest::newRow("help") << "help";
        QTest::newRow("main window, empty, port setup") << "main window, empty";
        QTest::newRow("main window, defaults") << "main window, defaults";
        QTest::newRow("main window, adapter offered") << "main window, adapter offered";
        QTest::newRow("main window, programming") << "main window, programming";
    }
    void everyControlIsNamed()
    {
        QFETCH(QString, window);
        ParameterStore store = defaultsStore();
        ScriptedPrompter prompter;
        const auto w = open(window, store, prompter);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QStringList faults;
        QSet<QString> seen;
        int controls = 0;
        QList<Heard> tree;
        walk(QAccessible::queryAccessibleInterface(w.get()), nullptr, tree);
        for (const Heard& h : tree) {
            auto* c = qobject_cast<QWidget*>(h.iface->object());
            if (!worked(h.iface->role()) && !(c && (c->focusPolicy() & Qt::TabFocus)))
                continue;
            ++controls;
            const QString what = c ? c->objectName() : h.iface->text(QAccessible::Name);
            const QString name = nameOf(h.iface);
            const QString said = name + " / " + h.iface->text(QAccessible::Description);
            const QString frameKey = QString::number(quintptr(h.frame ? h.frame->object() : nullptr));
            if (name.trimmed().isEmpty())
                faults << what + ": no name";
            else if (h.frame && name == h.frame->text(QAccessible::Name))
                faults << what + ": only its frame's title, " + name;
            else if (seen.contains(frameKey + said))
                faults << what + ": the same as another control, " + said;
            seen.insert(frameKey + said);
        }
        for (QLabel* label : w->findChildren<QLabel*>()) {
            QWidget* named = label->buddy();
            if (!named || !label->isVisible())
                continue;
            const QRect l(label->mapTo(w.get(), QPoint()), label->size());
            const QRect c(named->mapTo(w.get(), QPoint()), named->size());
            const bool beside = l.right() < c.left() && l.center().y() >= c.top() && l.center().y() <= c.bottom();
            const bool above = l.bottom() < c.top() && l.left() == c.left() && c.top() - l.bottom() < l.height();
            if (!beside && !above)
                faults << label->objectName() + ": away from " + named->objectName();
        }
        QVERIFY(controls >= 4);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }

    // Sliders, the boxes beside them and the swatches are heard with the value they show,
    // and follow it.
    void namesFollowValues()
    {
        ParameterStore store = defaultsStore();
        ScriptedPrompter prompter;
        const auto alarmsWindow = open("alarms", store, prompter);
        auto* alarms = static_cast<frmAlarms*>(alarmsWindow.get());
        store.params.AlarmVSSColor = 0x0000FF;  // red in the low byte
        frmAlarmVSS vss(store.params, prompter);
        const auto heardAlarm = [&] {
            return QStringList{heard(alarms->sldAlarm1AboveVolts), heard(alarms->txtAlarm1AboveVal),
                               heard(alarms->sldAlarm2BelowVolts)};
        };
        alarms->sldAlarm1AboveVolts->setValue(128);
        alarms->sldAlarm2BelowVolts->setValue(0);
        QCOMPARE(heardAlarm(), (QStringList{"Alarm 1, Above: 2.51 Volts, 17.0 In-Hg", "Alarm Above, In-Hg",
                                            "Alarm 2, Below: 0.00 Volts, 10.0 AFR"}));
        QVERIFY(alarms->fraPressure->isVisibleTo(alarms));  // with the MAP 1 bar input
        alarms->optPSI->click();
        alarms->sldAlarm1AboveVolts->setValue(255);
        alarms->optInput2Analog->click();
        QCOMPARE(heardAlarm(), (QStringList{"Alarm 1, Above: 5.00 Volts, 15.2 psi", "Alarm Above, psi",
                                            "Alarm 2, Below: 0.00 Volts"}));

        QCOMPARE(heard(vss.txtAlarmVSSColor), QStringLiteral("VSS Alarm Color: 255, 0, 0"));
        prompter.expectColor(0x332211);
        vss.cmdAlarmVSSColor->click();
        QCOMPARE(heard(vss.txtAlarmVSSColor), QStringLiteral("VSS Alarm Color: 17, 34, 51"));
        QCOMPARE(heard(vss.cmdAlarmVSSColor, QAccessible::Description), QStringLiteral("VSS Alarm Color"));
        QVERIFY_PROMPTS(prompter);

        // The progress bar is heard with what is being done and how far it is.
        const auto mainWindow = open("main window, programming", store, prompter);
        auto* main = static_cast<frmRevora_Main*>(mainWindow.get());
        QProgressBar* bar = main->fraProgress1->prgProgress1;
        QCOMPARE(heard(bar) + ' ' + heard(bar, QAccessible::Value), QStringLiteral("Programming 40"));
        main->transfers->showProgress(QStringLiteral("Verifying"));
        QCOMPARE(heard(bar), QStringLiteral("Verifying"));
    }

    // The chart reads out each gear's shift point (and, with gear detection, its speed) and
    // the launch point, and follows a field as it is validated.
    void chartReadsOutTheGears_data()
    {
        QTest::addColumn<bool>("gearDetect");
        QTest::addColumn<QString>("description");
        QTest::newRow("gear detection") << true
            << "Gear 1: 6000 RPM, 10 MPH; Gear 2: 6500 RPM, 20 MPH; Gear 3: 9000 RPM, 30 MPH; "
               "Gear 4: 650 RPM, 40 MPH; Gear 5: 7200 RPM, 250 MPH; Launch: 4000 RPM";
        QTest::newRow("shift window") << false
            << "Gear 1: 6000 RPM; Gear 2: 6500 RPM; Gear 3: 9000 RPM; Gear 4: 650 RPM; Gear 5: 7200 RPM; "
               "Launch: 4000 RPM";
    }
    void chartReadsOutTheGears()
    {
        QFETCH(bool, gearDetect);
        ParameterStore store = defaultsStore();
        ParameterSet& p = store.params;
        p.ShiftRPM1 = 6000, p.ShiftRPM2 = 6500, p.ShiftRPM3 = 7000, p.ShiftRPM4 = 650, p.ShiftRPM5 = 7200;
        p.ShiftVSS1 = 10, p.ShiftVSS2 = 20, p.ShiftVSS3 = 30, p.ShiftVSS4 = 40, p.ShiftVSS5 = 250;
        p.LaunchRPM = 4000;
        ScriptedPrompter prompter;
        const auto w = open(gearDetect ? "editor, gear detection" : "editor, shift window", store, prompter);
        auto* editor = static_cast<ParameterEditor*>(w.get());
        QVERIFY(showActive(editor));
        editor->txtShiftRPM3->setText("9000");
        editor->txtShiftRPM3->setModified(true);
        QTest::keyClick(editor->txtShiftRPM3, Qt::Key_Return);
        QCOMPARE(heard(editor->shiftChart), QStringLiteral("Shift points"));
        QTEST(heard(editor->shiftChart, QAccessible::Description), "description");
        QVERIFY_PROMPTS(prompter);
    }

    // Return (or Enter) on a focused button presses it, in every editor dialog; in a field it
    // only validates the field and presses nothing.
    void returnPressesTheFocusedButton_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("focused");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("closes");
        QTest::newRow("GPO, OK") << "GPO" << "cmdOK" << int(Qt::Key_Return) << true;
        QTest::newRow("VSS alarm, OK, Enter") << "VSS alarm" << "cmdOK" << int(Qt::Key_Enter) << true;
        QTest::newRow("alarms, OK") << "alarms" << "cmdOK" << int(Qt::Key_Return) << true;
        QTest::newRow("alarms, Restore Defaults") << "alarms" << "cmdRestoreDefaults" << int(Qt::Key_Return) << false;
        QTest::newRow("VSS alarm, Pick Color") << "VSS alarm" << "cmdAlarmVSSColor" << int(Qt::Key_Return) << false;
        QTest::newRow("GPO, a field") << "GPO" << "txtGPOMinRPM" << int(Qt::Key_Return) << false;
        QTest::newRow("GPO, OK, another key") << "GPO" << "cmdOK" << int(Qt::Key_A) << false;
    }
    void returnPressesTheFocusedButton()
    {
        QFETCH(QString, window);
        QFETCH(QString, focused);
        QFETCH(int, key);
        ParameterStore store = defaultsStore();
        ScriptedPrompter prompter;
        if (focused == "cmdRestoreDefaults")
            prompter.expectBox("This action will reset all alarm parameters to default values.", "Restore Defaults",
                               PromptButtons::OKCancel, PromptIcon::Critical, PromptAnswer::Cancel);
        if (focused == "cmdAlarmVSSColor")
            prompter.expectColor(0x00FF00);
        const auto w = open(window, store, prompter);
        auto* dialog = static_cast<QDialog*>(w.get());
        QVERIFY(showActive(dialog));
        QWidget* target = dialog->findChild<QWidget*>(focused);
        target->setFocus(Qt::TabFocusReason);
        QTest::keyClick(target, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCoreApplication::processEvents();
        QTEST(!dialog->isVisible(), "closes");
        QCOMPARE(dialog->result(), dialog->isVisible() ? 0 : int(QDialog::Accepted));
        QVERIFY_PROMPTS(prompter);
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
