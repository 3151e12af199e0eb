#include "alarms/frmalarms.h"

#include "params/calibration.h"
#include "params/defaults.h"
#include "params/numbers.h"
#include "params/units.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// A threshold is an ADC count, 0 to 255 for 0 to 5 V. The slider's value is that
// count: Qt puts a vertical slider's maximum at the top, so the top is 5.00 V and
// the bottom 0.00 V without any conversion.
constexpr int kCountMax = units::kFullScaleCount;

QSlider* makeSlider(QWidget* parent, const QString& name)
{
    auto* slider = new QSlider(Qt::Vertical, parent);
    slider->setObjectName(name);
    slider->setRange(0, kCountMax);
    slider->setSingleStep(1);
    slider->setPageStep(10);
    slider->setTickPosition(QSlider::TicksRight);
    slider->setTickInterval(static_cast<int>(kCountMax / units::kFullScaleVolts));  // one volt
    slider->setMinimumHeight(150);
    return slider;
}

void keepPlaceWhenHidden(QWidget* w)
{
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
}

}  // namespace

frmAlarms::frmAlarms(ParameterSet& params, Prompter& prompter, QWidget* parent)
    : EditorDialog(params, prompter, parent)
{
    setObjectName(QStringLiteral("frmAlarms"));
    setWindowTitle(tr("User Defined Alarms"));

    auto* alarms = new QHBoxLayout;
    alarms->addWidget(buildAlarm(m_alarm1, 1));
    alarms->addWidget(buildAlarm(m_alarm2, 2));

    QHBoxLayout* buttons = makeRestoreOkRow(cmdRestoreDefaults, cmdOK);

    auto* top = new QVBoxLayout;
    top->addLayout(alarms);
    arrange(top, buttons);

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    onClick(cmdRestoreDefaults, [this] { cmdRestoreDefaults_Click(); });

    Form_Load();
}

