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
#include <algorithm>

namespace {

// Wide enough for "20000" and "0.00" with some room, narrow enough to keep the
// frames compact.
constexpr int kFieldWidth = 70;

// A label; with a control, the one it names (nameAfter).
QLabel* label(const QString& text, QWidget* control = nullptr, const QString& name = QString())
{
    auto* l = new QLabel(text);
    if (!name.isEmpty())
        l->setObjectName(name);
    if (control)
        nameAfter(l, control);
    return l;
}

// A "Pick Color" button; a screen reader tells the buttons apart by the colour each picks.
QPushButton* makeButton(const QString& name, const QString& caption, const QLabel* picks)
{
    auto* b = new QPushButton(caption);
    b->setObjectName(name);
    b->setAccessibleDescription(picks->text());
    return b;
}

// Asks for room to show the whole user text at once, even when every character is
// the widest printable one, and makes do with less on a small screen or with large
// text: the text then scrolls in the field.
class UserDataEdit : public QLineEdit {
public:
    QSize sizeHint() const override
    {
        const QFontMetrics fm = fontMetrics();
        QChar widest(' ');
        for (char16_t c = 0x20; c < 0x7F; ++c) {
            if (fm.horizontalAdvance(QChar(c)) > fm.horizontalAdvance(widest))
                widest = QChar(c);
        }
        // Qt sizes a line edit for 17 'x' plus its frame and margins; keep the frame
        // and margins, and room for the cursor after the last character.
        const QSize hint = QLineEdit::sizeHint();
        const int frame = hint.width() - 17 * fm.horizontalAdvance(QLatin1Char('x'));
        constexpr int kCursorRoom = 2;
        return {fm.horizontalAdvance(QString(kUserDataLength, widest)) + frame + kCursorRoom, hint.height()};
    }
};

// Holds the two shift frames, one shown at a time, and asks for the width of the
// wider, so switching stages does not move the scale factors frame beside it. Only
// the wish is shared: on a small screen the shown frame shrinks to its own minimum.
class ShiftColumn : public QWidget {
public:
    QSize sizeHint() const override
    {
        QSize hint = QWidget::sizeHint();
        for (const QGroupBox* frame : findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly))
            hint.setWidth(std::max(hint.width(), frame->sizeHint().width()));
        return hint;
    }
};

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
    fraShiftSetup = new QGroupBox(tr("Shift Light Setup"));
    fraShiftSetup->setObjectName(QStringLiteral("fraShiftSetup"));
    txtShiftRPM = addField(QStringLiteral("txtShiftRPM"));
    txtShiftColor = makeSwatch(QStringLiteral("txtShiftColor"), kFieldWidth);
    QLabel* lblShiftColor = label(tr("Shift Light Color"), txtShiftColor, QStringLiteral("lblShiftColor"));
    cmdShiftColor = makeButton(QStringLiteral("cmdShiftColor"), tr("Pick Color"), lblShiftColor);
    {
        auto* g = new QGridLayout(fraShiftSetup);
        g->addWidget(label(tr("Shift RPM"), txtShiftRPM, QStringLiteral("lblShiftRPM")), 0, 0);
        g->addWidget(txtShiftRPM, 0, 1);
        g->addWidget(lblShiftColor, 1, 0);
        g->addWidget(txtShiftColor, 1, 1);
        g->addWidget(cmdShiftColor, 1, 2);
        g->setColumnStretch(3, 1);
    }

    // Multi-stage shift light
    fraMultiStageShiftSetup = new QGroupBox(tr("Multi-Stage Shift Light Setup"));
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
    txtMultiStageShiftColor = makeSwatch(QStringLiteral("txtMultiStageShiftColor"), kFieldWidth);
    QLabel* lblMultiStageShiftColor =
        label(tr("Shift Light Color"), txtMultiStageShiftColor, QStringLiteral("lblMultiStageShiftColor"));
    cmdMultiStageShiftColor =
        makeButton(QStringLiteral("cmdMultiStageShiftColor"), tr("Pick Color"), lblMultiStageShiftColor);
    txtLaunchColor = makeSwatch(QStringLiteral("txtLaunchColor"), kFieldWidth);
    QLabel* lblLaunchColor = label(tr("Launch Light Color"), txtLaunchColor, QStringLiteral("lblLaunchColor"));
    cmdLaunchColor = makeButton(QStringLiteral("cmdLaunchColor"), tr("Pick Color"), lblLaunchColor);
    shiftChart = new ShiftChart(store.params);
    lblMinVSS = label(tr("Minimum VSS"), nullptr, QStringLiteral("lblMinVSS"));
    lblShortShiftRPM = label(tr("Short Shift Window"), txtShortShiftRPM, QStringLiteral("lblShortShiftRPM"));
    lblShiftDropRPM = label(tr("Minimum Shift Drop"), txtShiftDropRPM, QStringLiteral("lblShiftDropRPM"));
    {
        auto* g = new QGridLayout(fraMultiStageShiftSetup);
        g->addWidget(label(tr("RPM"), nullptr, QStringLiteral("lblRPM")), 0, 1, Qt::AlignHCenter);
        g->addWidget(lblMinVSS, 0, 2, Qt::AlignHCenter);
        for (int i = 0; i < 5; ++i) {
            QLabel* gear = label(tr("Gear %1 Shift").arg(i + 1), rpm[i], QStringLiteral("lblGear%1").arg(i + 1));
            // A gear's speed field has no label of its own: it is heard by its row and column.
            //: A field by its row and column, for a screen reader: "Gear 1 Shift, Minimum VSS".
            vss[i]->setAccessibleName(tr("%1, %2").arg(gear->text(), lblMinVSS->text()));
            g->addWidget(gear, i + 1, 0);
            g->addWidget(rpm[i], i + 1, 1);
            g->addWidget(vss[i], i + 1, 2);
        }
        g->addWidget(lblShortShiftRPM, 6, 0);
        g->addWidget(txtShortShiftRPM, 6, 1);
        g->addWidget(lblShiftDropRPM, 7, 0);
        g->addWidget(txtShiftDropRPM, 7, 1);
        //: The row of the launch RPM field.
        g->addWidget(label(tr("Launch"), txtLaunchRPM, QStringLiteral("lblLaunchRPM")), 8, 0);
        g->addWidget(txtLaunchRPM, 8, 1);
        g->addWidget(lblMultiStageShiftColor, 9, 0);
        g->addWidget(txtMultiStageShiftColor, 9, 1);
        g->addWidget(cmdMultiStageShiftColor, 9, 2);
        g->addWidget(lblLaunchColor, 10, 0);
        g->addWidget(txtLaunchColor, 10, 1);
        g->addWidget(cmdLaunchColor, 10, 2);
        g->addWidget(shiftChart, 0, 3, 11, 1);
        g->setColumnStretch(3, 1);
    }

    // Scale factors and general setup
    fraScaleFactors = new QGroupBox(tr("Scale Factors and General Setup"));
    fraScaleFactors->setObjectName(QStringLiteral("fraScaleFactors"));
    txtPulsePerRev = addField(QStringLiteral("txtPulsePerRev"));
    txtVSSFreq = addField(QStringLiteral("txtVSSFreq"));
    txtTPSZero = addField(QStringLiteral("txtTPSZero"));
    txtTPSFullscale = addField(QStringLiteral("txtTPSFullscale"));
    txtDataLogInterval = addField(QStringLiteral("txtDataLogInterval"));
    txtRPMDebounce = addField(QStringLiteral("txtRPMDebounce"));
    txtMinLEDPWM = addField(QStringLiteral("txtMinLEDPWM"));
    txtMaxLEDPWM = addField(QStringLiteral("txtMaxLEDPWM"));
    txtUserData = new UserDataEdit;
    txtUserData->setObjectName(QStringLiteral("txtUserData"));
    // The controller keeps 32 bytes of printable ASCII for it.
    txtUserData->setMaxLength(kUserDataLength);
    txtUserData->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[\\x20-\\x7E]{0,32}")), txtUserData));
    txtUserData->setToolTip(tr("Up to 32 characters: letters, digits, blanks and punctuation"));
    chkMultiStageShift = makeCheck(QStringLiteral("chkMultiStageShift"), tr("Multi-Stage Shift Light"));
    chkVSSGearDetect = makeCheck(QStringLiteral("chkVSSGearDetect"), tr("VSS Based Gear Detection"));
    chkLogArmed = makeCheck(QStringLiteral("chkLogArmed"), tr("Data Logging Only When Armed"));
    {
        auto* f = new QFormLayout(fraScaleFactors);
        f->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
        f->addRow(label(tr("RPM Pulses/Rev (0.5-12)"), txtPulsePerRev, QStringLiteral("lblPulsePerRev")),
                  txtPulsePerRev);
        f->addRow(label(tr("VSS Frequency (Hz)  at 60 MPH"), txtVSSFreq, QStringLiteral("lblVSSFreq")),
                  txtVSSFreq);
        f->addRow(label(tr("Zero TPS (0-5 volts)"), txtTPSZero, QStringLiteral("lblTPSZero")), txtTPSZero);
        f->addRow(label(tr("100% TPS (0-5 volts)"), txtTPSFullscale, QStringLiteral("lblTPSFullscale")),
                  txtTPSFullscale);
        f->addRow(label(tr("Data Logging Interval (0.1-1.0 sec)"), txtDataLogInterval,
                        QStringLiteral("lblDataLogInterval")),
                  txtDataLogInterval);
        f->addRow(label(tr("RPM Debounce (msec)"), txtRPMDebounce, QStringLiteral("lblRPMDebounce")),
                  txtRPMDebounce);
        f->addRow(label(tr("Minimum LED Brightness (5-100%)"), txtMinLEDPWM, QStringLiteral("lblMinLEDPWM")),
                  txtMinLEDPWM);
        f->addRow(label(tr("Maximum LED Brightness (10-100%)"), txtMaxLEDPWM, QStringLiteral("lblMaxLEDPWM")),
                  txtMaxLEDPWM);
        // The user text gets a line of its own under its label: beside the labels, its
        // 32 characters would make the window wider than a laptop screen.
        f->addRow(label(tr("User Data"), txtUserData, QStringLiteral("lblUserData")));
        f->addRow(txtUserData);
        f->addRow(chkMultiStageShift);
        f->addRow(chkVSSGearDetect);
        f->addRow(chkLogArmed);
    }

    auto* shiftColumn = new ShiftColumn;
    auto* left = new QVBoxLayout(shiftColumn);
    left->setContentsMargins(0, 0, 0, 0);
    left->addWidget(fraShiftSetup);
    left->addWidget(fraMultiStageShiftSetup);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(fraScaleFactors);
    right->addStretch(1);
    auto* top = new QHBoxLayout(this);
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(shiftColumn);
    top->addLayout(right);
    top->addStretch(1);

    // Switches run their handlers whenever their value changes, also from code;
    // the refresh is the one place that sets them without running them.
    connect(chkLogArmed, &QCheckBox::toggled, this, &ParameterEditor::chkLogArmed_Click);
    connect(chkMultiStageShift, &QCheckBox::toggled, this, &ParameterEditor::chkMultiStageShift_Click);
    connect(chkVSSGearDetect, &QCheckBox::toggled, this, &ParameterEditor::chkVSSGearDetect_Click);
    // The chart reads the parameters when it paints: any change asks for a paint, and
    // a screen reader hears the new points.
    connect(m_fields, &EditorFields::validated, shiftChart, &ShiftChart::refresh);
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
    shiftChart->refresh();
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
    shiftChart->refresh();  // the speeds under the bars come and go with their fields
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
    shiftChart->refresh();
}

void ParameterEditor::cmdLaunchColor_Click()
{
    pickColor(m_prompter, m_store.params.LaunchColor, txtLaunchColor);
    shiftChart->refresh();
}
