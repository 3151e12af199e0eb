#pragma once
// The port setup panel ("Data Port Setup"): the list of ports, Refresh and OK.
// Choosing an entry stores it at once and hands the choice on; OK only hides the
// panel.
#include "link/portsettings.h"

#include <QGroupBox>
#include <functional>

class Prompter;
class QComboBox;
class QLabel;
class QPushButton;

// The port the next transfer opens.
struct PortChoice {
    int number = 0;      // Com n; 0 when a device path is chosen instead (the link keeps its number)
    QString devicePath;  // opened instead of Com n when set
};

// What the chosen entry stands for on this system, for whoever shows it.
struct PortDescription {
    QString entry;   // the list's text
    QString device;  // the device opened
    bool present = true;
    // The one USB adapter plugged in while the chosen port is missing, as the list
    // shows it: offered, never used unasked. Empty when there is none to offer.
    QString offer;
};

class PortPanel : public QGroupBox {
    Q_OBJECT
public:
    // Where the list comes from: the serial ports of the system, given the stored
    // choice (listed as missing when it is a path not present now).
    using Scanner = std::function<QList<portsettings::PortRecord>(const QString& storedChoice)>;

    explicit PortPanel(QWidget* parent = nullptr);

    // Start-up: reads the stored port through the error prompt, fills the list and
    // selects the entry, which stores it and hands it on as a selection by hand
    // does. Abort leaves the rest undone: the entry is used but not stored, so the
    // stored text stays for the person to mend.
    void restore(Prompter& prompter);
    void setScanner(Scanner scanner);
    PortDescription description() const;
    // While a transfer runs the port stays as it is.
    void setChoosable(bool choosable);

    void mnuPortSetup_Click();
    void cmdPortSelectOK_Click();
    void cboPort_Click(int index);
    void cmdPortRefresh_Click();
    // The person took the adapter offered: it becomes the choice.
    void takeOffer();

    QLabel* lblPort;
    QComboBox* cboPort;
    QLabel* lblPortDevice;
    QPushButton* cmdPortRefresh;
    QPushButton* cmdPortSelectOK;
    QLabel* lblLatency;  // the slow adapters' advice, hidden when there is none

signals:
    void chosen(const PortChoice& choice);
    // The list was filled again (Refresh, a plug or unplug): what is offered may differ.
    void listChanged();

private:
    // Fills cboPort with the ports of the system and the Com entries, selecting `choice`.
    void fillPortList(const QString& choice);
    QString currentName() const;
    PortChoice currentChoice() const;
    void showPortDevice();

    Scanner m_scanner;
    QList<portsettings::PortEntry> m_entries;
    std::optional<portsettings::PortRecord> m_offer;
};
