#include "alarms/editordialog.h"

#include <QHBoxLayout>

#include "params/fieldrules.h"
#include "shell/errortrap.h"

#include <QCheckBox>
#include <QColor>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <optional>

const char* const EditorDialog::kColorCancelled = "Cancel was selected.";

namespace {
constexpr char kSwatchProperty[] = "swatchRgb";
constexpr uint32_t kColorMask = 0xFFFFFF;
}  // namespace

EditorDialog::EditorDialog(ParameterSet& params, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_params(params), m_prompter(prompter)
{
    setModal(true);
    // No help button in the title bar: the dialogs have OK only.
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

QLineEdit* EditorDialog::makeField(const QString& name)
{
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    field->setToolTip(fieldrules::tooltip(name));
    field->setMaximumWidth(90);
    field->setAlignment(Qt::AlignRight);
    field->installEventFilter(this);
    // Return normalises the field in place instead of closing the dialog.
    connect(field, &QLineEdit::returnPressed, this, [this, field] {
        if (field->isModified())
            validateField(field);
    });
    m_fields << field;
    return field;
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

QLineEdit* EditorDialog::makeSwatch(const QString& name)
{
    auto* swatch = new QLineEdit(this);
    swatch->setObjectName(name);
    swatch->setReadOnly(true);
    swatch->setFocusPolicy(Qt::NoFocus);
    swatch->setFixedWidth(60);
    return swatch;
}

QLabel* EditorDialog::makeLabel(const QString& name, const QString& caption)
{
    auto* label = new QLabel(caption, this);
    label->setObjectName(name);
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
    restoreDefaults = makeButton(QStringLiteral("cmdRestoreDefaults"), QStringLiteral("Restore Defaults"));
    ok = makeButton(QStringLiteral("cmdOK"), QStringLiteral("OK"));
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

void EditorDialog::showField(QLineEdit* field)
{
    field->setText(fieldrules::display(field->objectName(), m_params));  // also clears "modified"
}

void EditorDialog::validateField(QLineEdit* field)
{
    // Cleared first: the warning box takes the focus away, and that must not start
    // a second validation of the same text.
    field->setModified(false);
    const fieldrules::Outcome outcome = fieldrules::validate(field->objectName(), field->text(), m_params);
    if (!outcome.warning.isEmpty())
        m_prompter.warn(outcome.warning, outcome.warningTitle);
    field->setText(outcome.text);
    for (auto it = outcome.otherTexts.cbegin(); it != outcome.otherTexts.cend(); ++it) {
        for (QLineEdit* other : std::as_const(m_fields)) {
            if (other->objectName() == it.key())
                other->setText(it.value());
        }
    }
}

void EditorDialog::validateEditedFields()
{
    if (QLineEdit* leaving = m_leaving.data()) {
        m_leaving.clear();
        if (leaving->isModified())
            validateField(leaving);
    }
    auto* focused = qobject_cast<QLineEdit*>(focusWidget());
    if (focused && m_fields.contains(focused) && focused->isModified())
        validateField(focused);
}

bool EditorDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        auto* field = qobject_cast<QLineEdit*>(watched);
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Only a move to another control counts; a menu, a message box or another
        // application taking the focus leaves the field as it is. Fields whose text
        // was not edited are left alone too: re-reading a shown text can change a
        // stored value (a delay of one tick shows as 0.05 s, which reads back as two).
        if (field && field->isModified() && reason != Qt::ActiveWindowFocusReason
            && reason != Qt::PopupFocusReason) {
            // Validated once the focus change has finished, so a warning box does not
            // open in the middle of it (a button pressed meanwhile is released unclicked).
            m_leaving = field;
            QTimer::singleShot(0, this, [this] { validateEditedFields(); });
        }
    }
    return QDialog::eventFilter(watched, event);
}

void EditorDialog::done(int result)
{
    // OK, Esc and the window's close button all keep what was typed.
    validateEditedFields();
    QDialog::done(result);
}

int EditorDialog::swatchColor(const QLineEdit* swatch)
{
    const QVariant v = swatch->property(kSwatchProperty);
    return v.isValid() ? v.toInt() : -1;
}

void EditorDialog::paintSwatch(QLineEdit* swatch, int32_t rgb)
{
    const uint32_t value = static_cast<uint32_t>(rgb) & kColorMask;
    // The controller's colour value holds red in the low byte, blue in the high one.
    const QColor colour(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
    swatch->clear();
    swatch->setProperty(kSwatchProperty, static_cast<int>(value));
    // A style sheet keeps the colour visible while the swatch is disabled.
    swatch->setStyleSheet(QStringLiteral("QLineEdit { background-color: %1; }").arg(colour.name()));
}

void EditorDialog::pickColor(int32_t& colour, QLineEdit* swatch)
{
    const uint32_t initial = static_cast<uint32_t>(colour) & kColorMask;
    std::optional<uint32_t> chosen;
    ErrorTrap trap(m_prompter);
    const bool goOn = trap.run([&]() -> StepError {
        chosen = m_prompter.color(initial);
        if (!chosen)
            return QString::fromLatin1(kColorCancelled);
        return std::nullopt;
    });
    if (!goOn)
        return;  // Abort: nothing stored
    // Ignore after Cancel goes on with the colour the dialog was opened with, which
    // is the one already stored: cancelling never changes the colour.
    colour = static_cast<int32_t>(chosen.value_or(initial) & kColorMask);
    paintSwatch(swatch, colour);
}

bool EditorDialog::confirmRestoreDefaults(const QString& question)
{
    return m_prompter.message(question, QStringLiteral("Restore Defaults"), PromptButtons::OKCancel,
                              PromptIcon::Critical)
        != PromptAnswer::Cancel;
}

void EditorDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centreOnScreen();
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
