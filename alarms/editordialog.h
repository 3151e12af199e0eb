#pragma once
// What the three editor dialogs (user alarms, GPO, VSS alarm) have in common: they
// edit the parameter set in place, validate a field when the focus leaves it, show
// colours in swatches, pick colours through the prompter, ask before restoring
// defaults, and close with OK only. The dialogs themselves are thin: every rule
// lives in params/fieldrules and params/calibration.
#include "params/paramset.h"
#include "shell/prompter.h"

#include <QDialog>
#include <QPointer>
#include <cstdint>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QHBoxLayout;
class QRadioButton;

class EditorDialog : public QDialog {
    Q_OBJECT
public:
    EditorDialog(ParameterSet& params, Prompter& prompter, QWidget* parent);

    // Validates a field whose text was edited and not yet validated: the one being
    // left, or the one holding the focus. OK and closing the window call it, so
    // nothing typed is lost.
    void validateEditedFields();

    // The swatch's colour as the dialog painted it (RGB, red in the low byte), or -1.
    static int swatchColor(const QLineEdit* swatch);

    // Cancelling the colour dialog reaches the error prompt with this description.
    static const char* const kColorCancelled;

public slots:
    void done(int result) override;

protected:
    // Builders: each sets the control's objectName to its given name.
    QLineEdit* makeField(const QString& name);        // validated numeric field, with its range as tooltip
    QLineEdit* makeDisplayBox(const QString& name);   // written by the dialog only
    QLineEdit* makeSwatch(const QString& name);       // shows a colour, never read
    QLabel* makeLabel(const QString& name, const QString& caption);
    QCheckBox* makeCheck(const QString& name, const QString& caption = QString());
    QRadioButton* makeOption(const QString& name, const QString& caption);
    QPushButton* makeButton(const QString& name, const QString& caption);
    // The row every editor ends with: "Restore Defaults" on the left, "OK" on the right.
    QHBoxLayout* makeRestoreOkRow(QPushButton*& restoreDefaults, QPushButton*& ok);
    QGroupBox* makeFrame(const QString& name, const QString& caption);

    // Writes a field's text from the stored value (the rule's display).
    void showField(QLineEdit* field);
    // Reads, clamps (warning through the prompter), stores and rewrites one field,
    // and rewrites the fields the rule changed too.
    void validateField(QLineEdit* field);

    static void paintSwatch(QLineEdit* swatch, int32_t rgb);

    // The colour picker: the colour dialog preselecting `colour`; Cancel reaches the
    // error prompt (Abort: nothing stored, Retry: ask again, Ignore: the preselected
    // colour is kept). Stores the 24-bit result in `colour` and paints the swatch.
    void pickColor(int32_t& colour, QLineEdit* swatch);

    // "Restore Defaults" question, OK and Cancel with the critical icon. False on Cancel.
    bool confirmRestoreDefaults(const QString& question);

    ParameterSet& m_params;
    Prompter& m_prompter;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void centreOnScreen();

    QList<QLineEdit*> m_fields;
    QPointer<QLineEdit> m_leaving;  // the field being left, validated right after the focus change
};
