#include "shell/mainwindow.h"

#include "alarms/frmalarms.h"
#include "core/about.h"
#include "core/settings.h"
#include "editor/parametereditor.h"
#include "editor/screenfit.h"
#include "gpo/frmgpo.h"
#include "link/workflows.h"
#include "shell/filecommands.h"
#include "shell/help.h"
#include "shell/portpanel.h"
#include "shell/printcommands.h"
#include "shell/recentfiles.h"
#include "shell/startpanel.h"
#include "shell/transfers.h"
#include "shell/undohistory.h"
#include "vss_alarm/frmalarmvss.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QTimer>
#include <QVBoxLayout>

frmRevora_Main::frmRevora_Main(Prompter& prompter, Port& port, const QStringList& companyInfo, QWidget* parent)
    : QMainWindow(parent),
      m_prompter(prompter),
      m_document(designCaption(), companyInfo.value(0)),
      m_companyInfo(companyInfo)
{
    setObjectName(QStringLiteral("frmRevora_Main"));
    auto* content = new QWidget;
    m_editor = new ParameterEditor(m_document.store(), m_prompter, content);
    buildMenus();
    fraPortSelect = new PortPanel;
    fraProgress1 = new ProgressPanel;
    fraStart = new StartPanel({mnuDownload, mnuOpenFile, mnuDisplayDefaults});
    recentFiles = new RecentFiles(mnuFile, mnuExit, m_prompter, this);
    transfers = new Transfers(m_document, m_prompter, port, fraProgress1, this);
    m_fit = new ScreenFit(this);
    m_history = new UndoHistory(m_document, this);
    m_history->addActions(mnuEdit, mnuEditGPOParams, [this] { return startCommand(); }, mnuUndo, mnuRedo);
    m_fileCommands = std::make_unique<FileCommands>(m_document, m_prompter, *recentFiles, linkState());
    m_print = std::make_unique<PrintCommands>(m_prompter, this, m_companyInfo.value(0), linkState().FirmwareID);

    auto* v = new QVBoxLayout(content);
    // The start panel takes the empty room while it shows.
    v->addWidget(fraStart, 100);
    v->addWidget(m_editor);
    v->addStretch(1);
    // Large text on a small screen: the parameters scroll, the port and progress
    // panels stay in sight below them.
    auto* central = new QWidget;
    auto* c = new QVBoxLayout(central);
    const QMargins margins = c->contentsMargins();
    c->setContentsMargins(0, 0, 0, 0);
    c->addWidget(new ContentScrollArea(content), 1);
    auto* panels = new QVBoxLayout;
    panels->setContentsMargins(margins.left(), 0, margins.right(), margins.bottom());
    panels->addWidget(fraPortSelect);
    panels->addWidget(fraProgress1);
    c->addLayout(panels);
    setCentralWidget(central);
    connectParts();

    // Start-up: the port, then the empty document. Room for the multi-stage layout
    // from the start, so loading data does not make the window jump.
    fraPortSelect->restore(m_prompter);
    m_editor->fraShiftSetup->hide();
    fraStart->hide();
    m_fit->fitNow();
    m_editor->hideFrames(true);
    showConfiguration();
    showDocumentState();
}

frmRevora_Main::~frmRevora_Main() { qApp->removeEventFilter(this); }

