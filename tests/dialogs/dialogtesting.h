#pragma once
// Driving the editor dialogs as a person does; every prompt goes through a ScriptedPrompter.
#include "alarms/editordialog.h"
#include "support/scriptedprompter.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QtTest>

namespace dialogtesting {

template <class W = QWidget>
W* child(QWidget* dialog, const QString& name)
{
    W* w = dialog->findChild<W*>(name);
    if (!w)
        qWarning("no control named %s", qPrintable(name));
    return w;
}
inline QLineEdit* field(QWidget* dialog, const QString& name) { return child<QLineEdit>(dialog, name); }
inline void click(QWidget* dialog, const QString& name) { child<QAbstractButton>(dialog, name)->click(); }
inline bool checked(QWidget* dialog, const QString& name) { return child<QAbstractButton>(dialog, name)->isChecked(); }
inline int swatch(QWidget* dialog, const QString& name) { return swatchColor(field(dialog, name)); }

// Shown (not modal, so the test keeps control) and active, so focus changes reach the fields.
inline bool showActive(QWidget* dialog)
{
    dialog->show();
    dialog->activateWindow();
    return QTest::qWaitForWindowActive(dialog);
}

// Types over the field's text and leaves the focus there.
inline void typeInto(QLineEdit* f, const QString& text)
{
    f->setFocus(Qt::MouseFocusReason);
    f->selectAll();
    QTest::keyClicks(f, text);
}

// Types and leaves with Tab; the validation runs right after the focus change.
inline void enter(QWidget* dialog, const QString& name, const QString& text)
{
    typeInto(field(dialog, name), text);
    QTest::keyClick(field(dialog, name), Qt::Key_Tab);
    QCoreApplication::processEvents();
}

// "title: text" of a field's warning; empty: none expected.
inline void expectWarning(ScriptedPrompter& p, const QString& message)
{
    if (!message.isEmpty())
        p.expectBox(message.section(": ", 1), message.section(": ", 0, 0), PromptButtons::OK, PromptIcon::Exclamation,
                    PromptAnswer::OK);
}

// Types over a field, then clicks a button as a person does: the press first, so the field
// is left while the button is down.
inline void typeThenClick(QWidget* dialog, const QString& name, const QString& typed, const QString& button)
{
    typeInto(field(dialog, name), typed);
    QTest::mouseClick(child<QAbstractButton>(dialog, button), Qt::LeftButton);
    QCoreApplication::processEvents();
}

inline void expectRestore(ScriptedPrompter& p, const QString& what, bool ok)
{
    p.expectBox("This action will reset all " + what + " parameters to default values.",
                QStringLiteral("Restore Defaults"), PromptButtons::OKCancel, PromptIcon::Critical,
                ok ? PromptAnswer::OK : PromptAnswer::Cancel);
}

// The names of the listed controls that are enabled.
inline QStringList enabled(QWidget* dialog, QStringList names)
{
    names.removeIf([dialog](const QString& n) { return !child(dialog, n)->isEnabled(); });
    return names;
}

// What a person sees of every named control, one line each, to compare two moments at once.
inline QStringList snapshot(QWidget* dialog)
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

}  // namespace dialogtesting