QWidget* frmAlarms::buildAlarm(AlarmControls& a, int number)
{
    const QString n = QString::number(number);
    const QString alarm = QStringLiteral("Alarm") + n;  // "Alarm1"
    const QString input = QStringLiteral("Input") + n;  // "Input1"

    a.fraAlarm = makeFrame(QStringLiteral("fra") + alarm, tr("Alarm %1").arg(n));
    a.chkEnable = makeCheck(QStringLiteral("chk%1Enable").arg(alarm));
    a.lblEnable = makeLabel(QStringLiteral("lbl%1Enable").arg(alarm), tr("Enable Alarm %1").arg(n), a.chkEnable);
    a.lblAlarm = makeLabel(QStringLiteral("lbl") + alarm, tr("Alarm"));
    a.txtColor = makeSwatch(QStringLiteral("txt%1Color").arg(alarm));
    a.lblColor = makeLabel(QStringLiteral("lbl%1Color").arg(alarm), tr("Alarm %1 Color").arg(n), a.txtColor);
    a.cmdColor = makeButton(QStringLiteral("cmd%1Color").arg(alarm), tr("Pick Color"));
    a.cmdColor->setAccessibleDescription(a.lblColor->text());

    a.fraAnalog = makeFrame(QStringLiteral("fra%1Analog").arg(alarm), tr("Analog Input %1").arg(n));
    a.optAnalog = makeOption(QStringLiteral("opt%1Analog").arg(input), tr("Analog (0-5V)"));
    a.optAFR = makeOption(QStringLiteral("opt%1AFR").arg(input), tr("Wide-band AFR"));
    auto* inputs = new QButtonGroup(a.fraAnalog);
    inputs->addButton(a.optAnalog);
    inputs->addButton(a.optAFR);
    if (number == 1) {
        a.optMAP1Bar = makeOption(QStringLiteral("optInput1MAP1Bar"), tr("MAP 1 bar"));
        a.optMAP2Bar = makeOption(QStringLiteral("optInput1MAP2Bar"), tr("MAP 2 bar"));
        a.optMAP3Bar = makeOption(QStringLiteral("optInput1MAP3Bar"), tr("MAP 3 bar"));
        inputs->addButton(a.optMAP1Bar);
        inputs->addButton(a.optMAP2Bar);
        inputs->addButton(a.optMAP3Bar);
        fraPressure = makeFrame(QStringLiteral("fraPressure"), tr("MAP Pressure"));
        optInHg = makeOption(QStringLiteral("optInHg"), tr("In-Hg"));
        optPSI = makeOption(QStringLiteral("optPSI"), tr("psi"));
        auto* units = new QButtonGroup(fraPressure);
        units->addButton(optInHg);
        units->addButton(optPSI);
        auto* pressure = new QVBoxLayout(fraPressure);
        pressure->addWidget(optInHg);
        pressure->addWidget(optPSI);
        keepPlaceWhenHidden(fraPressure);
    }

    a.lblVolts = makeLabel(QStringLiteral("lbl%1Volts").arg(alarm), tr("Volts"));
    a.lblUnits = makeLabel(QStringLiteral("lbl%1Units").arg(alarm), QString());
    a.lblAboveVal = makeLabel(QStringLiteral("lbl%1AboveVal").arg(alarm), tr("Alarm Above"));
    a.txtAboveVolts = makeDisplayBox(QStringLiteral("txt%1AboveVolts").arg(alarm));
    a.txtAboveVal = makeDisplayBox(QStringLiteral("txt%1AboveVal").arg(alarm));
    a.lblBelowVal = makeLabel(QStringLiteral("lbl%1BelowVal").arg(alarm), tr("Alarm Below"));
    a.txtBelowVolts = makeDisplayBox(QStringLiteral("txt%1BelowVolts").arg(alarm));
    a.txtBelowVal = makeDisplayBox(QStringLiteral("txt%1BelowVal").arg(alarm));
    for (QWidget* w : {static_cast<QWidget*>(a.lblUnits), static_cast<QWidget*>(a.txtAboveVal),
                       static_cast<QWidget*>(a.txtBelowVal)})
        keepPlaceWhenHidden(w);
    a.lblUnits->setMinimumWidth(a.lblUnits->fontMetrics().horizontalAdvance(QStringLiteral("In-Hg  ")));

    a.fraAbove = makeFrame(QStringLiteral("fra%1Above").arg(alarm), tr("Above"));
    a.sldAbove = makeSlider(a.fraAbove, QStringLiteral("sld%1AboveVolts").arg(alarm));
    a.fraBelow = makeFrame(QStringLiteral("fra%1Below").arg(alarm), tr("Below"));
    a.sldBelow = makeSlider(a.fraBelow, QStringLiteral("sld%1BelowVolts").arg(alarm));
    (new QVBoxLayout(a.fraAbove))->addWidget(a.sldAbove, 0, Qt::AlignHCenter);
    (new QVBoxLayout(a.fraBelow))->addWidget(a.sldBelow, 0, Qt::AlignHCenter);

    a.txtMinTPS = makeField(QStringLiteral("txt%1MinTPS").arg(alarm));
    a.lblMinTPS = makeLabel(QStringLiteral("lbl%1MinTPS").arg(alarm), tr("Minimum TPS (%)"), a.txtMinTPS);
    a.txtMinRPM = makeField(QStringLiteral("txt%1MinRPM").arg(alarm));
    a.lblMinRPM = makeLabel(QStringLiteral("lbl%1MinRPM").arg(alarm), tr("Minimum RPM"), a.txtMinRPM);
    a.txtMinVSS = makeField(QStringLiteral("txt%1MinVSS").arg(alarm));
    a.lblMinVSS = makeLabel(QStringLiteral("lbl%1MinVSS").arg(alarm), tr("Minimum VSS"), a.txtMinVSS);
    a.txtDelay = makeField(QStringLiteral("txt%1Delay").arg(alarm));
    a.lblDelay = makeLabel(QStringLiteral("lbl%1Delay").arg(alarm), tr("Delay (sec)"), a.txtDelay);

    // The input frame: options (and the pressure unit beside them), then the
    // threshold table headed "Alarm", "Volts" and the input's unit.
    auto* options = new QVBoxLayout;
    for (QRadioButton* o : {a.optAnalog, a.optAFR, a.optMAP1Bar, a.optMAP2Bar, a.optMAP3Bar})
        if (o)
            options->addWidget(o);
    options->addStretch(1);
    auto* optionRow = new QHBoxLayout;
    optionRow->addLayout(options);
    if (number == 1)
        optionRow->addWidget(fraPressure, 0, Qt::AlignTop);
    optionRow->addStretch(1);

    auto* table = new QGridLayout;
    table->addWidget(a.lblAlarm, 0, 0);
    table->addWidget(a.lblVolts, 0, 1);
    table->addWidget(a.lblUnits, 0, 2);
    table->addWidget(a.lblAboveVal, 1, 0);
    table->addWidget(a.txtAboveVolts, 1, 1);
    table->addWidget(a.txtAboveVal, 1, 2);
    table->addWidget(a.lblBelowVal, 2, 0);
    table->addWidget(a.txtBelowVolts, 2, 1);
    table->addWidget(a.txtBelowVal, 2, 2);

    auto* analog = new QVBoxLayout(a.fraAnalog);
    analog->addLayout(optionRow);
    analog->addStretch(1);
    analog->addLayout(table);

    auto* middle = new QHBoxLayout;
    middle->addWidget(a.fraAnalog, 1);
    middle->addWidget(a.fraAbove);
    middle->addWidget(a.fraBelow);

    auto* head = new QGridLayout;
    head->addWidget(a.lblEnable, 0, 0);
    head->addWidget(a.chkEnable, 0, 1);
    head->addWidget(a.lblColor, 1, 0);
    head->addWidget(a.txtColor, 1, 1);
    head->addWidget(a.cmdColor, 1, 2);
    head->setColumnStretch(3, 1);

    auto* conditions = new QGridLayout;
    conditions->addWidget(a.lblMinTPS, 0, 0);
    conditions->addWidget(a.txtMinTPS, 0, 1);
    conditions->addWidget(a.lblMinRPM, 1, 0);
    conditions->addWidget(a.txtMinRPM, 1, 1);
    conditions->addWidget(a.lblMinVSS, 2, 0);
    conditions->addWidget(a.txtMinVSS, 2, 1);
    conditions->addWidget(a.lblDelay, 3, 0);
    conditions->addWidget(a.txtDelay, 3, 1);
    conditions->setColumnStretch(2, 1);

    auto* frame = new QVBoxLayout(a.fraAlarm);
    frame->addLayout(head);
    frame->addLayout(middle);
    frame->addLayout(conditions);

    a.switched = {a.cmdColor, a.txtColor, a.optAnalog, a.optAFR};
    if (number == 1)
        a.switched << a.optMAP1Bar << a.optMAP2Bar << a.optMAP3Bar << optInHg << optPSI;
    a.switched << a.txtAboveVal << a.txtBelowVal << a.txtMinTPS << a.txtMinRPM << a.txtMinVSS << a.txtDelay
               << a.txtAboveVolts << a.txtBelowVolts << a.sldAbove << a.sldBelow;

    // Check boxes and options act on `toggled`, so setting them from code runs the
    // same handler as a click.
    connect(a.chkEnable, &QCheckBox::toggled, this, [this, number] { chkAlarmEnable_Click(number); });
    const auto onChosen = [this, number](QRadioButton* option, uint8_t code) {
        if (option)
            connect(option, &QRadioButton::toggled, this, [this, number, code](bool on) {
                if (on)
                    optInput_Click(number, code);
            });
    };
    onChosen(a.optAnalog, calibration::InputAnalog);
    onChosen(a.optAFR, calibration::InputWidebandAFR);
    onChosen(a.optMAP1Bar, calibration::InputMAP1Bar);
    onChosen(a.optMAP2Bar, calibration::InputMAP2Bar);
    onChosen(a.optMAP3Bar, calibration::InputMAP3Bar);
    if (number == 1) {
        connect(optPSI, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                optPressure_Click(true);
        });
        connect(optInHg, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                optPressure_Click(false);
        });
    }
    // valueChanged, not sliderReleased: the boxes follow the slider while it is dragged.
    connect(a.sldAbove, &QSlider::valueChanged, this,
            [this, number](int count) { sldAlarmVolts_Change(number, true, count); });
    connect(a.sldBelow, &QSlider::valueChanged, this,
            [this, number](int count) { sldAlarmVolts_Change(number, false, count); });
    onClick(a.cmdColor, [this, number] { cmdAlarmColor_Click(number); });
    return a.fraAlarm;
}

