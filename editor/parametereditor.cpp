#include "editor/parametereditor.h"

#include "editor/colorvalue.h"
#include "params/codec.h"
#include "params/fieldrules.h"
#include "shell/errortrap.h"
#include "shell/prompter.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScopedValueRollback>
#include <QVBoxLayout>

namespace {

// Wide enough for "20000" and "0.00" with some room, narrow enough to keep the
// frames compact.
constexpr int kFieldWidth = 70;

QLabel* label(const QString& text, QWidget* buddy = nullptr, const QString& name = QString())
{
    auto* l = new QLabel(text);
    if (!name.isEmpty())
        l->setObjectName(name);
    if (buddy)
        l->setBuddy(buddy);
    return l;
}

QLineEdit* makeSwatch(const QString& name)
{
    auto* s = new QLineEdit;
    s->setObjectName(name);
    s->setReadOnly(true);
    s->setFocusPolicy(Qt::NoFocus);
    s->setFixedWidth(kFieldWidth);
    s->setAutoFillBackground(true);
    return s;
}

QPushButton* makeButton(const QString& name)
{
    auto* b = new QPushButton(QStringLiteral("Pick Color"));
    b->setObjectName(name);
    return b;
}

QCheckBox* makeCheck(const QString& name, const QString& text)
{
    auto* c = new QCheckBox(text);
    c->setObjectName(name);
    return c;
}

}  // namespace

void setSwatchColor(QLineEdit* swatch, uint32_t value)
{
    QPalette pal = swatch->palette();
    const QColor c = colorFromValue(value);
    pal.setColor(QPalette::Base, c);
    pal.setColor(QPalette::Window, c);
    swatch->setPalette(pal);
    swatch->clear();
}

uint32_t swatchColor(const QLineEdit* swatch)
{
    return valueFromColor(swatch->palette().color(QPalette::Base));
}

QLineEdit* ParameterEditor::addField(const QString& name)
{
    auto* f = new QLineEdit;
    f->setObjectName(name);
    f->setFixedWidth(kFieldWidth);
    f->setToolTip(fieldrules::tooltip(name));
    f->installEventFilter(this);
    m_fields.insert(name, f);
    return f;
}