void frmRevora_Main::buildMenus()
{
    using W = frmRevora_Main;
    const auto menu = [this](const QString& name, const QString& caption) {
        QMenu* m = menuBar()->addMenu(caption);
        m->setObjectName(name);
        return m;
    };
    const auto addSeparator = [](QMenu* m, const QString& name) {
        QAction* a = m->addSeparator();
        a->setObjectName(name);
        return a;
    };
    const auto item = [this](QMenu* m, const QString& name, const QString& caption, void (W::*handler)()) {
        QAction* a = m->addAction(caption);
        a->setObjectName(name);
        if (handler)
            connect(a, &QAction::triggered, this, handler);
        return a;
    };
    mnuFile = menu(QStringLiteral("mnuFile"), tr("&File"));
    mnuOpenFile = item(mnuFile, QStringLiteral("mnuOpenFile"), tr("&Open File"), &W::mnuOpenFile_Click);
    mnuOpenBackup =
        item(mnuFile, QStringLiteral("mnuOpenBackup"), tr("Open &Backup..."), &W::mnuOpenBackup_Click);
    mnuSave = item(mnuFile, QStringLiteral("mnuSave"), tr("&Save"), &W::mnuSave_Click);
    mnuSaveFIle =
        item(mnuFile, QStringLiteral("mnuSaveFIle"), tr("Save File &As..."), &W::mnuSaveFIle_Click);
    mnuSep1 = addSeparator(mnuFile, QStringLiteral("mnuSep1"));
    mnuPrintParams = item(mnuFile, QStringLiteral("mnuPrintParams"), tr("&Print Parameters"),
                          &W::mnuPrintParams_Click);
    mnuPrintPreview = item(mnuFile, QStringLiteral("mnuPrintPreview"), tr("Print Pre&view..."),
                           &W::mnuPrintPreview_Click);
    mnuPrintSetup =
        item(mnuFile, QStringLiteral("mnuPrintSetup"), tr("Print Set&up..."), &W::mnuPrintSetup_Click);
    mnuSep2 = addSeparator(mnuFile, QStringLiteral("mnuSep2"));
    mnuExit = item(mnuFile, QStringLiteral("mnuExit"), tr("E&xit"), &W::mnuExit_Click);

    mnuEdit = menu(QStringLiteral("mnuEdit"), tr("&Edit"));
    mnuEditGPOParams = item(mnuEdit, QStringLiteral("mnuEditGPOParams"), tr("Edit GPO Parameters"),
                            &W::mnuEditGPOParams_Click);
    mnuEditAlarmVSS = item(mnuEdit, QStringLiteral("mnuEditAlarmVSS"), tr("Edit VSS (Speed) Alarm"),
                           &W::mnuEditAlarmVSS_Click);
    mnuEditAlarms = item(mnuEdit, QStringLiteral("mnuEditAlarms"), tr("Edit User Defined Alarms"),
                         &W::mnuEditAlarms_Click);
    mnuDisplayDefaults = item(mnuEdit, QStringLiteral("mnuDisplayDefaults"),
                              tr("Display Default Parameters"), &W::mnuDisplayDefaults_Click);

    mnuComm = menu(QStringLiteral("mnuComm"), tr("&Communications"));
    mnuDownload =
        item(mnuComm, QStringLiteral("mnuDownload"), tr("&Download From EEPROM"), &W::mnuDownload_Click);
    mnuUpload = item(mnuComm, QStringLiteral("mnuUpload"), tr("&Upload To EEPROM"), &W::mnuUpload_Click);
    mnuCompare = item(mnuComm, QStringLiteral("mnuCompare"), tr("&Compare With Controller..."),
                      &W::mnuCompare_Click);
    // The port panel handles this one.
    mnuPortSetup = item(mnuComm, QStringLiteral("mnuPortSetup"), tr("&Port Setup"), nullptr);
    addSeparator(mnuComm, QStringLiteral("mnuSepComm"));
    mnuBackupBeforeUpload =
        item(mnuComm, QStringLiteral("mnuBackupBeforeUpload"), tr("&Back Up Before Upload"), nullptr);
    mnuBackupBeforeUpload->setCheckable(true);
    mnuBackupBeforeUpload->setChecked(settings::backUpBeforeUpload());
    connect(mnuBackupBeforeUpload, &QAction::toggled, this, &settings::setBackUpBeforeUpload);

    mnuHelp = menu(QStringLiteral("mnuHelp"), tr("&Help"));
    mnuHelpContents =
        item(mnuHelp, QStringLiteral("mnuHelpContents"), tr("&Contents"), &W::mnuHelpContents_Click);
    mnuAbout = item(mnuHelp, QStringLiteral("mnuAbout"), tr("&About..."), &W::mnuAbout_Click);
    mnuAboutQt = item(mnuHelp, QStringLiteral("mnuAboutQt"), tr("About &Qt..."), nullptr);
    connect(mnuAboutQt, &QAction::triggered, qApp, &QApplication::aboutQt);

    mnuOpenFile->setShortcut(QKeySequence::Open);
    mnuSave->setShortcut(QKeySequence::Save);
    mnuSaveFIle->setShortcut(QKeySequence::SaveAs);
    // Ctrl+D and Ctrl+U: neither is one of the platform's standard keys.
    mnuDownload->setShortcut(Qt::CTRL | Qt::Key_D);
    mnuUpload->setShortcut(Qt::CTRL | Qt::Key_U);
    mnuPrintParams->setShortcut(QKeySequence::Print);
    mnuExit->setShortcut(QKeySequence::Quit);
    mnuHelpContents->setShortcut(QKeySequence::HelpContents);
}

