#pragma once
// The main window: the menus, and the parts they drive, over one document. The
// document holds the configuration and its state; the editor, the port panel, the
// start panel, the recent files and the transfers each do their own job.
#include "core/appinfo.h"
#include "core/document.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>

class FileCommands;
class ParameterEditor;
class Port;
class PortPanel;
class PrintCommands;
class ProgressPanel;
class Prompter;
class QAction;
class QMenu;
class RecentFiles;
class ScreenFit;
class StartPanel;
class Transfers;
class UndoHistory;
struct LinkState;
struct LinkTiming;
namespace report {
class PrintDialogs;
}

inline QString designCaption()
{
    return QCoreApplication::translate("frmRevora_Main", "Revora Shift Version %1").arg(appinfo::version());
}

class frmRevora_Main : public QMainWindow {
    Q_OBJECT
public:
    // `companyInfo` is the branding's company block (item 1 the short name).
    // Everything that talks to the person goes through `prompter`, everything
    // that touches the serial line through `port`.
    frmRevora_Main(Prompter& prompter, Port& port, const QStringList& companyInfo = {},
                   QWidget* parent = nullptr);
    ~frmRevora_Main() override;

    Document& document() { return m_document; }
    ParameterStore& store() { return m_document.store(); }
    LinkState& linkState();
    ParameterEditor* editor() const { return m_editor; }
    // Tests shorten the reply deadline.
    void setLinkTiming(const LinkTiming& timing);
    // Tests replace the printer dialogs.
    void setPrintDialogs(std::unique_ptr<report::PrintDialogs> dialogs);
    // Opens a data file as Open File does, without the Open dialog (a recent
    // file, a file named on the command line).
    void openDataFile(const QString& path);

    // Menu handlers
    void mnuOpenFile_Click();
    void mnuOpenBackup_Click();
    void mnuSave_Click();
    void mnuSaveFIle_Click();  // Save As
    void mnuPrintParams_Click();
    void mnuPrintPreview_Click();
    void mnuPrintSetup_Click();
    void mnuExit_Click();
    void mnuEditGPOParams_Click();
    void mnuEditAlarmVSS_Click();
    void mnuEditAlarms_Click();
    void mnuDisplayDefaults_Click();
    void mnuDownload_Click();
    void mnuUpload_Click();
    void mnuCompare_Click();
    void mnuHelpContents_Click();
    void mnuAbout_Click();

    // Menus and their items (the given names are the object names too).
    QMenu* mnuFile;
    QAction* mnuOpenFile;
    QAction* mnuOpenBackup;
    QAction* mnuSave;
    QAction* mnuSaveFIle;  // Save As
    QAction* mnuSep1;
    QAction* mnuPrintParams;
    QAction* mnuPrintPreview;
    QAction* mnuPrintSetup;
    QAction* mnuSep2;
    QAction* mnuExit;
    QMenu* mnuEdit;
    QAction* mnuUndo;
    QAction* mnuRedo;
    QAction* mnuEditGPOParams;
    QAction* mnuEditAlarmVSS;
    QAction* mnuEditAlarms;
    QAction* mnuDisplayDefaults;
    QMenu* mnuComm;
    QAction* mnuDownload;
    QAction* mnuUpload;
    QAction* mnuCompare;
    QAction* mnuPortSetup;
    QAction* mnuBackupBeforeUpload;
    QMenu* mnuHelp;
    QAction* mnuHelpContents;
    QAction* mnuAbout;
    QAction* mnuAboutQt;

    // The parts
    PortPanel* fraPortSelect;
    StartPanel* fraStart;
    ProgressPanel* fraProgress1;
    RecentFiles* recentFiles;
    Transfers* transfers;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void connectParts();
    // The caption, the unsaved mark and the start panel follow the document.
    void showDocumentState();
    void showConfiguration();
    void scheduleModifiedCheck();
    // False while a transfer runs; otherwise takes what is typed but not yet left.
    bool startCommand();
    void replaceBy(const QAction* command, const std::function<void()>& run);
    void editInDialog(const QAction* command, const std::function<void()>& dialog);
    // Asks about unsaved changes before the window closes; false keeps it open.
    bool mayClose();
    void transferRunning(bool running);

    Prompter& m_prompter;
    Document m_document;
    QStringList m_companyInfo;
    ParameterEditor* m_editor = nullptr;
    ScreenFit* m_fit = nullptr;  // the window follows its content, as far as the screen allows
    std::unique_ptr<FileCommands> m_fileCommands;
    std::unique_ptr<PrintCommands> m_print;
    UndoHistory* m_history = nullptr;
    bool m_closeRequested = false;
    bool m_checkPending = false;
};