ParameterEditor::ParameterEditor(ParameterStore& store, Prompter& prompter, QWidget* parent)
    : QWidget(parent), m_store(store), m_prompter(prompter)
{
    // Single-stage shift light
    fraShiftSetup = new QGroupBox(QStringLiteral("Shift Light Setup"));
    fraShiftSetup->setObjectName(QStringLiteral("fraShiftSetup"));
    txtShiftRPM = addField(QStringLiteral("txtShiftRPM"));
    txtShiftColor = makeSwatch(QStringLiteral("txtShiftColor"));
    cmdShiftColor = makeButton(QStringLiteral("cmdShiftColor"));
    {
        auto* g = new QGridLayout(fraShiftSetup);
        g->addWidget(label(QStringLiteral("Shift RPM"), txtShiftRPM, QStringLiteral("lblShiftRPM")), 0, 0);
        g->addWidget(txtShiftRPM, 0, 1);
        g->addWidget(label(QStringLiteral("Shift Light Color"), nullptr, QStringLiteral("lblShiftColor")), 1, 0);
        g->addWidget(txtShiftColor, 1, 1);
        g->addWidget(cmdShiftColor, 1, 2);
        g->setColumnStretch(3, 1);
    }

    // Multi-stage shift light
    fraMultiStageShiftSetup = new QGroupBox(QStringLiteral("Multi-Stage Shift Light Setup"));
    fraMultiStageShiftSetup->setObjectName(QStringLiteral("fraMultiStageShiftSetup"));
    QLineEdit* rpm[5];
    QLineEdit* vss[5];
    for (int i = 0; i < 5; ++i) {
        rpm[i] = addField(QStringLiteral("txtShiftRPM%1").arg(i + 1));
        vss[i] = addField(QStringLiteral("txtShiftVSS%1").arg(i + 1));
    }
    txtShiftRPM1 = rpm[0], txtShiftRPM2 = rpm[1], txtShiftRPM3 = rpm[2], txtShiftRPM4 = rpm[3], txtShiftRPM5 = rpm[4];
    txtShiftVSS1 = vss[0], txtShiftVSS2 = vss[1], txtShiftVSS3 = vss[2], txtShiftVSS4 = vss[3], txtShiftVSS5 = vss[4];
    txtShortShiftRPM = addField(QStringLiteral("txtShortShiftRPM"));
    txtShiftDropRPM = addField(QStringLiteral("txtShiftDropRPM"));
    txtLaunchRPM = addField(QStringLiteral("txtLaunchRPM"));
    txtMultiStageShiftColor = makeSwatch(QStringLiteral("txtMultiStageShiftColor"));
    cmdMultiStageShiftColor = makeButton(QStringLiteral("cmdMultiStageShiftColor"));
    txtLaunchColor = makeSwatch(QStringLiteral("txtLaunchColor"));
    cmdLaunchColor = makeButton(QStringLiteral("cmdLaunchColor"));
    lblMinVSS = label(QStringLiteral("Minimum VSS"), nullptr, QStringLiteral("lblMinVSS"));
    lblShortShiftRPM = label(QStringLiteral("Short Shift Window"), txtShortShiftRPM, QStringLiteral("lblShortShiftRPM"));
    lblShiftDropRPM = label(QStringLiteral("Minimum Shift Drop"), txtShiftDropRPM, QStringLiteral("lblShiftDropRPM"));
    {
        auto* g = new QGridLayout(fraMultiStageShiftSetup);
        g->addWidget(label(QStringLiteral("RPM"), nullptr, QStringLiteral("lblRPM")), 0, 1, Qt::AlignHCenter);
        g->addWidget(lblMinVSS, 0, 2, Qt::AlignHCenter);
        for (int i = 0; i < 5; ++i) {
            g->addWidget(label(QStringLiteral("Gear %1 Shift").arg(i + 1), rpm[i], QStringLiteral("lblGear%1").arg(i + 1)),
                         i + 1, 0);
            g->addWidget(rpm[i], i + 1, 1);
            g->addWidget(vss[i], i + 1, 2);
        }
        g->addWidget(lblShortShiftRPM, 6, 0);
        g->addWidget(txtShortShiftRPM, 6, 1);
        g->addWidget(lblShiftDropRPM, 7, 0);
        g->addWidget(txtShiftDropRPM, 7, 1);
        g->addWidget(label(QStringLiteral("Launch"), txtLaunchRPM, QStringLiteral("lblLaunchRPM")), 8, 0);
        g->addWidget(txtLaunchRPM, 8, 1);
        g->addWidget(label(QStringLiteral("Shift Light Color"), nullptr, QStringLiteral("lblMultiStageShiftColor")), 9, 0);
        g->addWidget(txtMultiStageShiftColor, 9, 1);
        g->addWidget(cmdMultiStageShiftColor, 9, 2);
        g->addWidget(label(QStringLiteral("Launch Light Color"), nullptr, QStringLiteral("lblLaunchColor")), 10, 0);
        g->addWidget(txtLaunchColor, 10, 1);
        g->addWidget(cmdLaunchColor, 10, 2);
        g->setColumnStretch(3, 1);
    }

    // Scale factors and general setup
    fraScaleFactors = new QGroupBox(QStringLiteral("Scale Factors and General Setup"));
    fraScaleFactors->setObjectName(QStringLiteral("fraScaleFactors"));
    txtPulsePerRev = addField(QStringLiteral("txtPulsePerRev"));
    txtVSSFreq = addField(QStringLiteral("txtVSSFreq"));
    txtTPSZero = addField(QStringLiteral("txtTPSZero"));
    txtTPSFullscale = addField(QStringLiteral("txtTPSFullscale"));
    txtDataLogInterval = addField(QStringLiteral("txtDataLogInterval"));
    txtRPMDebounce = addField(QStringLiteral("txtRPMDebounce"));
    txtMinLEDPWM = addField(QStringLiteral("txtMinLEDPWM"));
    txtMaxLEDPWM = addField(QStringLiteral("txtMaxLEDPWM"));
    txtUserData = new QLineEdit;
    txtUserData->setObjectName(QStringLiteral("txtUserData"));
    // The controller keeps 32 bytes of printable ASCII for it.
    txtUserData->setMaxLength(kUserDataLength);
    txtUserData->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[\\x20-\\x7E]{0,32}")), txtUserData));
    txtUserData->setToolTip(QStringLiteral("Up to 32 characters: letters, digits, blanks and punctuation"));
    txtUserData->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('M')) * 20);
    chkMultiStageShift = makeCheck(QStringLiteral("chkMultiStageShift"), QStringLiteral("Multi-Stage Shift Light"));
    chkVSSGearDetect = makeCheck(QStringLiteral("chkVSSGearDetect"), QStringLiteral("VSS Based Gear Detection"));
    chkLogArmed = makeCheck(QStringLiteral("chkLogArmed"), QStringLiteral("Data Logging Only When Armed"));
    {
        auto* f = new QFormLayout(fraScaleFactors);
        f->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
        f->addRow(label(QStringLiteral("RPM Pulses/Rev (0.5-12)"), txtPulsePerRev, QStringLiteral("lblPulsePerRev")),
                  txtPulsePerRev);
        f->addRow(label(QStringLiteral("VSS Frequency (Hz)  at 60 MPH"), txtVSSFreq, QStringLiteral("lblVSSFreq")),
                  txtVSSFreq);
        f->addRow(label(QStringLiteral("Zero TPS (0-5 volts)"), txtTPSZero, QStringLiteral("lblTPSZero")), txtTPSZero);
        f->addRow(label(QStringLiteral("100% TPS (0-5 volts)"), txtTPSFullscale, QStringLiteral("lblTPSFullscale")),
                  txtTPSFullscale);
        f->addRow(label(QStringLiteral("Data Logging Interval (0.1-1.0 sec)"), txtDataLogInterval,
                        QStringLiteral("lblDataLogInterval")),
                  txtDataLogInterval);
        f->addRow(label(QStringLiteral("RPM Debounce (msec)"), txtRPMDebounce, QStringLiteral("lblRPMDebounce")),
                  txtRPMDebounce);
        f->addRow(label(QStringLiteral("Minimum LED Brightness (5-100%)"), txtMinLEDPWM, QStringLiteral("lblMinLEDPWM")),
                  txtMinLEDPWM);
        f->addRow(label(QStringLiteral("Maximum LED Brightness (10-100%)"), txtMaxLEDPWM, QStringLiteral("lblMaxLEDPWM")),
                  txtMaxLEDPWM);
        f->addRow(label(QStringLiteral("User Data"), txtUserData, QStringLiteral("lblUserData")), txtUserData);
        f->addRow(chkMultiStageShift);
        f->addRow(chkVSSGearDetect);
        f->addRow(chkLogArmed);
    }

    // Both shift frames take the width of the wider one, so switching modes or
    // gear detection does not move the scale factors frame.
    const int leftWidth = qMax(fraShiftSetup->sizeHint().width(), fraMultiStageShiftSetup->sizeHint().width());
    fraShiftSetup->setMinimumWidth(leftWidth);
    fraMultiStageShiftSetup->setMinimumWidth(leftWidth);

    auto* left = new QVBoxLayout;
    left->addWidget(fraShiftSetup);
    left->addWidget(fraMultiStageShiftSetup);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(fraScaleFactors);
    right->addStretch(1);
    auto* top = new QHBoxLayout(this);
    top->setContentsMargins(0, 0, 0, 0);
    top->addLayout(left);
    top->addLayout(right);
    top->addStretch(1);

    // Switches run their handlers whenever their value changes, also from code;
    // the refresh is the one place that sets them without running them.
    connect(chkLogArmed, &QCheckBox::toggled, this, &ParameterEditor::chkLogArmed_Click);
    connect(chkMultiStageShift, &QCheckBox::toggled, this, &ParameterEditor::chkMultiStageShift_Click);
    connect(chkVSSGearDetect, &QCheckBox::toggled, this, &ParameterEditor::chkVSSGearDetect_Click);
    connect(cmdShiftColor, &QPushButton::clicked, this, &ParameterEditor::cmdShiftColor_Click);
    connect(cmdMultiStageShiftColor, &QPushButton::clicked, this, &ParameterEditor::cmdMultiStageShiftColor_Click);
    connect(cmdLaunchColor, &QPushButton::clicked, this, &ParameterEditor::cmdLaunchColor_Click);
    connect(txtUserData, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!m_refreshing)
            m_store.params.UserData = text;
    });
}