void frmRevora_Main::connectParts()
{
    connect(&m_document, &Document::changed, this, &frmRevora_Main::showDocumentState);
    connect(&m_document, &Document::replaced, this, &frmRevora_Main::showConfiguration);
    // The multi-stage switch decodes the image again, and the caption says so.
    connect(m_editor, &ParameterEditor::refreshedFromImage, &m_document, &Document::decodedAgain);
    // A field is validated after the focus has moved on, so its new value is only known then.
    connect(m_editor, &ParameterEditor::edited, m_history, &UndoHistory::recordEdit);

    connect(mnuPortSetup, &QAction::triggered, fraPortSelect, &PortPanel::mnuPortSetup_Click);
    connect(fraPortSelect, &PortPanel::chosen, this, [this](const PortChoice& choice) {
        transfers->usePort(choice);
        fraStart->showPort(fraPortSelect->description());
    });
    connect(fraPortSelect, &PortPanel::listChanged, this, [this] { fraStart->showPort(fraPortSelect->description()); });
    connect(fraStart, &StartPanel::offerTaken, fraPortSelect, &PortPanel::takeOffer);
    connect(recentFiles, &RecentFiles::openRequested, this, &frmRevora_Main::openDataFile);
    connect(transfers, &Transfers::runningChanged, this, &frmRevora_Main::transferRunning);

    // Esc anywhere in the window asks a running read or verify to stop; the key
    // still goes on to the control that has the focus.
    qApp->installEventFilter(this);
}

LinkState& frmRevora_Main::linkState() { return transfers->state(); }

void frmRevora_Main::setLinkTiming(const LinkTiming& timing) { transfers->setTiming(timing); }

// ---------------------------------------------------------------- the document's views

void frmRevora_Main::showDocumentState()
{
    setWindowTitle(m_document.caption() + QStringLiteral("[*]"));
    setWindowModified(m_document.isModified());
    // Not while a transfer works on the buffer.
    fraStart->setShown(m_document.isEmpty() && !transfers->running());
}

void frmRevora_Main::showConfiguration()
{
    // A frame the download leaves visible keeps its place, but no value left in it
    // may be edited as if it were loaded.
    m_editor->fraMultiStageShiftSetup->setEnabled(!m_document.isEmpty());
    if (m_document.isEmpty()) {
        m_editor->hideFrames(false);
        return;
    }
    // Gone before the frames come, or the window grows to hold both. A command
    // taken from the start panel goes on in the first field.
    const bool fromStart = !focusWidget() || fraStart->isAncestorOf(focusWidget());
    fraStart->setShown(false);
    m_editor->refresh();
    if (fromStart)
        (store().params.MultiStageShift ? m_editor->txtShiftRPM1 : m_editor->txtShiftRPM)->setFocus(Qt::TabFocusReason);
}

void frmRevora_Main::scheduleModifiedCheck()
{
    if (m_checkPending)
        return;
    m_checkPending = true;
    QTimer::singleShot(0, this, [this] {
        m_checkPending = false;
        m_document.checkModified();
    });
}

bool frmRevora_Main::startCommand()
{
    if (transfers->running())
        return false;
    m_editor->commitPendingEdit();
    return true;
}

// ---------------------------------------------------------------- events

