#include "editor/parametereditor.h"

#include "editor/editorfields.h"
#include "editor/shiftchart.h"
#include "params/switches.h"
#include "core/prompter.h"

#include <QCheckBox>
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

// Wide enough to show the whole user text at once, even when every character is
// the widest printable one.
int userDataWidth(const QLineEdit* field)
{
    const QFontMetrics fm = field->fontMetrics();
    QChar widest(' ');
    for (char16_t c = 0x20; c < 0x7F; ++c) {
        if (fm.horizontalAdvance(QChar(c)) > fm.horizontalAdvance(widest))
            widest = QChar(c);
    }
    // Qt sizes a line edit for 17 'x' plus its frame and margins; keep the frame and
    // margins, and room for the cursor after the last character.
    const int frame = field->sizeHint().width() - 17 * fm.horizontalAdvance(QLatin1Char('x'));
    constexpr int kCursorRoom = 2;
    return fm.horizontalAdvance(QString(kUserDataLength, widest)) + frame + kCursorRoom;
}

QCheckBox* makeCheck(const QString& name, const QString& text)
{
    auto* c = new QCheckBox(text);
    c->setObjectName(name);
    return c;
}

}  // namespace

QLineEdit* ParameterEditor::addField(const QString& name)
{
    auto* f = new QLineEdit;
    f->setObjectName(name);
    f->setFixedWidth(kFieldWidth);
    return m_fields->add(f);
}

ParameterEditor::ParameterEditor(ParameterStore& store, Prompter& prompter, QWidget* parent)
    : QWidget(parent), m_store(store), m_prompter(prompter), m_fields(new EditorFields(store.params, prompter, this))
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
    shiftChart = new ShiftChart(store.params);
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
        g->addWidget(shiftChart, 0, 3, 11, 1);
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
    txtUserData->setMinimumWidth(userDataWidth(txtUserData));
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
        // The user text gets a line of its own under its label: beside the labels, its
        // 32 characters would make the window wider than a laptop screen.
        f->addRow(label(QStringLiteral("User Data"), txtUserData, QStringLiteral("lblUserData")));
        f->addRow(txtUserData);
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
    // The chart reads the parameters when it paints: any change asks for a paint.
    connect(m_fields, &EditorFields::validated, shiftChart, qOverload<>(&QWidget::update));
    connect(m_fields, &EditorFields::validated, this, &ParameterEditor::edited);
    m_fields->onClick(cmdShiftColor, [this] { cmdShiftColor_Click(); });
    m_fields->onClick(cmdMultiStageShiftColor, [this] { cmdMultiStageShiftColor_Click(); });
    m_fields->onClick(cmdLaunchColor, [this] { cmdLaunchColor_Click(); });
    // Clicked, not toggled: the switch handlers above also run when code sets a switch.
    for (QAbstractButton* b : {static_cast<QAbstractButton*>(chkLogArmed), static_cast<QAbstractButton*>(chkMultiStageShift),
                               static_cast<QAbstractButton*>(chkVSSGearDetect), static_cast<QAbstractButton*>(cmdShiftColor),
                               static_cast<QAbstractButton*>(cmdMultiStageShiftColor),
                               static_cast<QAbstractButton*>(cmdLaunchColor)})
        connect(b, &QAbstractButton::clicked, this, [this, b] { emit edited(b); });
    connect(txtUserData, &QLineEdit::editingFinished, this, [this] { emit edited(txtUserData); });
    connect(txtUserData, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!m_refreshing)
            m_store.params.UserData = text;
    });
}

void ParameterEditor::validateField(const QString& name)
{
    if (QLineEdit* f = m_fields->field(name))
        m_fields->validate(f);
}

QStringList ParameterEditor::validatedFields() const { return m_fields->names(); }

QLineEdit* ParameterEditor::field(const QString& name) const { return m_fields->field(name); }

void ParameterEditor::setSuspended(bool suspended) { m_fields->setSuspended(suspended); }

void ParameterEditor::commitPendingEdit()
{
    m_fields->validatePending(window(), true);
    commitUserText();
}

void ParameterEditor::commitUserText()
{
    m_store.params.UserData = txtUserData->text();
}

void ParameterEditor::refresh()
{
    QScopedValueRollback<bool> guard(m_refreshing, true);
    const auto paused = m_fields->pause();
    const ParameterSet& p = m_store.params;
    m_fields->showAll();
    chkLogArmed->setChecked(p.LogArmed);
    txtUserData->setText(p.UserData.trimmed());
    paintSwatch(txtLaunchColor, p.LaunchColor);
    paintSwatch(txtShiftColor, p.ShiftColor);
    paintSwatch(txtMultiStageShiftColor, p.ShiftColor);
    chkMultiStageShift->setChecked(p.MultiStageShift);
    chkVSSGearDetect->setChecked(p.VSSGearDetect);

    fraMultiStageShiftSetup->setVisible(p.MultiStageShift);
    fraShiftSetup->setVisible(!p.MultiStageShift);
    chkVSSGearDetect->setEnabled(p.MultiStageShift);
    showGearDetectLayout(p.VSSGearDetect);
    fraScaleFactors->setVisible(true);
    shiftChart->update();
}

void ParameterEditor::hideFrames(bool multiStageToo)
{
    QScopedValueRollback<bool> guard(m_refreshing, true);
    const auto paused = m_fields->pause();
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
    shiftChart->update();  // the speeds under the bars come and go with their fields
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
    // The refresh below rewrites every field: a value typed before the click is stored first.
    m_fields->validatePending(window(), true);
    // What the switch implies for gear detection and the GPO is the core's rule; the
    // editor then shows the result, fields normalised to their display rules.
    switchMultiStage(m_store.params, checked);
    commitUserText();
    refresh();
    emit refreshedFromImage();
}

void ParameterEditor::chkVSSGearDetect_Click(bool checked)
{
    if (m_refreshing)
        return;
    m_store.params.VSSGearDetect = checked;
    // Checking the box again does not turn the GPO back on.
    applyGpoInputRule(m_store.params);
    showGearDetectLayout(checked);
}

void ParameterEditor::cmdShiftColor_Click() { pickColor(m_prompter, m_store.params.ShiftColor, txtShiftColor); }

void ParameterEditor::cmdMultiStageShiftColor_Click()
{
    pickColor(m_prompter, m_store.params.ShiftColor, txtMultiStageShiftColor);
    shiftChart->update();
}

void ParameterEditor::cmdLaunchColor_Click()
{
    pickColor(m_prompter, m_store.params.LaunchColor, txtLaunchColor);
    shiftChart->update();
}
