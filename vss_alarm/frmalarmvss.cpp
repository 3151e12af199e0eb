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
    setWindowTitle(tr("VSS (Speed) Alarm"));

    chkAlarmVSSEnable = makeCheck(QStringLiteral("chkAlarmVSSEnable"));
    lblAlarmVSSEnable = makeLabel(QStringLiteral("lblAlarmVSSEnable"), tr("Enable VSS Alarm"), chkAlarmVSSEnable);
    txtAlarmVSSColor = makeSwatch(QStringLiteral("txtAlarmVSSColor"));
    lblAlarmVSSColor = makeLabel(QStringLiteral("lblAlarmVSSColor"), tr("VSS Alarm Color"), txtAlarmVSSColor);
    cmdAlarmVSSColor = makeButton(QStringLiteral("cmdAlarmVSSColor"), tr("Pick Color"));
    cmdAlarmVSSColor->setAccessibleDescription(lblAlarmVSSColor->text());
    txtAlarmVSSMin = makeField(QStringLiteral("txtAlarmVSSMin"));
    lblAlarmVSSMin = makeLabel(QStringLiteral("lblAlarmVSSMin"), tr("Minimum VSS (MPH)"), txtAlarmVSSMin);
    txtAlarmVSSMax = makeField(QStringLiteral("txtAlarmVSSMax"));
    lblAlarmVSSMax = makeLabel(QStringLiteral("lblAlarmVSSMax"), tr("Maximum VSS (MPH)"), txtAlarmVSSMax);

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
    if (!confirmRestoreDefaults(tr("This action will reset all VSS alarm parameters to default values.")))
        return;
    restoreVssAlarmDefaults(m_params);
    Form_Load();
}
