#include "gpo/frmgpo.h"

#include "params/defaults.h"
#include "params/switches.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

const char* const frmGPO::kGPIRequired =
    QT_TRANSLATE_NOOP("frmGPO", "GPO disabled. GPI required for selected multi-stage gear detection mode.");

bool frmGPO::canOpen(const ParameterSet& params, Prompter& prompter)
{
    if (!gpoEditorMayOpen(params)) {
        prompter.message(tr(kGPIRequired), tr("Edit GPO Parameters"), PromptButtons::OK,
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
    setWindowTitle(tr("GPO Parameters"));

    chkGPOEnable = makeCheck(QStringLiteral("chkGPOEnable"), tr("Enable GPO"));
    chkGPOOneShotDelay = makeCheck(QStringLiteral("chkGPOOneShotDelay"), tr("One-Shot Delay"));

    auto* grid = new QGridLayout;
    int row = 0;
    const auto addField = [&](const QString& name, const QString& caption) {
        QLineEdit* field = makeField(QStringLiteral("txt") + name);
        grid->addWidget(makeLabel(QStringLiteral("lbl") + name, caption, field), row, 0);
        grid->addWidget(field, row, 1);
        ++row;
        return field;
    };
    txtGPOMinRPM = addField(QStringLiteral("GPOMinRPM"), tr("Minimum RPM (100 RPM steps)"));
    txtGPOMaxRPM = addField(QStringLiteral("GPOMaxRPM"), tr("Maximum RPM (100 RPM steps)"));
    txtGPOOffTPS = addField(QStringLiteral("GPOOffTPS"), tr("TPS Off (%)"));
    txtGPOOnTPS = addField(QStringLiteral("GPOOnTPS"), tr("TPS On (%)"));
    txtGPOMinVSS = addField(QStringLiteral("GPOMinVSS"), tr("Minimum VSS (MPH)"));
    txtGPOMaxVSS = addField(QStringLiteral("GPOMaxVSS"), tr("Maximum VSS (MPH)"));
    txtGPODelay = addField(QStringLiteral("GPODelay"), tr("Delay (sec)"));
    grid->addWidget(chkGPOOneShotDelay, row, 0, 1, 2);
    grid->setColumnStretch(2, 1);

    QHBoxLayout* buttons = makeRestoreOkRow(cmdRestoreDefaults, cmdOK);

    auto* top = new QVBoxLayout;
    top->addWidget(chkGPOEnable);
    top->addLayout(grid);
    top->addStretch(1);
    arrange(top, buttons);

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
    if (!confirmRestoreDefaults(tr("This action will reset all GPO parameters to default values.")))
        return;
    restoreGpoDefaults(m_params);
    Form_Load();
}
