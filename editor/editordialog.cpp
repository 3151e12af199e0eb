#include "editor/editordialog.h"

#include "editor/screenfit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

EditorDialog::EditorDialog(ParameterSet& params, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_params(params), m_prompter(prompter), m_fields(new EditorFields(params, prompter, this)),
      m_fit(new ScreenFit(this))
{
    setModal(true);
    // No help button in the title bar: the dialogs have OK only.
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

QLineEdit* EditorDialog::makeField(const QString& name)
{
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    field->setMaximumWidth(90);
    field->setAlignment(Qt::AlignRight);
    return m_fields->add(field);
}

QLineEdit* EditorDialog::makeDisplayBox(const QString& name)
{
    auto* box = new QLineEdit(this);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    box->setMaximumWidth(70);
    box->setAlignment(Qt::AlignRight);
    return box;
}

QLineEdit* EditorDialog::makeSwatch(const QString& name) { return ::makeSwatch(name, 60, this); }

QLabel* EditorDialog::makeLabel(const QString& name, const QString& caption, QWidget* control)
{
    auto* label = new QLabel(caption, this);
    label->setObjectName(name);
    if (control)
        nameAfter(label, control);
    return label;
}

QCheckBox* EditorDialog::makeCheck(const QString& name, const QString& caption)
{
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(name);
    return box;
}

QRadioButton* EditorDialog::makeOption(const QString& name, const QString& caption)
{
    auto* option = new QRadioButton(caption, this);
    option->setObjectName(name);
    return option;
}

QPushButton* EditorDialog::makeButton(const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    // Return in a field must not press a button: there is no Cancel to undo it.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QHBoxLayout* EditorDialog::makeRestoreOkRow(QPushButton*& restoreDefaults, QPushButton*& ok)
{
    restoreDefaults = makeButton(QStringLiteral("cmdRestoreDefaults"), tr("Restore Defaults"));
    ok = makeButton(QStringLiteral("cmdOK"), tr("OK"));
    // OK leaves the field that has the focus as Restore Defaults does: validated first.
    ok->setFocusPolicy(Qt::TabFocus);
    auto* row = new QHBoxLayout;
    row->addWidget(restoreDefaults);
    row->addStretch(1);
    row->addWidget(ok);
    return row;
}

QGroupBox* EditorDialog::makeFrame(const QString& name, const QString& caption)
{
    auto* frame = new QGroupBox(caption, this);
    frame->setObjectName(name);
    return frame;
}

void EditorDialog::arrange(QLayout* content, QLayout* buttons)
{
    auto* body = new QWidget;
    body->setLayout(content);
    auto* outer = new QVBoxLayout(this);
    const QMargins margins = outer->contentsMargins();
    outer->setContentsMargins(0, 0, 0, margins.bottom());
    outer->addWidget(new ContentScrollArea(body), 1);
    buttons->setContentsMargins(margins.left(), 0, margins.right(), 0);
    outer->addLayout(buttons);
}

void EditorDialog::validateFocusedField() { m_fields->validatePending(this, false); }

void EditorDialog::done(int result)
{
    // OK, Esc and the window's close button all keep what was typed.
    validateFocusedField();
    QDialog::done(result);
}

void EditorDialog::onClick(QAbstractButton* button, std::function<void()> action)
{
    m_fields->onClick(button, std::move(action));
}

bool EditorDialog::confirmRestoreDefaults(const QString& question)
{
    return m_prompter.message(question, tr("Restore Defaults"), PromptButtons::OKCancel,
                              PromptIcon::Critical)
        != PromptAnswer::Cancel;
}

void EditorDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // At its full size where the screen allows, so large text does not push OK out of reach.
    m_fit->fitNow();
    centreOnScreen();
}

void EditorDialog::keyPressEvent(QKeyEvent* event)
{
    // No button is the default (Return in a field must not press one), so Qt leaves
    // Return on a focused button unanswered; it presses that button, as Space does.
    const bool enter = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
                       && (event->modifiers() | Qt::KeypadModifier) == Qt::KeypadModifier;
    auto* button = qobject_cast<QPushButton*>(focusWidget());
    if (enter && button && button->isEnabled()) {
        button->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void EditorDialog::centreOnScreen()
{
    QScreen* s = screen();
    if (!s)
        return;
    const QRect area = s->availableGeometry();
    QRect frame = frameGeometry();
    frame.moveCenter(area.center());
    // On a screen smaller than the dialog, keep its title bar and left edge reachable.
    move(std::max(frame.left(), area.left()), std::max(frame.top(), area.top()));
}
