#include "vss_alarm/frmalarmvss.h"

#include "params/defaults.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmAlarmVSS::frmAlarmVSS(ParameterSet& params, Prompter& prompter, QWidget* parent)
    : EditorDialog(params, prompter, parent)
{
    setObjectName(QStringLiteral("frmAlarmVSS"));
    setWindowTitle(QStringLiteral("VSS (Speed) Alarm"));

    lblAlarmVSSEnable = makeLabel(QStringLiteral("lblAlarmVSSEnable"), QStringLiteral("Enable VSS Alarm"));
    chkAlarmVSSEnable = makeCheck(QStringLiteral("chkAlarmVSSEnable"));
    lblAlarmVSSColor = makeLabel(QStringLiteral("lblAlarmVSSColor"), QStringLiteral("VSS Alarm Color"));
    txtAlarmVSSColor = makeSwatch(QStringLiteral("txtAlarmVSSColor"));
    cmdAlarmVSSColor = makeButton(QStringLiteral("cmdAlarmVSSColor"), QStringLiteral("Pick Color"));
    lblAlarmVSSMin = makeLabel(QStringLiteral("lblAlarmVSSMin"), QStringLiteral("Minimum VSS (MPH)"));
    txtAlarmVSSMin = makeField(QStringLiteral("txtAlarmVSSMin"));
    lblAlarmVSSMax = makeLabel(QStringLiteral("lblAlarmVSSMax"), QStringLiteral("Maximum VSS (MPH)"));
    txtAlarmVSSMax = makeField(QStringLiteral("txtAlarmVSSMax"));

    auto* grid = new QGridLayout;
    grid->addWidget(lblAlarmVSSEnable, 0, 0);
    grid->addWidget(chkAlarmVSSEnable, 0, 1);
    grid->addWidget(lblAlarmVSSColor, 1, 0);
    grid->addWidget(txtAlarmVSSColor, 1, 1);
    grid->addWidget(cmdAlarmVSSColor, 1, 2);
    grid->addWidget(lblAlarmVSSMin, 2, 0);
    grid->addWidget(txtAlarmVSSMin, 2, 1);
    grid->addWidget(lblAlarmVSSMax, 3, 0);
    grid->addWidget(txtAlarmVSSMax, 3, 1);
    grid->setColumnStretch(3, 1);

    QHBoxLayout* buttons = makeRestoreOkRow(cmdRestoreDefaults, cmdOK);

    auto* top = new QVBoxLayout;
    top->addLayout(grid);
    top->addStretch(1);
    arrange(top, buttons);

    connect(chkAlarmVSSEnable, &QCheckBox::toggled, this, &frmAlarmVSS::chkAlarmVSSEnable_Click);
    onClick(cmdAlarmVSSColor, [this] { cmdAlarmVSSColor_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    onClick(cmdRestoreDefaults, [this] { cmdRestoreDefaults_Click(); });

    Form_Load();
}

void frmAlarmVSS::Form_Load()
{
    chkAlarmVSSEnable->setChecked(m_params.AlarmVSSEnable);
    paintSwatch(txtAlarmVSSColor, m_params.AlarmVSSColor);
    showField(txtAlarmVSSMin);
    showField(txtAlarmVSSMax);
    enableControls(m_params.AlarmVSSEnable);
}

void frmAlarmVSS::enableControls(bool enabled)
{
    for (QWidget* w : {static_cast<QWidget*>(cmdAlarmVSSColor), static_cast<QWidget*>(txtAlarmVSSColor),
                       static_cast<QWidget*>(txtAlarmVSSMin), static_cast<QWidget*>(txtAlarmVSSMax)})
        w->setEnabled(enabled);
}

void frmAlarmVSS::chkAlarmVSSEnable_Click()
{
    m_params.AlarmVSSEnable = chkAlarmVSSEnable->isChecked();
    enableControls(m_params.AlarmVSSEnable);
}

void frmAlarmVSS::cmdAlarmVSSColor_Click()
{
    pickColor(m_params.AlarmVSSColor, txtAlarmVSSColor);
}

void frmAlarmVSS::cmdRestoreDefaults_Click()
{
    if (!confirmRestoreDefaults(QStringLiteral("This action will reset all VSS alarm parameters to default values.")))
        return;
    restoreVssAlarmDefaults(m_params);
    Form_Load();
}
