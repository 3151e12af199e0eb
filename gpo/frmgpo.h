#pragma once
// The GPO editor: the general purpose output's engine speed and vehicle speed
// windows, throttle on and off points, delay and delay mode, switched as a whole.
#include "editor/editordialog.h"

class frmGPO : public EditorDialog {
    Q_OBJECT
public:
    frmGPO(ParameterSet& params, Prompter& prompter, QWidget* parent = nullptr);

    // The opening rule: in multi-stage mode without VSS based gear detection the
    // controller needs its general purpose input, so the GPO cannot be edited. Says
    // so through the prompter and returns false in that mode.
    static bool canOpen(const ParameterSet& params, Prompter& prompter);
    // The Edit menu's command: the opening rule, then the dialog, modal. Returns
    // whether the dialog was shown.
    static bool open(ParameterSet& params, Prompter& prompter, QWidget* parent = nullptr);

    static const char* const kGPIRequired;

    QCheckBox* chkGPOEnable = nullptr;
    QCheckBox* chkGPOOneShotDelay = nullptr;
    QLineEdit* txtGPOMinRPM = nullptr;
    QLineEdit* txtGPOMaxRPM = nullptr;
    QLineEdit* txtGPOOffTPS = nullptr;
    QLineEdit* txtGPOOnTPS = nullptr;
    QLineEdit* txtGPOMinVSS = nullptr;
    QLineEdit* txtGPOMaxVSS = nullptr;
    QLineEdit* txtGPODelay = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdRestoreDefaults = nullptr;

private:
    void Form_Load();
    void showFields();
    void enableFields(bool enabled);
    void chkGPOEnable_Click();
    void chkGPOOneShotDelay_Click();
    void cmdRestoreDefaults_Click();

    QList<QWidget*> m_switched;  // enabled by "Enable GPO", in this order
};
