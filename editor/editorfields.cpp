#include "editor/editorfields.h"

#include "editor/colorvalue.h"
#include "params/fieldrules.h"
#include "core/errortrap.h"
#include "core/prompter.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <optional>

const char* const kColorCancelled = QT_TRANSLATE_NOOP("EditorFields", "Cancel was selected.");

namespace {
constexpr char kSwatchProperty[] = "swatchRgb";
constexpr char kSwatchCaption[] = "swatchCaption";
constexpr uint32_t kColorMask = 0xFFFFFF;

// A swatch is heard as its caption and colour; the name follows every paint. One
// without a caption keeps no name, so a check for unnamed controls finds it.
void nameSwatch(QLineEdit* swatch, uint32_t value)
{
    const QString caption = swatch->property(kSwatchCaption).toString();
    if (caption.isEmpty())
        return;
    const QColor c = colorFromValue(value);
    //: A colour swatch as a screen reader says it: its caption, then red, green and blue (0-255).
    swatch->setAccessibleName(QCoreApplication::translate("EditorFields", "%1: %2, %3, %4")
                                  .arg(caption)
                                  .arg(c.red())
                                  .arg(c.green())
                                  .arg(c.blue()));
}
}  // namespace

EditorFields::EditorFields(ParameterSet& params, Prompter& prompter, QObject* parent)
    : QObject(parent), m_params(params), m_prompter(prompter)
{
}

QLineEdit* EditorFields::add(QLineEdit* field)
{
    field->setToolTip(fieldrules::tooltip(field->objectName()));
    field->installEventFilter(this);
    // Return normalises the field in place; in a dialog it must not press a button,
    // there is no Cancel to undo it.
    connect(field, &QLineEdit::returnPressed, this, [this, field] { validate(field); });
    m_fields.insert(field->objectName(), field);
    return field;
}

void EditorFields::setSuspended(bool suspended)
{
    m_suspended = suspended;
    m_leaving.clear();
}

QScopedValueRollback<bool> EditorFields::pause()
{
    m_leaving.clear();
    return QScopedValueRollback<bool>(m_suspended, true);
}

void EditorFields::show(QLineEdit* field)
{
    field->setText(fieldrules::display(field->objectName(), m_params));
    field->setModified(false);
}

void EditorFields::showAll()
{
    for (QLineEdit* f : std::as_const(m_fields))
        show(f);
}

void EditorFields::validate(QLineEdit* field)
{
    if (m_suspended || m_validating)
        return;
    // A warning box takes the focus from the next field; that is no reason to
    // validate the next field too.
    QScopedValueRollback<bool> guard(m_validating, true);
    // The rule needs to know whether the person typed the text: a text left as shown
    // keeps a value the display rounds, a typed one is stored as typed.
    const bool edited = field->isModified();
    fieldrules::Outcome out;
    ErrorTrap trap(m_prompter);
    trap.run([&]() -> StepError {
        out = fieldrules::validate(field->objectName(), field->text(), m_params, edited);
        return out.error.isEmpty() ? StepError() : StepError(out.error);
    });
    if (out.error.isEmpty() && !out.warning.isEmpty())
        m_prompter.warn(out.warning, out.warningTitle);
    if (!out.notice.isEmpty())
        m_prompter.warn(out.notice, out.noticeTitle);
    field->setText(out.text);
    field->setModified(false);
    for (auto it = out.otherTexts.cbegin(); it != out.otherTexts.cend(); ++it) {
        if (QLineEdit* other = m_fields.value(it.key())) {
            other->setText(it.value());
            other->setModified(false);
        }
    }
    emit validated(field);
}

void EditorFields::validatePending(const QWidget* window, bool editedOnly)
{
    if (QLineEdit* leaving = m_leaving.data()) {
        m_leaving.clear();
        validate(leaving);
    }
    auto* f = window ? qobject_cast<QLineEdit*>(window->focusWidget()) : nullptr;
    if (f && m_fields.value(f->objectName()) == f && (f->isModified() || !editedOnly))
        validate(f);
}

void EditorFields::onClick(QAbstractButton* button, std::function<void()> action)
{
    // Were the button to take the focus on a mouse press, the field would be left in
    // the middle of the press, and its warning box would either come after the
    // button's own question or swallow the click.
    button->setFocusPolicy(Qt::TabFocus);
    connect(button, &QAbstractButton::clicked, this, [this, button, action = std::move(action)] {
        validatePending(button->window(), false);
        action();
    });
}

bool EditorFields::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        auto* f = qobject_cast<QLineEdit*>(watched);
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Focus going to a menu, a popup, a message box or another window is not the
        // person leaving the field: it comes back to the field afterwards.
        const bool leaves = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason
                            && reason != Qt::MenuBarFocusReason;
        if (f && leaves && !m_suspended && !m_validating && m_fields.value(f->objectName()) == f) {
            validatePending(nullptr, true);  // a field left before, still waiting
            m_leaving = f;
            QTimer::singleShot(0, this, [this] { validatePending(nullptr, true); });
        }
    }
    return QObject::eventFilter(watched, event);
}

QLineEdit* makeSwatch(const QString& name, int width, QWidget* parent)
{
    auto* swatch = new QLineEdit(parent);
    swatch->setObjectName(name);
    swatch->setReadOnly(true);
    swatch->setFocusPolicy(Qt::NoFocus);
    swatch->setFixedWidth(width);
    swatch->setProperty(kSwatchCaption, QString());  // marks it as a swatch for nameAfter
    return swatch;
}

void nameAfter(QLabel* label, QWidget* control)
{
    label->setBuddy(control);
    // Its name comes with its colour, when it is painted.
    if (control->property(kSwatchCaption).isValid())
        control->setProperty(kSwatchCaption, label->text());
}

void paintSwatch(QLineEdit* swatch, int32_t colour)
{
    const uint32_t value = static_cast<uint32_t>(colour) & kColorMask;
    swatch->clear();
    swatch->setProperty(kSwatchProperty, static_cast<int>(value));
    // A style sheet, not the palette: the colour stays visible while the swatch is disabled.
    swatch->setStyleSheet(
        QStringLiteral("QLineEdit { background-color: %1; }").arg(colorFromValue(value).name()));
    nameSwatch(swatch, value);
}

int swatchColor(const QLineEdit* swatch)
{
    const QVariant v = swatch->property(kSwatchProperty);
    return v.isValid() ? v.toInt() : -1;
}

void pickColor(Prompter& prompter, int32_t& colour, QLineEdit* swatch)
{
    const uint32_t held = prompter.colorDialogColor(static_cast<uint32_t>(colour) & kColorMask);
    std::optional<uint32_t> chosen;
    ErrorTrap trap(prompter);
    const bool goOn = trap.run([&]() -> StepError {
        chosen = prompter.color(held);
        if (!chosen)
            return QCoreApplication::translate("EditorFields", kColorCancelled);
        return std::nullopt;
    });
    if (!goOn)
        return;  // Abort: nothing stored
    // Ignore after Cancel goes on with the colour the dialog holds, the one it
    // opened on: after an earlier pick that is the colour last picked, not this
    // parameter's.
    const uint32_t picked = chosen.value_or(held) & kColorMask;
    prompter.setColorDialogColor(picked);
    colour = static_cast<int32_t>(picked);
    paintSwatch(swatch, colour);
}
