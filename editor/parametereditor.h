#pragma once
// The main window's parameter editor: the three parameter frames with their
// fields, switches and colour pickers. Thin: every value goes through the field
// rules of the core, and the frames show what the parameter set holds.
#include "editor/editorfields.h"
#include "params/paramset.h"

#include <QWidget>
#include <optional>

class Prompter;
class ShiftChart;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class ParameterEditor : public QWidget {
    Q_OBJECT
public:
    ParameterEditor(ParameterStore& store, Prompter& prompter, QWidget* parent = nullptr);

    // Writes every field, switch and swatch from the parameter set and lays the
    // frames out for the multi-stage and gear detection switches. The decoder has
    // already applied what the switches imply to the parameters, so the switch
    // handlers do not run here: refreshing never changes the parameter set.
    void refresh();

    // Hides the frames that show data (when the data goes away); the multi-stage
    // frame only when asked to.
    void hideFrames(bool multiStageToo);

    // Validates the field that has the focus when it was edited since its last
    // validation, so a command started from the menu sees what was typed.
    void commitPendingEdit();

    // The user text the encoder takes: the field's text.
    void commitUserText();

    // While suspended (a transfer runs, data is being replaced) leaving a field
    // does not validate it.
    void setSuspended(bool suspended);

    // Runs a field's validation as leaving it does.
    void validateField(const QString& name);

    // Every validated field, by its name.
    QStringList validatedFields() const;
    QLineEdit* field(const QString& name) const;

    // Frames
    QGroupBox* fraShiftSetup;
    QGroupBox* fraMultiStageShiftSetup;
    QGroupBox* fraScaleFactors;

    // Single-stage frame
    QLineEdit* txtShiftRPM;
    QLineEdit* txtShiftColor;
    QPushButton* cmdShiftColor;

    // Multi-stage frame
    QLineEdit* txtShiftRPM1;
    QLineEdit* txtShiftRPM2;
    QLineEdit* txtShiftRPM3;
    QLineEdit* txtShiftRPM4;
    QLineEdit* txtShiftRPM5;
    QLineEdit* txtShiftVSS1;
    QLineEdit* txtShiftVSS2;
    QLineEdit* txtShiftVSS3;
    QLineEdit* txtShiftVSS4;
    QLineEdit* txtShiftVSS5;
    QLabel* lblMinVSS;
    QLabel* lblShortShiftRPM;
    QLineEdit* txtShortShiftRPM;
    QLabel* lblShiftDropRPM;
    QLineEdit* txtShiftDropRPM;
    QLineEdit* txtLaunchRPM;
    QLineEdit* txtMultiStageShiftColor;
    QPushButton* cmdMultiStageShiftColor;
    QLineEdit* txtLaunchColor;
    QPushButton* cmdLaunchColor;
    ShiftChart* shiftChart;  // the shift points as a picture, beside the table

    // Scale factors frame
    QLineEdit* txtPulsePerRev;
    QLineEdit* txtVSSFreq;
    QLineEdit* txtTPSZero;
    QLineEdit* txtTPSFullscale;
    QLineEdit* txtDataLogInterval;
    QLineEdit* txtRPMDebounce;
    QLineEdit* txtMinLEDPWM;
    QLineEdit* txtMaxLEDPWM;
    QLineEdit* txtUserData;
    QCheckBox* chkMultiStageShift;
    QCheckBox* chkVSSGearDetect;
    QCheckBox* chkLogArmed;

signals:
    // The multi-stage switch rewrote the whole editor, as a refresh from the image
    // does; the caption follows as it does after one.
    void refreshedFromImage();
    // The person may have changed a value through `control`: a field validated, a
    // switch clicked, a colour picked, the user text left.
    void edited(QWidget* control);

private:
    void chkLogArmed_Click(bool checked);
    void chkMultiStageShift_Click(bool checked);
    void chkVSSGearDetect_Click(bool checked);
    void cmdShiftColor_Click();
    void cmdMultiStageShiftColor_Click();
    void cmdLaunchColor_Click();

    void showGearDetectLayout(bool gearDetect);
    QLineEdit* addField(const QString& name);

    ParameterStore& m_store;
    Prompter& m_prompter;
    EditorFields* m_fields;
    bool m_refreshing = false;
};
