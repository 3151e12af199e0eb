#include "shell/portpanel.h"

#include "core/errortrap.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

using namespace portsettings;

PortPanel::PortPanel(QWidget* parent) : QGroupBox(tr("Data Port Setup"), parent)
{
    setObjectName(QStringLiteral("fraPortSelect"));
    lblPort = new QLabel(tr("Port"));
    lblPort->setObjectName(QStringLiteral("lblPort"));
    cboPort = new QComboBox;
    cboPort->setObjectName(QStringLiteral("cboPort"));
    cboPort->setMaxVisibleItems(16);
    // A drop-down below the box: styles that open the list over it fill the
    // screen with the 255 Com entries.
    cboPort->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    lblPort->setBuddy(cboPort);
    lblPortDevice = new QLabel;
    lblPortDevice->setObjectName(QStringLiteral("lblPortDevice"));
    lblPortDevice->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cmdPortRefresh = new QPushButton(tr("&Refresh"));
    cmdPortRefresh->setObjectName(QStringLiteral("cmdPortRefresh"));
    cmdPortSelectOK = new QPushButton(tr("OK"));
    cmdPortSelectOK->setObjectName(QStringLiteral("cmdPortSelectOK"));
    lblLatency = new QLabel;
    lblLatency->setObjectName(QStringLiteral("lblLatency"));
    lblLatency->setWordWrap(true);
    // The command in it is there to be copied.
    lblLatency->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblLatency->hide();
    auto* g = new QGridLayout(this);
    g->addWidget(lblPort, 0, 0);
    g->addWidget(cboPort, 0, 1);
    g->addWidget(cmdPortRefresh, 0, 2);
    g->addWidget(cmdPortSelectOK, 0, 3);
    g->addWidget(lblPortDevice, 1, 1, 1, 3);
    g->addWidget(lblLatency, 2, 1, 1, 3);
    g->setColumnStretch(1, 1);
    hide();
    connect(cmdPortSelectOK, &QPushButton::clicked, this, &PortPanel::cmdPortSelectOK_Click);
    connect(cmdPortRefresh, &QPushButton::clicked, this, &PortPanel::cmdPortRefresh_Click);
}

void PortPanel::restore(Prompter& prompter)
{
    int number = kFirstPort;  // what Ignore goes on with
    ErrorTrap trap(prompter);
    const bool goOn = trap.run([&]() -> StepError {
        QString error;
        const std::optional<int> stored = loadPortNumber(&error);
        if (!stored)
            return error;
        number = *stored;
        return std::nullopt;
    });
    fillPortList(loadPortChoice(number));
    if (goOn) {
        cboPort_Click(cboPort->currentIndex());
    } else {
        showPortDevice();
        emit chosen(currentChoice());
    }
    connect(cboPort, &QComboBox::currentIndexChanged, this, &PortPanel::cboPort_Click);
}

void PortPanel::setScanner(Scanner scanner)
{
    m_scanner = std::move(scanner);
    cmdPortRefresh_Click();
}

void PortPanel::setChoosable(bool choosable)
{
    cboPort->setEnabled(choosable);
    cmdPortRefresh->setEnabled(choosable);
}

void PortPanel::mnuPortSetup_Click()
{
    showPortDevice();
    show();
}

void PortPanel::cmdPortSelectOK_Click()
{
    hide();
}

QString PortPanel::currentName() const
{
    const int index = cboPort->currentIndex();
    return index >= 0 && index < m_entries.size() ? m_entries.at(index).name : QString();
}

PortChoice PortPanel::currentChoice() const
{
    const QString name = currentName();
    const std::optional<int> com = name.startsWith(QLatin1String("Com")) ? parsePortNumber(name.mid(3)) : std::nullopt;
    return com ? PortChoice{*com, QString()} : PortChoice{0, name};
}

void PortPanel::cboPort_Click(int index)
{
    if (index < 0 || index >= m_entries.size())
        return;
    savePortChoice(m_entries.at(index).name);
    showPortDevice();
    emit chosen(currentChoice());
}

void PortPanel::cmdPortRefresh_Click()
{
    const QString current = currentName();
    fillPortList(current.isEmpty() ? loadPortChoice() : current);
    showPortDevice();
}

void PortPanel::fillPortList(const QString& choice)
{
    QList<PortRecord> records = m_scanner ? m_scanner(choice) : QList<PortRecord>();
    const bool isCom = choice.startsWith(QLatin1String("Com"));
    const auto named = [&](const PortRecord& r) { return r.byIdPath == choice || r.device == choice; };
    // A stored adapter that is not plugged in stays the choice, shown as missing.
    if (!isCom && !choice.isEmpty() && std::none_of(records.cbegin(), records.cend(), named)) {
        PortRecord missing;
        missing.device = choice;
        missing.exists = false;
        records.prepend(missing);
    }
    m_entries = portEntries(records, mappedPorts());
    const QSignalBlocker block(cboPort);
    cboPort->clear();
    int selected = int(records.size());  // Com1
    for (int i = 0; i < m_entries.size(); ++i) {
        cboPort->addItem(m_entries.at(i).label);
        if (m_entries.at(i).name == choice)
            selected = i;
    }
    cboPort->setCurrentIndex(selected);
    // Said once for all the slow adapters, in the panel where ports are chosen.
    const QString advice = latencyAdvice(records);
    lblLatency->setText(advice);
    lblLatency->setVisible(!advice.isEmpty());
    m_offer = adapterToOffer(choice, records);
    emit listChanged();
}

void PortPanel::takeOffer()
{
    if (!m_offer)
        return;
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i).name == m_offer->byIdPath || m_entries.at(i).name == m_offer->device) {
            {
                const QSignalBlocker block(cboPort);
                cboPort->setCurrentIndex(i);
            }
            cboPort_Click(i);
            return;
        }
    }
}

PortDescription PortPanel::description() const
{
    const PortChoice c = currentChoice();
    PortDescription d;
    d.entry = cboPort->currentText();
    d.device = c.devicePath.isEmpty() ? deviceForPort(c.number) : c.devicePath;
    d.present = devicePresent(d.device);
    if (m_offer && !d.present && d.device != m_offer->device && d.device != m_offer->byIdPath)
        d.offer = portLabel(*m_offer);
    return d;
}

void PortPanel::showPortDevice()
{
    const PortDescription d = description();
    lblPortDevice->setText(d.present
                               ? tr("%1 (present)").arg(d.device)
                               : tr("%1 (not found: connect the adapter or choose another port)").arg(d.device));
}
