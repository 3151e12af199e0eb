#pragma once
// Driving the editor dialogs the way a person does: type into a field, leave it
// with Tab, press buttons; every prompt goes through a ScriptedPrompter.
#include "alarms/editordialog.h"
#include "support/scriptedprompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
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

// Shows the dialog (not modal, so the test keeps control) and makes it the active
// window, so focus changes reach its fields as they do on screen.
inline bool showActive(QWidget* dialog)
{
    dialog->show();
    dialog->activateWindow();
    return QTest::qWaitForWindowActive(dialog);
}

// Types `text` over the field's text, as a person would, leaving the focus there.
inline void typeInto(QLineEdit* f, const QString& text)
{
    f->setFocus(Qt::MouseFocusReason);
    f->selectAll();
    if (text.isEmpty())
        QTest::keyClick(f, Qt::Key_Delete);
    else
        QTest::keyClicks(f, text);
}

// Types into the field and leaves it with Tab; the validation runs right after the
// focus change.
inline void enter(QWidget* dialog, const QString& name, const QString& text)
{
    QLineEdit* f = field(dialog, name);
    typeInto(f, text);
    QTest::keyClick(f, Qt::Key_Tab);
    QCoreApplication::processEvents();
}

inline void expectWarning(ScriptedPrompter& p, const QString& text, const QString& title)
{
    p.expectBox(text, title, PromptButtons::OK, PromptIcon::Exclamation, PromptAnswer::OK);
}

inline void expectRestoreQuestion(ScriptedPrompter& p, const QString& text, PromptAnswer answer)
{
    p.expectBox(text, QStringLiteral("Restore Defaults"), PromptButtons::OKCancel, PromptIcon::Critical, answer);
}

inline void click(QWidget* dialog, const QString& name) { child<QAbstractButton>(dialog, name)->click(); }

inline int swatch(QWidget* dialog, const QString& name) { return EditorDialog::swatchColor(field(dialog, name)); }

// The enabled state of each named control, as "name=1 name=0 ...", for one compare.
inline QString enabledStates(QWidget* dialog, const QStringList& names)
{
    QStringList out;
    for (const QString& n : names)
        out << QStringLiteral("%1=%2").arg(n).arg(child(dialog, n)->isEnabled() ? 1 : 0);
    return out.join(QLatin1Char(' '));
}

inline QString allEnabled(const QStringList& names, bool enabled)
{
    QStringList out;
    for (const QString& n : names)
        out << QStringLiteral("%1=%2").arg(n).arg(enabled ? 1 : 0);
    return out.join(QLatin1Char(' '));
}

}  // namespace dialogtesting