bool frmRevora_Main::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease || type == QEvent::MouseButtonRelease
        || type == QEvent::FocusOut) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->window() == this) {
            if (type == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
                transfers->stop();
            // Whatever the person did may have changed a value.
            if (type != QEvent::KeyPress)
                scheduleModifiedCheck();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmRevora_Main::closeEvent(QCloseEvent* event)
{
    if (transfers->running()) {
        // The transfer runs on this window's stack: stop it at the next byte and
        // close when it has returned.
        m_closeRequested = true;
        transfers->stop();
        event->ignore();
        return;
    }
    m_closeRequested = false;
    if (!mayClose()) {
        event->ignore();
        return;
    }
    transfers->closePort();
    event->accept();
}

bool frmRevora_Main::mayClose()
{
    m_editor->commitPendingEdit();
    return m_fileCommands->mayDiscard(tr("Exit"));
}

void frmRevora_Main::mnuExit_Click() { close(); }

void frmRevora_Main::transferRunning(bool running)
{
    for (QAction* a : {mnuOpenFile, mnuOpenBackup, mnuSave, mnuSaveFIle, mnuPrintParams, mnuPrintPreview, mnuPrintSetup,
                       mnuEditGPOParams, mnuEditAlarmVSS, mnuEditAlarms, mnuDisplayDefaults, mnuDownload, mnuUpload,
                       mnuCompare})
        a->setEnabled(!running);
    recentFiles->setEnabled(!running);
    fraPortSelect->setChoosable(!running);
    m_editor->setSuspended(running);
    m_editor->setEnabled(!running);
    showDocumentState();
    if (!running && m_closeRequested)
        QTimer::singleShot(0, this, &QWidget::close);
}

// ---------------------------------------------------------------- file commands

// Save As: the Save File command as it always was.
void frmRevora_Main::mnuSaveFIle_Click()
{
    if (startCommand())
        m_fileCommands->saveAs();
}

void frmRevora_Main::mnuSave_Click()
{
    if (startCommand())
        m_fileCommands->save();
}

// Each command that replaces the configuration is one step. What is typed but not yet
// left is taken first, so the question about unsaved changes (Open asks its own) knows it.
void frmRevora_Main::replaceBy(const QAction* command, const std::function<void()>& run)
{
    if (startCommand())
        m_history->replacing(command->text().remove(QLatin1Char('&')), run);
}

void frmRevora_Main::mnuOpenFile_Click() { replaceBy(mnuOpenFile, [this] { m_fileCommands->openFile(); }); }

void frmRevora_Main::mnuOpenBackup_Click() { replaceBy(mnuOpenBackup, [this] { m_fileCommands->openBackup(); }); }

void frmRevora_Main::openDataFile(const QString& path) { replaceBy(mnuOpenFile, [&] { m_fileCommands->openFile(path); }); }

void frmRevora_Main::mnuDisplayDefaults_Click()
{
    replaceBy(mnuDisplayDefaults, [this] {
        if (m_fileCommands->mayDiscard(mnuDisplayDefaults->text()))
            m_document.loadDefaults();
    });
}

// ---------------------------------------------------------------- printing

void frmRevora_Main::setPrintDialogs(std::unique_ptr<report::PrintDialogs> d) { m_print->setDialogs(std::move(d)); }

void frmRevora_Main::mnuPrintParams_Click()
{
    if (startCommand())
        m_print->print(store());
}

void frmRevora_Main::mnuPrintPreview_Click()
{
    if (startCommand())
        m_print->preview(store());
}

void frmRevora_Main::mnuPrintSetup_Click()
{
    if (!transfers->running())
        m_print->setup();
}

// ---------------------------------------------------------------- editors and transfers

// The dialogs read the parameter set when they open, so a value typed into the
// main window (a TPS calibration the GPO throttle points depend on) is stored first.
void frmRevora_Main::editInDialog(const QAction* command, const std::function<void()>& dialog)
{
    if (!startCommand())
        return;
    dialog();
    m_history->record(command->text());
}

void frmRevora_Main::mnuEditGPOParams_Click()
{
    editInDialog(mnuEditGPOParams, [this] { frmGPO::open(store().params, m_prompter, this); });
}
void frmRevora_Main::mnuEditAlarmVSS_Click()
{
    editInDialog(mnuEditAlarmVSS, [this] { frmAlarmVSS(store().params, m_prompter, this).exec(); });
}
void frmRevora_Main::mnuEditAlarms_Click()
{
    editInDialog(mnuEditAlarms, [this] { frmAlarms(store().params, m_prompter, this).exec(); });
}

void frmRevora_Main::mnuDownload_Click()
{
    replaceBy(mnuDownload, [this] {
        if (m_fileCommands->mayDiscard(linktext::said(linkworkflow::kDownloadTitle)))
            transfers->download();
    });
}

void frmRevora_Main::mnuUpload_Click()
{
    if (startCommand())
        transfers->upload(mnuBackupBeforeUpload->isChecked());
}

void frmRevora_Main::mnuCompare_Click()
{
    if (startCommand())
        transfers->compare();
}

void frmRevora_Main::mnuHelpContents_Click() { showHelp(this); }

void frmRevora_Main::mnuAbout_Click() { showAbout(m_prompter, m_companyInfo); }