bool ParameterEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        auto* f = qobject_cast<QLineEdit*>(watched);
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Focus leaving for a menu, a popup or another window is not the person
        // leaving the field; it comes back to the field afterwards.
        const bool leaves = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason
                            && reason != Qt::MenuBarFocusReason;
        if (f && leaves)
            validateField(f->objectName());
    }
    return QWidget::eventFilter(watched, event);
}

void ParameterEditor::validateField(const QString& name)
{
    QLineEdit* f = m_fields.value(name);
    if (!f || m_refreshing || m_suspended || m_validating)
        return;
    // A warning box takes the focus from the next field; that is no reason to
    // validate the next field too.
    QScopedValueRollback<bool> guard(m_validating, true);
    fieldrules::Outcome out;
    ErrorTrap trap(m_prompter);
    trap.run([&]() -> StepError {
        out = fieldrules::validate(name, f->text(), m_store.params);
        return out.error.isEmpty() ? StepError() : StepError(out.error);
    });
    if (out.error.isEmpty() && !out.warning.isEmpty())
        m_prompter.warn(out.warning, out.warningTitle);
    if (!out.notice.isEmpty())
        m_prompter.warn(out.notice, out.noticeTitle);
    f->setText(out.text);
    f->setModified(false);
    for (auto it = out.otherTexts.cbegin(); it != out.otherTexts.cend(); ++it) {
        if (QLineEdit* other = m_fields.value(it.key())) {
            other->setText(it.value());
            other->setModified(false);
        }
    }
}

