// What a screen reader and the keyboard get from the editing windows: every control a
// person works says what it is, names follow the values they carry, the shift chart reads
// out gear by gear, and Return presses the button that has the focus.
#include "editor/shiftchart.h"
#include "shell/help.h"
#include "shell/portpanel.h"
#include "shell/startpanel.h"
#include "shell/transfers.h"
#include "support/openwindows.h"

#include <QAccessible>
#include <QtTest>
#include <QtWidgets>

namespace {

// The roles of the controls a person works (besides any the Tab key reaches).
bool worked(QAccessible::Role role)
{
    static const QList<QAccessible::Role> roles{QAccessible::PushButton, QAccessible::CheckBox,
        QAccessible::RadioButton, QAccessible::Slider, QAccessible::SpinBox, QAccessible::ComboBox,
        QAccessible::EditableText, QAccessible::MenuItem};
    return roles.contains(role);
}

QString heard(QWidget* w, QAccessible::Text what = QAccessible::Name)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(what) : QStringLiteral("(no interface)");
}

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

// Every interface that shows, with the frame (group box) around it, which Qt names an
// unnamed control after.
void walk(QAccessibleInterface* iface, QAccessibleInterface* frame,
          QList<std::pair<QAccessibleInterface*, QAccessibleInterface*>>& out)
{
    if (!iface || iface->state().invisible)
        return;
    out.append(std::make_pair(iface, frame));
    if (iface->role() == QAccessible::Grouping)
        frame = iface;
    for (int i = 0; i < iface->childCount(); ++i)
        walk(iface->child(i), frame, out);
}

