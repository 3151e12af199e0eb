#pragma once
// The main window: menus, the parameter editor, the port setup panel and the
// transfer progress. It owns the one parameter store and hands it by reference
// to every editor and workflow.
#include "shell/appinfo.h"
#include "link/link.h"
#include "params/paramset.h"

#include <QMainWindow>
#include <QStringList>
#include <memory>

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

    // The file dialog functions. They return the chosen path, or an empty text
    // when nothing was chosen; a cancel in their own question comes back as the
    // error description in `error`.
    QString FileOpen(const QString& fileTitle, QString& filter, const QString& notExistMessage, QString* error);
    QString FileSave(const QString& fileTitle, QString& filter, QString& existMessage, QString* error);

    // Menus and their items (the given names are the object names too).
    QMenu* mnuFile;
    QAction* mnuOpenFile;
    QAction* mnuSaveFIle;
    QAction* mnuSep1;
    QAction* mnuPrintParams;
    QAction* mnuPrintPreview;
    QAction* mnuPrintSetup;
    QAction* mnuSep2;
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
    QMenu* mnuHelp;
    QAction* mnuHelpContents;
    QAction* mnuAbout;

    // Port setup panel
    QGroupBox* fraPortSelect;
    QLabel* lblPort;
    QComboBox* cboPort;
    QLabel* lblPortDevice;
    QPushButton* cmdPortSelectOK;

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
    std::unique_ptr<report::PrintDialogs> m_printDialogs;
    std::unique_ptr<QPrinter> m_printer;
};