QRadioButton* frmAlarms::optionFor(int alarm, uint8_t input)
{
    AlarmControls& a = controls(alarm);
    switch (input) {
    case calibration::InputAnalog: return a.optAnalog;
    case calibration::InputWidebandAFR: return a.optAFR;
    case calibration::InputMAP1Bar: return a.optMAP1Bar;
    case calibration::InputMAP2Bar: return a.optMAP2Bar;
    default: return a.optMAP3Bar;
    }
}

int16_t& frmAlarms::thresholdOf(int alarm, bool above)
{
    if (alarm == 1)
        return above ? m_params.Alarm1Above : m_params.Alarm1Below;
    return above ? m_params.Alarm2Above : m_params.Alarm2Below;
}

void frmAlarms::Form_Load()
{
    for (int alarm : {1, 2}) {
        AlarmControls& a = controls(alarm);
        const bool enabled = enableOf(alarm);
        a.chkEnable->setChecked(enabled);
        enableAlarmControls(alarm, enabled);
        paintSwatch(a.txtColor, colorOf(alarm));
    }

    // Input types. A stored code beyond the known ones is taken as the last one
    // (MAP 3 bar for alarm 1, wide-band for alarm 2) and stored so.
    const uint8_t input1 = std::min<uint8_t>(m_params.Alarm1Input, calibration::InputMAP3Bar);
    const uint8_t input2 = std::min<uint8_t>(m_params.Alarm2Input, calibration::InputWidebandAFR);
    optionFor(1, input1)->setChecked(true);
    optInput_Click(1, input1);  // again, for an option that was already chosen (Restore Defaults)
    optionFor(2, input2)->setChecked(true);
    optInput_Click(2, input2);

    // The unit label is not touched here beyond what the input type gives it: with
    // the wide-band input it stays "AFR".
    const bool psi = m_params.Alarm1PressurePSI;
    (psi ? optPSI : optInHg)->setChecked(true);
    optPressure_Click(psi);

    for (int alarm : {1, 2}) {
        AlarmControls& a = controls(alarm);
        a.sldAbove->setValue(thresholdOf(alarm, true));
        a.sldBelow->setValue(thresholdOf(alarm, false));
        showThreshold(alarm, true);
        showThreshold(alarm, false);
        for (QLineEdit* field : {a.txtMinTPS, a.txtMinRPM, a.txtMinVSS, a.txtDelay})
            showField(field);
    }
}

