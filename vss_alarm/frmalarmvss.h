#pragma once
// The VSS (speed) alarm editor: on or off, its colour, and the speed window in MPH.
#include "editor/editordialog.h"

class frmAlarmVSS : public EditorDialog {
    Q_OBJECT
public:
    frmAlarmVSS(ParameterSet& params, Prompter& prompter, QWidget* parent = nullptr);

    QLabel* lblAlarmVSSEnable = nullptr;
    QCheckBox* chkAlarmVSSEnable = nullptr;
    QLabel* lblAlarmVSSColor = nullptr;
    QLineEdit* txtAlarmVSSColor = nullptr;
    QPushButton* cmdAlarmVSSColor = nullptr;
    QLabel* lblAlarmVSSMin = nullptr;
    QLineEdit* txtAlarmVSSMin = nullptr;
    QLabel* lblAlarmVSSMax = nullptr;
    QLineEdit* txtAlarmVSSMax = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdRestoreDefaults = nullptr;

private:
    void Form_Load();
    void enableControls(bool enabled);
    void chkAlarmVSSEnable_Click();
    void cmdAlarmVSSColor_Click();
    void cmdRestoreDefaults_Click();
};
