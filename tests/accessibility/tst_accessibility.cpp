// What a screen reader gets from the editing windows: every control a person works says what it is, names
// follow the values they carry, the shift chart reads out gear by gear.
#include "editor/shiftchart.h"
#include "shell/portpanel.h"
#include "shell/transfers.h"
#include "support/openwindows.h"

#include <QAccessible>
#include <QtTest>
#include <QtWidgets>

namespace {

// The roles of the controls a person works (besides any the Tab key reaches).
const QList<QAccessible::Role> kWorked{QAccessible::PushButton, QAccessible::CheckBox, QAccessible::RadioButton,
    QAccessible::Slider, QAccessible::SpinBox, QAccessible::ComboBox, QAccessible::EditableText, QAccessible::MenuItem};

QString heard(QWidget* w, QAccessible::Text what = QAccessible::Name)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(what) : QStringLiteral("(no interface)");
}

// On Linux a combo box's name is its current item; the reader names it by its own name or its label.
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

// Every interface that shows, with the group box around it, which Qt names an unnamed control after.
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
QWidget* open(const QString& window, Windows& w)
{
    w.editorMode(window != "editor, single stage", window == "editor, gear detection");
    if (window == "main window, defaults")
        w.main.mnuDisplayDefaults->trigger();
    else if (window == "main window, programming") {
        w.main.mnuDisplayDefaults->trigger();
        w.main.transfers->showProgress(QStringLiteral("Programming"));
        w.main.transfers->setProgress(40);
    } else if (window == "main window, port setup")
        w.main.fraPortSelect->show();
    const QMap<QString, QWidget*> dialogs{{"alarms", &w.alarms}, {"GPO", &w.gpo}, {"VSS alarm", &w.vss}};
    return window.startsWith("main") ? &w.main : window.startsWith("editor") ? &w.editor : dialogs.value(window);
}

}  // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { usePrivateSettings(); }

    // Each control a person works has a name of its own: not empty, not just its frame's title (Qt's fallback),
    // and no two in one frame alike.
    void everyControlIsNamed_data()
    {
        QTest::addColumn<QString>("window");
        for (const char* window : {"alarms", "GPO", "VSS alarm", "editor, single stage", "editor, gear detection",
                                   "editor, shift window", "main window, empty", "main window, port setup",
                                   "main window, defaults", "main window, programming"})
            QTest::newRow(window) << QString::fromLatin1(window);
    }
    void everyControlIsNamed()
    {
        QFETCH(QString, window);
        Windows windows(true);
        QWidget* w = open(window, windows);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QStringList faults;
        QSet<QString> seen;
        int controls = 0;
        QList<std::pair<QAccessibleInterface*, QAccessibleInterface*>> tree;
        walk(QAccessible::queryAccessibleInterface(w), nullptr, tree);
        for (const auto& [iface, frame] : tree) {
            auto* c = qobject_cast<QWidget*>(iface->object());
            if (!kWorked.contains(iface->role()) && !(c && (c->focusPolicy() & Qt::TabFocus)))
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

    // A slider and a swatch are heard with the value they show, and follow it.
    void namesFollowValues()
    {
        Windows w(true);
        w.alarms.sldAlarm1AboveVolts->setValue(128);
        QCOMPARE(heard(w.alarms.sldAlarm1AboveVolts), QStringLiteral("Alarm 1, Above: 2.51 Volts, 17.0 In-Hg"));
        w.prompter.expectColor(0x332211);
        w.vss.cmdAlarmVSSColor->click();
        QCOMPARE(heard(w.vss.txtAlarmVSSColor), QStringLiteral("VSS Alarm Color: 17, 34, 51"));
        QVERIFY_PROMPTS(w.prompter);
    }

    // The chart reads out each gear's shift point (and speed, with gear detection) and follows a validated field.
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
        w.editor.show();
        w.editor.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.editor));
        w.editor.txtShiftRPM3->setText("9000");
        w.editor.txtShiftRPM3->setModified(true);
        QTest::keyClick(w.editor.txtShiftRPM3, Qt::Key_Return);
        QTEST(heard(w.editor.shiftChart, QAccessible::Description), "description");
        QVERIFY_PROMPTS(w.prompter);
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