void frmAlarms::enableAlarmControls(int alarm, bool enabled)
{
    for (QWidget* w : std::as_const(controls(alarm).switched))
        w->setEnabled(enabled);
}

void frmAlarms::chkAlarmEnable_Click(int alarm)
{
    const bool on = controls(alarm).chkEnable->isChecked();
    enableOf(alarm) = on;
    enableAlarmControls(alarm, on);
}

void frmAlarms::optInput_Click(int alarm, uint8_t input)
{
    inputOf(alarm) = input;
    applyInputView(alarm);
}

void frmAlarms::optPressure_Click(bool psi)
{
    m_params.Alarm1PressurePSI = psi;
    applyInputView(1);
}

void frmAlarms::applyInputView(int alarm)
{
    AlarmControls& a = controls(alarm);
    const uint8_t input = inputOf(alarm);
    const bool hasValue = input != calibration::InputAnalog;
    if (alarm == 1) {
        fraPressure->setVisible(input >= calibration::InputMAP1Bar && input <= calibration::InputMAP3Bar);
        a.lblUnits->setText(QString::fromLatin1(calibration::alarmUnitLabel(input, m_params.Alarm1PressurePSI)));
    } else {
        // Alarm 2 has no MAP inputs, whatever the pressure unit of alarm 1 says.
        a.lblUnits->setText(QString::fromLatin1(calibration::alarmUnitLabel(input, false)));
    }
    a.lblUnits->setVisible(hasValue);
    a.txtAboveVal->setVisible(hasValue);
    a.txtBelowVal->setVisible(hasValue);
    // The boxes of the threshold table are heard by their row and column.
    for (QLabel* row : {a.lblAboveVal, a.lblBelowVal}) {
        const bool above = row == a.lblAboveVal;
        //: A box of the threshold table by its row and column, for a screen reader: "Alarm Above, Volts".
        (above ? a.txtAboveVolts : a.txtBelowVolts)->setAccessibleName(tr("%1, %2").arg(row->text(), a.lblVolts->text()));
        (above ? a.txtAboveVal : a.txtBelowVal)->setAccessibleName(tr("%1, %2").arg(row->text(), a.lblUnits->text()));
    }
    showThreshold(alarm, true);
    showThreshold(alarm, false);
}

