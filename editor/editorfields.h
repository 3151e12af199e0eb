#pragma once
// What every editing window does with its fields and colours, in one place: the
// main window's parameter editor and the three editor dialogs validate a field when
// the person leaves it, show what the rule stored, paint colour swatches and pick
// colours the same way.
#include "params/paramset.h"

#include <QMap>
#include <QObject>
#include <QPointer>
#include <QScopedValueRollback>
#include <QStringList>
#include <functional>

class Prompter;
class QAbstractButton;
class QLabel;
class QLineEdit;
class QWidget;

class EditorFields : public QObject {
    Q_OBJECT
public:
    EditorFields(ParameterSet& params, Prompter& prompter, QObject* parent);

    // Takes a field (named after its rule) into the set: its range becomes its
    // tooltip, and it is validated on Return and when the focus leaves it for another
    // control of its window, right after the focus change (a warning box opened in
    // the middle of it would swallow the click that moved the focus).
    QLineEdit* add(QLineEdit* field);

    QLineEdit* field(const QString& name) const { return m_fields.value(name); }
    QStringList names() const { return m_fields.keys(); }

    // Writes a field's text (every field's) from the parameters; a text written so
    // is not an edit.
    void show(QLineEdit* field);
    void showAll();

    // Runs the field's rule on its text, as leaving it does: a warning through the
    // prompter, the parameters written, the field and any partner field rewritten.
    void validate(QLineEdit* field);

    // Validates at once the field just left, if its validation is still to come, and
    // the field of `window` that has the focus, if it is one of the set: only when it
    // was edited (a command taken from a menu, the focus staying in the field) or in
    // any case (the person leaves the field by pressing a button, closing a dialog).
    // Whatever rewrites fields or acts on the parameters calls it first.
    void validatePending(const QWidget* window, bool editedOnly);

    // A button that acts on the parameters: clicking it validates the field that has
    // the focus first, then runs `action`, so a field's message always comes before
    // the button's own question. The button takes the focus only from the keyboard;
    // from the mouse the focus stays in the field until the action has run.
    void onClick(QAbstractButton* button, std::function<void()> action);

    // While suspended (a transfer runs, the window is being refilled) leaving a
    // field does not validate it.
    void setSuspended(bool suspended);
    // Suspends validation while the returned guard lives: hiding or refilling a frame
    // moves the focus out of its fields, which is not the person leaving them.
    [[nodiscard]] QScopedValueRollback<bool> pause();

signals:
    // A field's rule ran: the parameters may have changed through `field`.
    void validated(QLineEdit* field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ParameterSet& m_params;
    Prompter& m_prompter;
    QMap<QString, QLineEdit*> m_fields;
    QPointer<QLineEdit> m_leaving;  // the field just left, validated after the focus change
    bool m_suspended = false;
    bool m_validating = false;
};

// A swatch is a read-only box that shows a colour value (red in the low byte) as its
// background, also while it is disabled; its text stays empty. The person never types
// into it, so it takes no focus.
QLineEdit* makeSwatch(const QString& name, int width, QWidget* parent = nullptr);
// Paints the swatch; a screen reader hears the colour too ("Shift Light Color: 255, 0, 0").
void paintSwatch(QLineEdit* swatch, int32_t colour);
// The colour value a swatch was painted with, or -1.
int swatchColor(const QLineEdit* swatch);

// The colour picker: the colour dialog preselecting `colour`. Cancel reaches the
// error prompt (Abort: nothing stored, Retry: ask again, Ignore: the preselected
// colour is kept). Stores the 24-bit result in `colour` and paints the swatch.
void pickColor(Prompter& prompter, int32_t& colour, QLineEdit* swatch);

// Cancelling the colour dialog reaches the error prompt with this description (the
// English source text; the window shows its translation).
extern const char* const kColorCancelled;

// Names `control` after the label beside it, for screen readers: the label becomes
// its buddy, which names a field or a check box without text of its own; a swatch
// (makeSwatch) is named with the label's text and the colour it is painted with.
void nameAfter(QLabel* label, QWidget* control);