// The window as the person has it open, every editor with all of its controls showing.
QWidget* open(const QString& window, Windows& w, std::unique_ptr<QWidget>& owned)
{
    if (window == "help")  // the built-in manual: no help file in that folder
        return (owned.reset(showHelp(nullptr, QStringLiteral("/nonexistent"))), owned.get());
    w.editorMode(window != "editor, single stage", window == "editor, gear detection");
    if (window == "main window, defaults")
        w.main.mnuDisplayDefaults->trigger();
    else if (window == "main window, adapter offered")
        w.main.fraStart->showPort({QStringLiteral("Com 1"), QStringLiteral("/dev/ttyS0"), false,
                                   QStringLiteral("USB serial adapter (/dev/ttyUSB0)")});
    else if (window == "main window, programming") {
        w.main.mnuDisplayDefaults->trigger();
        w.main.transfers->showProgress(QStringLiteral("Programming"));
        w.main.transfers->setProgress(40);
    } else if (window == "main window, port setup")
        w.main.fraPortSelect->show();
    const QMap<QString, QWidget*> dialogs{{"alarms", &w.alarms}, {"GPO", &w.gpo}, {"VSS alarm", &w.vss}};
    return window.startsWith("main") ? &w.main : window.startsWith("editor") ? &w.editor : dialogs.value(window);
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
private slots:
    void initTestCase() { usePrivateSettings(); }

    // Each control a person works has a name of its own: not empty, not just the title of
    // the frame it sits in (Qt's fallback), and no two in one frame alike.
    void everyControlIsNamed_data()
    {
        QTest::addColumn<QString>("window");
        for (const char* window : {"alarms", "GPO", "VSS alarm", "editor, single stage", "editor, gear detection",
                                   "editor, shift window", "help", "main window, empty", "main window, port setup",
                                   "main window, defaults", "main window, adapter offered", "main window, programming"})
            QTest::newRow(window) << QString::fromLatin1(window);
    }
    void everyControlIsNamed()
    {
        QFETCH(QString, window);
        Windows windows(true);
        std::unique_ptr<QWidget> owned;
        QWidget* w = open(window, windows, owned);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QStringList faults;
        QSet<QString> seen;
        int controls = 0;
        QList<std::pair<QAccessibleInterface*, QAccessibleInterface*>> tree;
        walk(QAccessible::queryAccessibleInterface(w), nullptr, tree);
        for (const auto& [iface, frame] : tree) {
            auto* c = qobject_cast<QWidget*>(iface->object());
            if (!worked(iface->role()) && !(c && (c->focusPolicy() & Qt::TabFocus)))
                continue;
            ++controls;
            const QString what = c ? c->objectName() : iface->text(QAccessible::Name);
            const QString name = nameOf(iface);
            const QString said = QString::number(quintptr(frame ? frame->object() : nullptr)) + name + " / "
                                 + iface->text(QAccessible::Description);
            if (name.trimmed().isEmpty())
                faults << what + ": no name";
            else if (frame && name == frame->text(QAccessible::Name))
                faults << what + ": only its frame's title, " + name;
            else if (seen.contains(said))
                faults << what + ": the same as another control, " + said;
            seen.insert(said);
        }
        QVERIFY(controls >= 4);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }

    // Sliders, the boxes beside them, the swatches and the progress bar are heard with the
    // value they show, and follow it.
    void namesFollowValues()
    {
        Windows w(true);
        frmAlarms& alarms = w.alarms;
        alarms.sldAlarm1AboveVolts->setValue(128);
        alarms.sldAlarm2BelowVolts->setValue(0);
        QCOMPARE((QStringList{heard(alarms.sldAlarm1AboveVolts), heard(alarms.txtAlarm1AboveVal),
                              heard(alarms.sldAlarm2BelowVolts)}),
                 (QStringList{"Alarm 1, Above: 2.51 Volts, 17.0 In-Hg", "Alarm Above, In-Hg",
                              "Alarm 2, Below: 0.00 Volts, 10.0 AFR"}));

        QCOMPARE(heard(w.vss.txtAlarmVSSColor), QStringLiteral("VSS Alarm Color: 255, 0, 0"));
        w.prompter.expectColor(0x332211);
        w.vss.cmdAlarmVSSColor->click();
        QCOMPARE(heard(w.vss.txtAlarmVSSColor), QStringLiteral("VSS Alarm Color: 17, 34, 51"));
        QVERIFY_PROMPTS(w.prompter);

        std::unique_ptr<QWidget> none;
        open("main window, programming", w, none);
        QProgressBar* bar = w.main.fraProgress1->prgProgress1;
        QCOMPARE(heard(bar) + ' ' + heard(bar, QAccessible::Value), QStringLiteral("Programming 40"));
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
        Windows w;
        ParameterSet& p = w.store.params;
        p.ShiftRPM1 = 6000, p.ShiftRPM2 = 6500, p.ShiftRPM3 = 7000, p.ShiftRPM4 = 650, p.ShiftRPM5 = 7200;
        p.ShiftVSS1 = 10, p.ShiftVSS2 = 20, p.ShiftVSS3 = 30, p.ShiftVSS4 = 40, p.ShiftVSS5 = 250;
        p.LaunchRPM = 4000;
        w.editorMode(true, gearDetect);
        QVERIFY(showActive(&w.editor));
        w.editor.txtShiftRPM3->setText("9000");
        w.editor.txtShiftRPM3->setModified(true);
        QTest::keyClick(w.editor.txtShiftRPM3, Qt::Key_Return);
        QCOMPARE(heard(w.editor.shiftChart), QStringLiteral("Shift points"));
        QTEST(heard(w.editor.shiftChart, QAccessible::Description), "description");
        QVERIFY_PROMPTS(w.prompter);
    }

    // Return (or Enter) on a focused button presses it; in a field it presses nothing, and
    // other keys on a button press nothing either.
    void returnPressesTheFocusedButton()
    {
        Windows w(true);
        QVERIFY(showActive(&w.vss));
        w.prompter.expectColor(0x00FF00);
        const QList<std::pair<QWidget*, int>> keys{{w.vss.txtAlarmVSSMin, Qt::Key_Return}, {w.vss.cmdOK, Qt::Key_A},
            {w.vss.cmdAlarmVSSColor, Qt::Key_Return}, {w.vss.cmdOK, Qt::Key_Enter}};
        for (const auto& [target, key] : keys) {
            QVERIFY(w.vss.isVisible());
            target->setFocus(Qt::TabFocusReason);
            QTest::keyClick(target, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        }
        QVERIFY(!w.vss.isVisible() && w.vss.result() == QDialog::Accepted);
        QVERIFY_PROMPTS(w.prompter);
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
