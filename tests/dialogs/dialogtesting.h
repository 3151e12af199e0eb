#pragma once
// Driving the editor dialogs the way a person does: type into a field, leave it
// with Tab, press buttons; every prompt goes through a ScriptedPrompter.
#include "alarms/editordialog.h"
#include "support/scriptedprompter.h"

#include <QAbstractButton>
#include <QApplication>
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

// "field=text;field=text" for the named fields.
inline QString texts(QWidget* dialog, const QStringList& names)
{
    QStringList out;
    for (const QString& n : names)
        out << n + QLatin1Char('=') + field(dialog, n)->text();
    return out.join(QLatin1Char(';'));
}

// What a person sees of every named control (text, swatch, check, slider, enabled,
// hidden), one line each, so two dialogs or one dialog at two moments compare at once.
inline QStringList snapshot(QWidget* dialog)
{
    QStringList out;
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        QString s = w->objectName() + (w->isEnabled() ? " on" : " off") + (w->isHidden() ? " hidden" : "");
        if (auto* f = qobject_cast<QLineEdit*>(w))
            s += QStringLiteral(" '%1' %2").arg(f->text()).arg(EditorDialog::swatchColor(f), 0, 16);
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

inline QString allEnabled(const QStringList& names, bool enabled)
{
    QStringList out;
    for (const QString& n : names)
        out << QStringLiteral("%1=%2").arg(n).arg(enabled ? 1 : 0);
    return out.join(QLatin1Char(' '));
}

}  // namespace dialogtesting
