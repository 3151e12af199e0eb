#pragma once
// The main window: menus, the parameter editor, the port setup panel and the
// transfer progress. It owns the one parameter store and hands it by reference
// to every editor and workflow.
#include "core/appinfo.h"
#include "link/link.h"
#include "link/portsettings.h"
#include "params/paramset.h"
#include "report/compare.h"

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class ParameterEditor;
class Port;
class Prompter;
class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPrinter;
class QPushButton;
class QToolButton;
namespace report {
class PrintDialogs;
struct PrintContext;
}

inline QString designCaption() { return QStringLiteral("Revora Shift Version ") + appinfo::version(); }

class frmRevora_Main : public QMainWindow, public LinkView {
    Q_OBJECT
public:
    // `companyInfo` is the branding's company block (item 1 the short name).
    // Everything that talks to the person goes through `prompter`, everything
    // that touches the serial line through `port`.
    frmRevora_Main(Prompter& prompter, Port& port, const QStringList& companyInfo = {},
                   QWidget* parent = nullptr);
    ~frmRevora_Main() override;

    ParameterStore& store() { return m_store; }
    LinkState& linkState() { return m_link; }
    ParameterEditor* editor() const { return m_editor; }
    // Tests shorten the reply deadline.
    void setLinkTiming(const LinkTiming& timing) { m_timing = timing; }
    bool transferRunning() const { return m_transferRunning; }
    // Tests replace the printer dialogs.
    void setPrintDialogs(std::unique_ptr<report::PrintDialogs> dialogs);

    // LinkView
    void showProgress(const QString& caption) override;
    void setProgress(int percent) override;
    void hideProgress() override;
    void hideParameterFrames() override;
    void setCaption(const QString& caption) override;
    void refreshEditor() override;

    // Menu handlers
    void mnuOpenFile_Click();
    void mnuSaveFIle_Click();
    void mnuPrintParams_Click();
    void mnuPrintSetup_Click();
    void mnuPrintPreview_Click();
    void mnuExit_Click();
    void mnuEditGPOParams_Click();
    void mnuEditAlarmVSS_Click();
    void mnuEditAlarms_Click();
    void mnuDisplayDefaults_Click();
    void mnuDownload_Click();
    void mnuUpload_Click();
    void mnuPortSetup_Click();
    void mnuHelpContents_Click();
    void mnuAbout_Click();
    void cmdPortSelectOK_Click();
    void cboPort_Click(int index);
    void mnuOpenBackup_Click();
    void mnuCompare_Click();
    void cmdPortRefresh_Click();

    // Where the port list comes from: the serial ports of the system, given the
    // stored choice (listed as missing when it is a path not present now).
    using PortScanner = std::function<QList<portsettings::PortRecord>(const QString& storedChoice)>;
    void setPortScanner(PortScanner scanner);
    // The comparison as the difference window shows it: parameter, controller,
    // this configuration; the bytes outside the parameters by their offset.
    static QList<QStringList> comparisonRows(const report::Comparison& comparison);

    // Opens a data file as Open File does, without the Open dialog (a recent
    // file, a file named on the command line).
    void openDataFile(const QString& path);
    // True when the configuration differs from what was last loaded, downloaded,
    // saved, uploaded or reset to defaults.
    bool hasUnsavedChanges() const;
    // The last data files opened or saved, newest first.
    static QStringList recentFiles();
    // Where uploads keep the controller's block before writing over it.
    static QString backupFolder();
    // The data file named on the command line, as an absolute path; empty when none.
    static QString startupFile(const QStringList& arguments);

    // The file dialog functions. They return the chosen path, or an empty text
    // when nothing was chosen; a cancel in their own question comes back as the
    // error description in `error`.
    QString FileOpen(const QString& fileTitle, QString& filter, const QString& notExistMessage, QString* error);
    QString FileSave(const QString& fileTitle, QString& filter, QString& existMessage, QString* error);

    // Menus and their items (the given names are the object names too).
    QMenu* mnuFile;
    QAction* mnuOpenFile;
    QAction* mnuOpenBackup;
    QAction* mnuSaveFIle;
    QAction* mnuSep1;
    QAction* mnuPrintParams;
    QAction* mnuPrintPreview;
    QAction* mnuPrintSetup;
    QAction* mnuSep2;
    QList<QAction*> mnuRecentFiles;
    QAction* mnuSepRecent;
    QAction* mnuExit;
    QMenu* mnuEdit;
    QAction* mnuEditGPOParams;
    QAction* mnuEditAlarmVSS;
    QAction* mnuEditAlarms;
    QAction* mnuDisplayDefaults;
    QMenu* mnuComm;
    QAction* mnuDownload;
    QAction* mnuUpload;
    QAction* mnuPortSetup;
    QAction* mnuCompare;
    QAction* mnuBackupBeforeUpload;
    QMenu* mnuHelp;
    QAction* mnuHelpContents;
    QAction* mnuAbout;

    // Port setup panel
    QGroupBox* fraPortSelect;
    QLabel* lblPort;
    QComboBox* cboPort;
    QLabel* lblPortDevice;
    QPushButton* cmdPortRefresh;
    QPushButton* cmdPortSelectOK;

    // What to do first, shown while no configuration is loaded.
    QWidget* fraStart;
    QLabel* lblStartPort;

    // Transfer progress
    QGroupBox* fraProgress1;
    QProgressBar* prgProgress1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void buildMenus();
    void buildPanels(QWidget* central);
    void setDataSourceCaption();
    void showPortDevice();
    // Fills cboPort with the ports of the system and the Com entries, selecting `choice`.
    void fillPortList(const QString& choice);
    void openData(const QString& givenPath);
    void openRecentFile(const QString& path);
    void rememberFile(const QString& path);
    void showRecentFiles();
    // Sets where the next file dialog starts: the last folder used, else the documents folder.
    void startDialogsInLastFolder();
    // The encoded configuration as the next save would write it; empty when it cannot be encoded.
    QByteArray encodedConfiguration() const;
    // What is loaded now counts as saved.
    void markClean();
    // The caption's modified mark and the start panel follow the data.
    void updateDataState();
    void scheduleDataStateUpdate();
    // Asks about unsaved changes before the window closes; false keeps it open.
    bool mayClose();
    // A panel below the editor grows the window while shown; it gets its size back after.
    void panelShown();
    void panelHidden();
    // While a transfer runs nothing else may use the port or the buffer.
    void setTransferRunning(bool running);
    template <typename Workflow>
    void runTransfer(Workflow workflow);
    report::PrintDialogs& printDialogs();
    QPrinter& printer();
    report::PrintContext printContext() const;

    ParameterStore m_store;
    LinkState m_link;
    LinkTiming m_timing;
    Prompter& m_prompter;
    Port& m_port;
    QStringList m_companyInfo;
    ParameterEditor* m_editor = nullptr;
    bool m_transferRunning = false;
    bool m_closeRequested = false;
    bool m_dataStateUpdatePending = false;
    std::optional<QByteArray> m_cleanConfiguration;
    std::optional<QSize> m_sizeBeforePanels;
    PortScanner m_portScanner;
    QList<portsettings::PortEntry> m_portEntries;
    std::unique_ptr<report::PrintDialogs> m_printDialogs;
    std::unique_ptr<QPrinter> m_printer;
};
