#pragma once
// The user defined alarms editor: both alarms side by side, each with its enable
// switch, colour, input type, two threshold sliders and the throttle, engine speed,
// vehicle speed and delay conditions. Every change lands in the parameter set at once.
#include "editor/editordialog.h"

class QSlider;

class frmAlarms : public EditorDialog {
    Q_OBJECT

    // One alarm's controls; alarm 2 has no MAP options and no pressure frame.
    struct AlarmControls {
        QGroupBox* fraAlarm = nullptr;
        QLabel* lblEnable = nullptr;
        QCheckBox* chkEnable = nullptr;
        QLabel* lblAlarm = nullptr;
        QLabel* lblColor = nullptr;
        QLineEdit* txtColor = nullptr;
        QPushButton* cmdColor = nullptr;
        QGroupBox* fraAnalog = nullptr;
        QRadioButton* optAnalog = nullptr;
        QRadioButton* optAFR = nullptr;
        QRadioButton* optMAP1Bar = nullptr;
        QRadioButton* optMAP2Bar = nullptr;
        QRadioButton* optMAP3Bar = nullptr;
        QGroupBox* fraAbove = nullptr;
        QSlider* sldAbove = nullptr;
        QGroupBox* fraBelow = nullptr;
        QSlider* sldBelow = nullptr;
        QLabel* lblVolts = nullptr;
        QLabel* lblUnits = nullptr;
        QLabel* lblAboveVal = nullptr;
        QLineEdit* txtAboveVolts = nullptr;
        QLineEdit* txtAboveVal = nullptr;
        QLabel* lblBelowVal = nullptr;
        QLineEdit* txtBelowVolts = nullptr;
        QLineEdit* txtBelowVal = nullptr;
        QLabel* lblMinTPS = nullptr;
        QLineEdit* txtMinTPS = nullptr;
        QLabel* lblMinRPM = nullptr;
        QLineEdit* txtMinRPM = nullptr;
        QLabel* lblMinVSS = nullptr;
        QLineEdit* txtMinVSS = nullptr;
        QLabel* lblDelay = nullptr;
        QLineEdit* txtDelay = nullptr;
        QList<QWidget*> switched;  // enabled and disabled by the enable switch, in this order
    };

    AlarmControls m_alarm1;
    AlarmControls m_alarm2;

public:
    frmAlarms(ParameterSet& params, Prompter& prompter, QWidget* parent = nullptr);

