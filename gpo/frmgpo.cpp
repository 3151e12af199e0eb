#include "gpo/frmgpo.h"

#include "params/calibration.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

const char* const frmGPO::kGPIRequired = "GPO disabled. GPI required for selected multi-stage gear detection mode.";

bool frmGPO::canOpen(const ParameterSet& params, Prompter& prompter)
{
    if (params.MultiStageShift && !params.VSSGearDetect) {
        prompter.message(QString::fromLatin1(kGPIRequired), QStringLiteral("Edit GPO Parameters"), PromptButtons::OK,
                         PromptIcon::None);
        return false;
    }
    return true;
}

bool frmGPO::open(ParameterSet& params, Prompter& prompter, QWidget* parent)
{
    if (!canOpen(params, prompter))
        return false;
    frmGPO dialog(params, prompter, parent);
    dialog.exec();
    return true;
}

frmGPO::frmGPO(ParameterSet& params, Prompter& prompter, QWidget* parent)
    : EditorDialog(params, prompter, parent)
{
    setObjectName(QStringLiteral("frmGPO"));
    setWindowTitle(QStringLiteral("GPO Parameters"));

    chkGPOEnable = makeCheck(QStringLiteral("chkGPOEnable"), QStringLiteral("Enable GPO"));
    chkGPOOneShotDelay = makeCheck(QStringLiteral("chkGPOOneShotDelay"), QStringLiteral("One-Shot Delay"));

    auto* grid = new QGridLayout;
    int row = 0;
    const auto addField = [&](const QString& name, const QString& caption) {
        QLineEdit* field = makeField(QStringLiteral("txt") + name);
        grid->addWidget(makeLabel(QStringLiteral("lbl") + name, caption), row, 0);
        grid->addWidget(field, row, 1);
        ++row;
        return field;
    };
    txtGPOMinRPM = addField(QStringLiteral("GPOMinRPM"), QStringLiteral("Minimum RPM (100 RPM steps)"));
    txtGPOMaxRPM = addField(QStringLiteral("GPOMaxRPM"), QStringLiteral("Maximum RPM (100 RPM steps)"));
    txtGPOOffTPS = addField(QStringLiteral("GPOOffTPS"), QStringLiteral("TPS Off (%)"));
    txtGPOOnTPS = addField(QStringLiteral("GPOOnTPS"), QStringLiteral("TPS On (%)"));
    txtGPOMinVSS = addField(QStringLiteral("GPOMinVSS"), QStringLiteral("Minimum VSS (MPH)"));
    txtGPOMaxVSS = addField(QStringLiteral("GPOMaxVSS"), QStringLiteral("Maximum VSS (MPH)"));
    txtGPODelay = addField(QStringLiteral("GPODelay"), QStringLiteral("Delay (sec)"));
    grid->addWidget(chkGPOOneShotDelay, row, 0, 1, 2);
    grid->setColumnStretch(2, 1);

    QHBoxLayout* buttons = makeRestoreOkRow(cmdRestoreDefaults, cmdOK);

    auto* top = new QVBoxLayout(this);
    top->addWidget(chkGPOEnable);
    top->addLayout(grid);
    top->addSpacing(8);
    top->addLayout(buttons);
    top->setSizeConstraint(QLayout::SetFixedSize);

    m_switched = {txtGPOMinRPM, txtGPOMaxRPM, txtGPOOffTPS, txtGPOOnTPS,
                  txtGPOMinVSS, txtGPOMaxVSS, txtGPODelay,  chkGPOOneShotDelay};

    connect(chkGPOEnable, &QCheckBox::toggled, this, &frmGPO::chkGPOEnable_Click);
    connect(chkGPOOneShotDelay, &QCheckBox::toggled, this, &frmGPO::chkGPOOneShotDelay_Click);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    onClick(cmdRestoreDefaults, [this] { cmdRestoreDefaults_Click(); });

    Form_Load();
}

void frmGPO::Form_Load()
{
    chkGPOEnable->setChecked(m_params.GPOEnable);
    chkGPOOneShotDelay->setChecked(m_params.GPOOneShotDelay);
    showFields();
    enableFields(m_params.GPOEnable);
}

void frmGPO::showFields()
{
    for (QLineEdit* field : {txtGPOMinRPM, txtGPOMaxRPM, txtGPOOffTPS, txtGPOOnTPS, txtGPOMinVSS, txtGPOMaxVSS,
                             txtGPODelay})
        showField(field);
}

void frmGPO::enableFields(bool enabled)
{
    for (QWidget* w : std::as_const(m_switched))
        w->setEnabled(enabled);
}

void frmGPO::chkGPOEnable_Click()
{
    m_params.GPOEnable = chkGPOEnable->isChecked();
    enableFields(m_params.GPOEnable);
}

void frmGPO::chkGPOOneShotDelay_Click()
{
    m_params.GPOOneShotDelay = chkGPOOneShotDelay->isChecked();
}

void frmGPO::cmdRestoreDefaults_Click()
{
    if (!confirmRestoreDefaults(QStringLiteral("This action will reset all GPO parameters to default values.")))
        return;
    ParameterSet& p = m_params;
    p.GPOEnable = true;
    p.GPOOneShotDelay = false;
    p.GPOMinRPM = 60;   // 6000 RPM
    p.GPOMaxRPM = 120;  // 12000 RPM
    p.GPOOffTPS = 214;  // TPS counts
    p.GPOOnTPS = 224;
    p.GPOMinVSS = 30;
    p.GPOMaxVSS = 225;
    p.GPODelay = 0;
    // The throttle points are restored as counts; the percentages shown follow from
    // the calibration the main window holds now.
    p.GPOOffTPSPercent = calibration::TPSCountToPercent(p.GPOOffTPS, p.TPSZero, p.TPSFullscale);
    p.GPOOnTPSPercent = calibration::TPSCountToPercent(p.GPOOnTPS, p.TPSZero, p.TPSFullscale);
    chkGPOEnable->setChecked(true);
    chkGPOOneShotDelay->setChecked(false);
    showFields();
    enableFields(true);
}
