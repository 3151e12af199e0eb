#pragma once
// What the three editor dialogs (user alarms, GPO, VSS alarm) have in common: they
// edit the parameter set in place, validate a field when the focus leaves it, show
// colours in swatches, pick colours through the prompter, ask before restoring
// defaults, and close with OK only. The dialogs themselves are thin: every rule
// lives in params/fieldrules and params/calibration.
#include "editor/editorfields.h"
#include "params/paramset.h"
#include "core/prompter.h"

#include <QDialog>
#include <cstdint>
#include <functional>

class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QHBoxLayout;
class QLayout;
class ScreenFit;
class QRadioButton;

class EditorDialog : public QDialog {
    Q_OBJECT
public:
    EditorDialog(ParameterSet& params, Prompter& prompter, QWidget* parent);

    // Validates the field being left and the one holding the focus, as leaving it
    // does. OK and closing the window call it, so nothing typed is lost.
    void validateFocusedField();

public slots:
    void done(int result) override;

protected:
    // Builders: each sets the control's objectName to its given name.
    QLineEdit* makeField(const QString& name);        // validated numeric field, with its range as tooltip
    QLineEdit* makeDisplayBox(const QString& name);   // written by the dialog only
    QLineEdit* makeSwatch(const QString& name);       // shows a colour, never read
    // A label; with a control, the one it names (nameAfter).
    QLabel* makeLabel(const QString& name, const QString& caption, QWidget* control = nullptr);
    QCheckBox* makeCheck(const QString& name, const QString& caption = QString());
    QRadioButton* makeOption(const QString& name, const QString& caption);
    QPushButton* makeButton(const QString& name, const QString& caption);
    // The row every editor ends with: "Restore Defaults" on the left, "OK" on the right.
    QHBoxLayout* makeRestoreOkRow(QPushButton*& restoreDefaults, QPushButton*& ok);
    QGroupBox* makeFrame(const QString& name, const QString& caption);
    // Lays the dialog out: `content` scrolls when the screen is too small for it,
    // `buttons` stay in sight below it.
    void arrange(QLayout* content, QLayout* buttons);

    // Writes a field's text from the stored value (the rule's display).
    void showField(QLineEdit* field) { m_fields->show(field); }

    // A button acting on the parameters: the field that has the focus is validated
    // first (its message before the button's question), then `action` runs.
    void onClick(QAbstractButton* button, std::function<void()> action);
    // The colour picker of every editor, with this dialog's prompter.
    void pickColor(int32_t& colour, QLineEdit* swatch) { ::pickColor(m_prompter, colour, swatch); }

    // "Restore Defaults" question, OK and Cancel with the critical icon. False on Cancel.
    bool confirmRestoreDefaults(const QString& question);

    ParameterSet& m_params;
    Prompter& m_prompter;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void centreOnScreen();

    EditorFields* m_fields;
    ScreenFit* m_fit;
};