    // The controls under their given names.
    QGroupBox*& fraAlarm1 = m_alarm1.fraAlarm;
    QGroupBox*& fraAlarm2 = m_alarm2.fraAlarm;
    QLabel*& lblAlarm1Enable = m_alarm1.lblEnable;
    QLabel*& lblAlarm2Enable = m_alarm2.lblEnable;
    QCheckBox*& chkAlarm1Enable = m_alarm1.chkEnable;
    QCheckBox*& chkAlarm2Enable = m_alarm2.chkEnable;
    QLabel*& lblAlarm1 = m_alarm1.lblAlarm;
    QLabel*& lblAlarm2 = m_alarm2.lblAlarm;
    QLabel*& lblAlarm1Color = m_alarm1.lblColor;
    QLabel*& lblAlarm2Color = m_alarm2.lblColor;
    QLineEdit*& txtAlarm1Color = m_alarm1.txtColor;
    QLineEdit*& txtAlarm2Color = m_alarm2.txtColor;
    QPushButton*& cmdAlarm1Color = m_alarm1.cmdColor;
    QPushButton*& cmdAlarm2Color = m_alarm2.cmdColor;
    QGroupBox*& fraAlarm1Analog = m_alarm1.fraAnalog;
    QGroupBox*& fraAlarm2Analog = m_alarm2.fraAnalog;
    QRadioButton*& optInput1Analog = m_alarm1.optAnalog;
    QRadioButton*& optInput2Analog = m_alarm2.optAnalog;
    QRadioButton*& optInput1AFR = m_alarm1.optAFR;
    QRadioButton*& optInput2AFR = m_alarm2.optAFR;
    QRadioButton*& optInput1MAP1Bar = m_alarm1.optMAP1Bar;
    QRadioButton*& optInput1MAP2Bar = m_alarm1.optMAP2Bar;
    QRadioButton*& optInput1MAP3Bar = m_alarm1.optMAP3Bar;
    QGroupBox* fraPressure = nullptr;
    QRadioButton* optPSI = nullptr;
    QRadioButton* optInHg = nullptr;
    QGroupBox*& fraAlarm1Above = m_alarm1.fraAbove;
    QGroupBox*& fraAlarm2Above = m_alarm2.fraAbove;
    QSlider*& sldAlarm1AboveVolts = m_alarm1.sldAbove;
    QSlider*& sldAlarm2AboveVolts = m_alarm2.sldAbove;
    QGroupBox*& fraAlarm1Below = m_alarm1.fraBelow;
    QGroupBox*& fraAlarm2Below = m_alarm2.fraBelow;
    QSlider*& sldAlarm1BelowVolts = m_alarm1.sldBelow;
    QSlider*& sldAlarm2BelowVolts = m_alarm2.sldBelow;
    QLabel*& lblAlarm1Volts = m_alarm1.lblVolts;
    QLabel*& lblAlarm2Volts = m_alarm2.lblVolts;
    QLabel*& lblAlarm1Units = m_alarm1.lblUnits;
    QLabel*& lblAlarm2Units = m_alarm2.lblUnits;
    QLabel*& lblAlarm1AboveVal = m_alarm1.lblAboveVal;
    QLabel*& lblAlarm2AboveVal = m_alarm2.lblAboveVal;
    QLineEdit*& txtAlarm1AboveVolts = m_alarm1.txtAboveVolts;
    QLineEdit*& txtAlarm2AboveVolts = m_alarm2.txtAboveVolts;
    QLineEdit*& txtAlarm1AboveVal = m_alarm1.txtAboveVal;
    QLineEdit*& txtAlarm2AboveVal = m_alarm2.txtAboveVal;
    QLabel*& lblAlarm1BelowVal = m_alarm1.lblBelowVal;
    QLabel*& lblAlarm2BelowVal = m_alarm2.lblBelowVal;
    QLineEdit*& txtAlarm1BelowVolts = m_alarm1.txtBelowVolts;
    QLineEdit*& txtAlarm2BelowVolts = m_alarm2.txtBelowVolts;
    QLineEdit*& txtAlarm1BelowVal = m_alarm1.txtBelowVal;
    QLineEdit*& txtAlarm2BelowVal = m_alarm2.txtBelowVal;
    QLabel*& lblAlarm1MinTPS = m_alarm1.lblMinTPS;
    QLabel*& lblAlarm2MinTPS = m_alarm2.lblMinTPS;
    QLineEdit*& txtAlarm1MinTPS = m_alarm1.txtMinTPS;
    QLineEdit*& txtAlarm2MinTPS = m_alarm2.txtMinTPS;
    QLabel*& lblAlarm1MinRPM = m_alarm1.lblMinRPM;
    QLabel*& lblAlarm2MinRPM = m_alarm2.lblMinRPM;
    QLineEdit*& txtAlarm1MinRPM = m_alarm1.txtMinRPM;
    QLineEdit*& txtAlarm2MinRPM = m_alarm2.txtMinRPM;
    QLabel*& lblAlarm1MinVSS = m_alarm1.lblMinVSS;
    QLabel*& lblAlarm2MinVSS = m_alarm2.lblMinVSS;
    QLineEdit*& txtAlarm1MinVSS = m_alarm1.txtMinVSS;
    QLineEdit*& txtAlarm2MinVSS = m_alarm2.txtMinVSS;
    QLabel*& lblAlarm1Delay = m_alarm1.lblDelay;
    QLabel*& lblAlarm2Delay = m_alarm2.lblDelay;
    QLineEdit*& txtAlarm1Delay = m_alarm1.txtDelay;
    QLineEdit*& txtAlarm2Delay = m_alarm2.txtDelay;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdRestoreDefaults = nullptr;

private:
    QWidget* buildAlarm(AlarmControls& a, int number);
    void Form_Load();

    // Handlers (alarm = 1 or 2).
    void chkAlarmEnable_Click(int alarm);
    void optInput_Click(int alarm, uint8_t input);
    void optPressure_Click(bool psi);
    void sldAlarmVolts_Change(int alarm, bool above, int count);
    void cmdAlarmColor_Click(int alarm);
    void cmdRestoreDefaults_Click();

    // The enable state of one alarm's controls.
    void enableAlarmControls(int alarm, bool enabled);
    // Shows or hides the pressure frame, value boxes and unit label for the input
    // type, sets the unit label and refreshes the value boxes.
    void applyInputView(int alarm);
    // Volts and engineering value boxes of one threshold, from the stored count.
    void showThreshold(int alarm, bool above);

    AlarmControls& controls(int alarm) { return alarm == 1 ? m_alarm1 : m_alarm2; }
    bool& enableOf(int alarm) { return alarm == 1 ? m_params.Alarm1Enable : m_params.Alarm2Enable; }
    uint8_t& inputOf(int alarm) { return alarm == 1 ? m_params.Alarm1Input : m_params.Alarm2Input; }
    int32_t& colorOf(int alarm) { return alarm == 1 ? m_params.Alarm1Color : m_params.Alarm2Color; }
    int16_t& thresholdOf(int alarm, bool above);
    QRadioButton* optionFor(int alarm, uint8_t input);
};