void frmAlarms::showThreshold(int alarm, bool above)
{
    AlarmControls& a = controls(alarm);
    const int16_t count = thresholdOf(alarm, above);
    const float value = alarm == 1 ? calibration::Alarm1Val(count, m_params.Alarm1Input, m_params.Alarm1PressurePSI)
                                   : calibration::Alarm2Val(count, m_params.Alarm2Input);
    QLineEdit* volts = above ? a.txtAboveVolts : a.txtBelowVolts;
    QLineEdit* engineering = above ? a.txtAboveVal : a.txtBelowVal;
    volts->setText(numbers::format(calibration::countToVolts(count), QStringLiteral("#0.00")));
    engineering->setText(numbers::format(value, QStringLiteral("#0.0")));
    // The slider is heard with what the boxes beside it show, and follows them.
    //: A threshold's voltage and its unit: "2.51 Volts".
    QString reading = tr("%1 %2").arg(volts->text(), a.lblVolts->text());
    //: The voltage, then the value of the sensor and its unit: "2.51 Volts, 15.0 AFR".
    if (!engineering->isHidden())
        reading = tr("%1, %2 %3").arg(reading, engineering->text(), a.lblUnits->text());
    QGroupBox* frame = above ? a.fraAbove : a.fraBelow;
    //: A threshold slider as a screen reader says it: "Alarm 1, Above: 2.51 Volts, 15.0 AFR".
    (above ? a.sldAbove : a.sldBelow)->setAccessibleName(tr("%1, %2: %3").arg(a.fraAlarm->title(), frame->title(), reading));
}

void frmAlarms::sldAlarmVolts_Change(int alarm, bool above, int count)
{
    thresholdOf(alarm, above) = static_cast<int16_t>(count);
    showThreshold(alarm, above);
}

void frmAlarms::cmdAlarmColor_Click(int alarm)
{
    pickColor(colorOf(alarm), controls(alarm).txtColor);
}

void frmAlarms::cmdRestoreDefaults_Click()
{
    if (!confirmRestoreDefaults(tr("This action will reset all alarm parameters to default values.")))
        return;
    restoreAlarmDefaults(m_params);
    Form_Load();
}