void ParameterEditor::commitPendingEdit()
{
    QWidget* focus = focusWidget();
    auto* f = qobject_cast<QLineEdit*>(focus);
    if (f && f->isModified() && m_fields.contains(f->objectName()))
        validateField(f->objectName());
    commitUserText();
}

void ParameterEditor::commitUserText()
{
    m_store.params.UserData = txtUserData->text();
}

void ParameterEditor::refresh()
{
    QScopedValueRollback<bool> guard(m_refreshing, true);
    const ParameterSet& p = m_store.params;
    for (auto it = m_fields.cbegin(); it != m_fields.cend(); ++it) {
        it.value()->setText(fieldrules::display(it.key(), p));
        it.value()->setModified(false);
    }
    chkLogArmed->setChecked(p.LogArmed);
    txtUserData->setText(p.UserData.trimmed());
    setSwatchColor(txtLaunchColor, uint32_t(p.LaunchColor));
    setSwatchColor(txtShiftColor, uint32_t(p.ShiftColor));
    setSwatchColor(txtMultiStageShiftColor, uint32_t(p.ShiftColor));
    chkMultiStageShift->setChecked(p.MultiStageShift);
    chkVSSGearDetect->setChecked(p.VSSGearDetect);

    fraMultiStageShiftSetup->setVisible(p.MultiStageShift);
    fraShiftSetup->setVisible(!p.MultiStageShift);
    chkVSSGearDetect->setEnabled(p.MultiStageShift);
    showGearDetectLayout(p.VSSGearDetect);
    fraScaleFactors->setVisible(true);
}

void ParameterEditor::hideFrames(bool multiStageToo)
{
    QScopedValueRollback<bool> guard(m_refreshing, true);
    fraScaleFactors->hide();
    fraShiftSetup->hide();
    if (multiStageToo)
        fraMultiStageShiftSetup->hide();
}

void ParameterEditor::showGearDetectLayout(bool gearDetect)
{
    for (QLineEdit* f : {txtShiftVSS1, txtShiftVSS2, txtShiftVSS3, txtShiftVSS4, txtShiftVSS5})
        f->setVisible(gearDetect);
    lblMinVSS->setVisible(gearDetect);
    txtShortShiftRPM->setVisible(!gearDetect);
    txtShiftDropRPM->setVisible(!gearDetect);
    lblShortShiftRPM->setVisible(!gearDetect);
    lblShiftDropRPM->setVisible(!gearDetect);
}

void ParameterEditor::chkLogArmed_Click(bool checked)
{
    if (m_refreshing)
        return;
    m_store.params.LogArmed = checked;
}

void ParameterEditor::chkMultiStageShift_Click(bool checked)
{
    if (m_refreshing)
        return;
    m_store.params.MultiStageShift = checked;
    // The whole editor re-derives itself from the image, so everything the
    // switch implies (frames, gear detection, GPO) comes from one place.
    commitUserText();
    ErrorTrap trap(m_prompter);
    if (!trap.run([&]() -> StepError {
            const CodecResult r = UpdateEEPROM(m_store.params, m_store.image);
            return r ? StepError() : StepError(r.message());
        }))
        return;
    if (!trap.run([&]() -> StepError {
            const CodecResult r = UpdateParams(m_store.image, m_store.params);
            return r ? StepError() : StepError(r.message());
        }))
        return;
    refresh();
    emit refreshedFromImage();
}

void ParameterEditor::chkVSSGearDetect_Click(bool checked)
{
    if (m_refreshing)
        return;
    m_store.params.VSSGearDetect = checked;
    // Without gear detection the controller needs the GPI in multi-stage mode,
    // so the GPO goes off; checking the box again does not turn it back on.
    if (!checked)
        m_store.params.GPOEnable = false;
    showGearDetectLayout(checked);
}

void ParameterEditor::cmdShiftColor_Click() { pickColor(m_store.params.ShiftColor, txtShiftColor); }

void ParameterEditor::cmdMultiStageShiftColor_Click()
{
    pickColor(m_store.params.ShiftColor, txtMultiStageShiftColor);
}

void ParameterEditor::cmdLaunchColor_Click() { pickColor(m_store.params.LaunchColor, txtLaunchColor); }

void ParameterEditor::pickColor(int32_t& parameter, QLineEdit* swatch)
{
    const uint32_t current = uint32_t(parameter) & 0xFFFFFF;
    std::optional<uint32_t> chosen;
    ErrorTrap trap(m_prompter);
    const bool goOn = trap.run([&]() -> StepError {
        chosen = m_prompter.color(current);
        if (!chosen)
            return QStringLiteral("Cancel was selected.");
        return StepError();
    });
    if (!goOn)
        return;
    // Ignore after a cancel goes on with the colour the picker started from, so a
    // cancelled dialog never changes a colour.
    parameter = int32_t(chosen.value_or(current) & 0xFFFFFF);
    setSwatchColor(swatch, uint32_t(parameter));
}
