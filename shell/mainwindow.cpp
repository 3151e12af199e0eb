#include "shell/mainwindow.h"

#include "alarms/frmalarms.h"
#include "editor/parametereditor.h"
#include "gpo/frmgpo.h"
#include "link/portsettings.h"
#include "link/workflows.h"
#include "params/codec.h"
#include "params/datafile.h"
#include "params/defaults.h"
#include "report/printer.h"
#include "core/about.h"
#include "core/errortrap.h"
#include "shell/help.h"
#include "core/prompter.h"
#include "vss_alarm/frmalarmvss.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QString kOpenTitle = QStringLiteral("Open Data File");
const QString kAllFiles = QStringLiteral("All Files (*.*)|*.*");
const QString kRecentKey = QStringLiteral("RecentFiles/Files");
const QString kLastFolderKey = QStringLiteral("RecentFiles/LastFolder");
const QString kBackupKey = QStringLiteral("Upload/BackUpFirst");
const QString kUploadTitle = QLatin1String(linkworkflow::kUploadTitle);
constexpr int kRecentCount = 5;
// Marks where Qt writes the modified mark into the caption.
const QString kModifiedMark = QStringLiteral("[*]");

QSettings settingsStore() { return QSettings(appinfo::settingsOrganization(), appinfo::settingsApplication()); }

QAction* addItem(QMenu* menu, const QString& name, const QString& caption)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    return a;
}

QAction* addSeparator(QMenu* menu, const QString& name)
{
    QAction* a = menu->addSeparator();
    a->setObjectName(name);
    return a;
}

// Runs a step through the error trap and tells whether it really succeeded:
// Ignore goes on in the handler, but a step whose result the handler needs
// (a file's bytes, a decoded image) must not be taken as done.
bool succeeded(ErrorTrap& trap, const std::function<StepError()>& step)
{
    bool ok = false;
    trap.run([&]() -> StepError {
        StepError e = step();
        ok = !e.has_value();
        return e;
    });
    return ok;
}

StepError codecStep(const CodecResult& r) { return r ? StepError() : StepError(r.message()); }

}  // namespace

frmRevora_Main::frmRevora_Main(Prompter& prompter, Port& port, const QStringList& companyInfo, QWidget* parent)
    : QMainWindow(parent), m_prompter(prompter), m_port(port), m_companyInfo(companyInfo)
{
    setObjectName(QStringLiteral("frmRevora_Main"));
    setWindowTitle(designCaption());

    auto* central = new QWidget;
    m_editor = new ParameterEditor(m_store, m_prompter, central);
    buildMenus();
    buildPanels(central);
    setCentralWidget(central);

    connect(m_editor, &ParameterEditor::refreshedFromImage, this,
            [this] { setCaption(m_store.MainCaption + QLatin1String(linkworkflow::kDownloadedCaption)); });
    // A field is validated after the focus has moved on, so its new value is only
    // known then.
    connect(m_editor, &ParameterEditor::fieldValidated, this, &frmRevora_Main::scheduleDataStateUpdate);

    // Esc anywhere in the window asks a running read or verify to stop; the key
    // still goes on to the control that has the focus.
    qApp->installEventFilter(this);

    Form_Load();
}

frmRevora_Main::~frmRevora_Main()
{
    qApp->removeEventFilter(this);
    if (m_port.isOpen())
        m_port.close();
}

void frmRevora_Main::buildMenus()
{
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuOpenFile = addItem(mnuFile, QStringLiteral("mnuOpenFile"), QStringLiteral("&Open File"));
    mnuOpenBackup = addItem(mnuFile, QStringLiteral("mnuOpenBackup"), QStringLiteral("Open &Backup..."));
    mnuSaveFIle = addItem(mnuFile, QStringLiteral("mnuSaveFIle"), QStringLiteral("&Save File"));
    mnuSep1 = addSeparator(mnuFile, QStringLiteral("mnuSep1"));
    mnuPrintParams = addItem(mnuFile, QStringLiteral("mnuPrintParams"), QStringLiteral("&Print Parameters"));
    mnuPrintPreview = addItem(mnuFile, QStringLiteral("mnuPrintPreview"), QStringLiteral("Print Pre&view..."));
    mnuPrintSetup = addItem(mnuFile, QStringLiteral("mnuPrintSetup"), QStringLiteral("Print Set&up..."));
    mnuSep2 = addSeparator(mnuFile, QStringLiteral("mnuSep2"));
    for (int i = 0; i < kRecentCount; ++i) {
        QAction* a = addItem(mnuFile, QStringLiteral("mnuRecentFile%1").arg(i + 1), QString());
        connect(a, &QAction::triggered, this, [this, a] { openRecentFile(a->data().toString()); });
        mnuRecentFiles << a;
    }
    mnuSepRecent = addSeparator(mnuFile, QStringLiteral("mnuSepRecent"));
    mnuExit = addItem(mnuFile, QStringLiteral("mnuExit"), QStringLiteral("E&xit"));
    showRecentFiles();

    mnuEdit = menuBar()->addMenu(QStringLiteral("&Edit"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuEditGPOParams = addItem(mnuEdit, QStringLiteral("mnuEditGPOParams"), QStringLiteral("Edit GPO Parameters"));
    mnuEditAlarmVSS = addItem(mnuEdit, QStringLiteral("mnuEditAlarmVSS"), QStringLiteral("Edit VSS (Speed) Alarm"));
    mnuEditAlarms = addItem(mnuEdit, QStringLiteral("mnuEditAlarms"), QStringLiteral("Edit User Defined Alarms"));
    mnuDisplayDefaults =
        addItem(mnuEdit, QStringLiteral("mnuDisplayDefaults"), QStringLiteral("Display Default Parameters"));

    mnuComm = menuBar()->addMenu(QStringLiteral("&Communications"));
    mnuComm->setObjectName(QStringLiteral("mnuComm"));
    mnuDownload = addItem(mnuComm, QStringLiteral("mnuDownload"), QStringLiteral("&Download From EEPROM"));
    mnuUpload = addItem(mnuComm, QStringLiteral("mnuUpload"), QStringLiteral("&Upload To EEPROM"));
    mnuCompare = addItem(mnuComm, QStringLiteral("mnuCompare"), QStringLiteral("&Compare With Controller..."));
    mnuPortSetup = addItem(mnuComm, QStringLiteral("mnuPortSetup"), QStringLiteral("&Port Setup"));
    addSeparator(mnuComm, QStringLiteral("mnuSepComm"));
    mnuBackupBeforeUpload =
        addItem(mnuComm, QStringLiteral("mnuBackupBeforeUpload"), QStringLiteral("&Back Up Before Upload"));
    mnuBackupBeforeUpload->setCheckable(true);
    mnuBackupBeforeUpload->setChecked(settingsStore().value(kBackupKey, true).toBool());

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelpContents = addItem(mnuHelp, QStringLiteral("mnuHelpContents"), QStringLiteral("&Contents"));
    mnuAbout = addItem(mnuHelp, QStringLiteral("mnuAbout"), QStringLiteral("&About..."));

    mnuOpenFile->setShortcut(QKeySequence::Open);
    mnuSaveFIle->setShortcut(QKeySequence::Save);
    mnuPrintParams->setShortcut(QKeySequence::Print);
    mnuExit->setShortcut(QKeySequence::Quit);
    mnuHelpContents->setShortcut(QKeySequence::HelpContents);

    connect(mnuOpenFile, &QAction::triggered, this, &frmRevora_Main::mnuOpenFile_Click);
    connect(mnuOpenBackup, &QAction::triggered, this, &frmRevora_Main::mnuOpenBackup_Click);
    connect(mnuSaveFIle, &QAction::triggered, this, &frmRevora_Main::mnuSaveFIle_Click);
    connect(mnuPrintParams, &QAction::triggered, this, &frmRevora_Main::mnuPrintParams_Click);
    connect(mnuPrintSetup, &QAction::triggered, this, &frmRevora_Main::mnuPrintSetup_Click);
    connect(mnuPrintPreview, &QAction::triggered, this, &frmRevora_Main::mnuPrintPreview_Click);
    connect(mnuExit, &QAction::triggered, this, &frmRevora_Main::mnuExit_Click);
    connect(mnuEditGPOParams, &QAction::triggered, this, &frmRevora_Main::mnuEditGPOParams_Click);
    connect(mnuEditAlarmVSS, &QAction::triggered, this, &frmRevora_Main::mnuEditAlarmVSS_Click);
    connect(mnuEditAlarms, &QAction::triggered, this, &frmRevora_Main::mnuEditAlarms_Click);
    connect(mnuDisplayDefaults, &QAction::triggered, this, &frmRevora_Main::mnuDisplayDefaults_Click);
    connect(mnuDownload, &QAction::triggered, this, &frmRevora_Main::mnuDownload_Click);
    connect(mnuUpload, &QAction::triggered, this, &frmRevora_Main::mnuUpload_Click);
    connect(mnuPortSetup, &QAction::triggered, this, &frmRevora_Main::mnuPortSetup_Click);
    connect(mnuCompare, &QAction::triggered, this, &frmRevora_Main::mnuCompare_Click);
    connect(mnuBackupBeforeUpload, &QAction::toggled, this,
            [](bool on) { settingsStore().setValue(kBackupKey, on); });
    connect(mnuHelpContents, &QAction::triggered, this, &frmRevora_Main::mnuHelpContents_Click);
    connect(mnuAbout, &QAction::triggered, this, &frmRevora_Main::mnuAbout_Click);
}

void frmRevora_Main::buildPanels(QWidget* central)
{
    fraPortSelect = new QGroupBox(QStringLiteral("Data Port Setup"));
    fraPortSelect->setObjectName(QStringLiteral("fraPortSelect"));
    lblPort = new QLabel(QStringLiteral("Port"));
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
    cmdPortRefresh = new QPushButton(QStringLiteral("&Refresh"));
    cmdPortRefresh->setObjectName(QStringLiteral("cmdPortRefresh"));
    cmdPortSelectOK = new QPushButton(QStringLiteral("OK"));
    cmdPortSelectOK->setObjectName(QStringLiteral("cmdPortSelectOK"));
    {
        auto* g = new QGridLayout(fraPortSelect);
        g->addWidget(lblPort, 0, 0);
        g->addWidget(cboPort, 0, 1);
        g->addWidget(cmdPortRefresh, 0, 2);
        g->addWidget(cmdPortSelectOK, 0, 3);
        g->addWidget(lblPortDevice, 1, 1, 1, 3);
        g->setColumnStretch(1, 1);
    }
    fraPortSelect->hide();
    connect(cmdPortSelectOK, &QPushButton::clicked, this, &frmRevora_Main::cmdPortSelectOK_Click);
    connect(cmdPortRefresh, &QPushButton::clicked, this, &frmRevora_Main::cmdPortRefresh_Click);

    fraProgress1 = new QGroupBox(QStringLiteral("Programming"));
    fraProgress1->setObjectName(QStringLiteral("fraProgress1"));
    prgProgress1 = new QProgressBar;
    prgProgress1->setObjectName(QStringLiteral("prgProgress1"));
    prgProgress1->setRange(0, 100);
    prgProgress1->setValue(0);
    {
        auto* h = new QHBoxLayout(fraProgress1);
        h->addWidget(prgProgress1);
    }
    fraProgress1->hide();

    fraStart = new QWidget;
    fraStart->setObjectName(QStringLiteral("fraStart"));
    {
        // The choices in the middle of the empty window.
        auto* choices = new QWidget;
        auto* v = new QVBoxLayout(choices);
        auto* heading = new QLabel(QStringLiteral("No configuration is loaded. Start with one of these:"));
        v->addWidget(heading);
        for (QAction* command : {mnuDownload, mnuOpenFile, mnuDisplayDefaults}) {
            auto* b = new QToolButton;
            b->setDefaultAction(command);
            b->setToolButtonStyle(Qt::ToolButtonTextOnly);
            b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
            b->setMinimumHeight(36);
            v->addWidget(b);
        }
        lblStartPort = new QLabel;
        lblStartPort->setObjectName(QStringLiteral("lblStartPort"));
        lblStartPort->setTextInteractionFlags(Qt::TextSelectableByMouse);
        lblStartPort->setWordWrap(true);
        v->addWidget(lblStartPort);
        auto* g = new QGridLayout(fraStart);
        g->addWidget(choices, 1, 1);
        g->setRowStretch(0, 1);
        g->setRowStretch(2, 1);
        g->setColumnStretch(0, 1);
        g->setColumnStretch(2, 1);
        choices->setMinimumWidth(360);
    }

    auto* v = new QVBoxLayout(central);
    // The start panel takes the empty room while it shows.
    v->addWidget(fraStart, 100);
    v->addWidget(m_editor);
    v->addStretch(1);
    v->addWidget(fraPortSelect);
    v->addWidget(fraProgress1);
}

void frmRevora_Main::Form_Load()
{
    m_link.UserAbort = false;
    // A stored number that is not 1 to 255 (a damaged or hand-edited settings
    // file) means Com1; the selection below stores 1 over it.
    m_link.PortNumber = portsettings::loadPortNumber();
    fillPortList(portsettings::loadPortChoice());
    // Selecting the entry stores it and closes the port, as a selection by hand does.
    cboPort_Click(cboPort->currentIndex());
    connect(cboPort, &QComboBox::currentIndexChanged, this, &frmRevora_Main::cboPort_Click);

    m_link.CommErrorCount = 0;
    m_store.image.ClearEEPROMBuffer();
    m_link.FirmwareID.clear();
    m_link.ProductName.clear();
    m_store.MainCaption = windowTitle();
    const QString company = m_companyInfo.value(0);
    setCaption(company.isEmpty() ? m_store.MainCaption : company + QLatin1Char(' ') + m_store.MainCaption);
    m_store.DataSourceName.clear();
    // Room for the multi-stage layout from the start, so loading data does not
    // make the window jump.
    m_editor->fraShiftSetup->hide();
    fraStart->hide();
    resize(sizeHint());
    m_editor->hideFrames(true);
    updateDataState();
}

// ---------------------------------------------------------------- LinkView

void frmRevora_Main::showProgress(const QString& caption)
{
    fraProgress1->setTitle(caption);
    prgProgress1->setValue(0);
    panelShown();
    fraProgress1->show();
    fraProgress1->repaint();
}

void frmRevora_Main::setProgress(int percent) { prgProgress1->setValue(qBound(0, percent, 100)); }

void frmRevora_Main::hideProgress()
{
    fraProgress1->hide();
    panelHidden();
}

void frmRevora_Main::panelShown()
{
    if (fraProgress1->isHidden() && fraPortSelect->isHidden())
        m_sizeBeforePanels = size();
}

void frmRevora_Main::panelHidden()
{
    if (!fraProgress1->isHidden() || !fraPortSelect->isHidden() || !m_sizeBeforePanels)
        return;
    const QSize before = *m_sizeBeforePanels;
    m_sizeBeforePanels.reset();
    if (isMaximized() || isFullScreen())
        return;
    // The minimum size still counts the hidden panel until the layouts run again.
    centralWidget()->layout()->activate();
    layout()->activate();
    resize(before);
}

void frmRevora_Main::hideParameterFrames() { m_editor->hideFrames(false); }

void frmRevora_Main::setCaption(const QString& caption) { setWindowTitle(caption + kModifiedMark); }

void frmRevora_Main::refreshEditor()
{
    // Gone before the frames come, or the window grows to hold both.
    fraStart->hide();
    m_editor->refresh();
    setCaption(m_store.MainCaption + QLatin1String(linkworkflow::kDownloadedCaption));
}

void frmRevora_Main::setDataSourceCaption()
{
    setCaption(m_store.MainCaption + QStringLiteral(" - ") + m_store.DataSourceName);
}

// ---------------------------------------------------------------- events

bool frmRevora_Main::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease || type == QEvent::MouseButtonRelease
        || type == QEvent::FocusOut) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->window() == this) {
            // An Esc with no transfer running would stop the next one before it began.
            if (type == QEvent::KeyPress && m_transferRunning
                && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
                m_link.UserAbort = true;
            // Whatever the person did may have changed a value.
            if (type != QEvent::KeyPress)
                scheduleDataStateUpdate();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmRevora_Main::closeEvent(QCloseEvent* event)
{
    if (m_transferRunning) {
        // The transfer runs on this window's stack: stop it at the next byte and
        // close when it has returned.
        m_closeRequested = true;
        m_link.UserAbort = true;
        event->ignore();
        return;
    }
    if (!mayClose()) {
        m_closeRequested = false;
        event->ignore();
        return;
    }
    if (m_port.isOpen())
        m_port.close();
    event->accept();
}

bool frmRevora_Main::mayClose()
{
    m_editor->commitPendingEdit();
    if (!hasUnsavedChanges())
        return true;
    const PromptAnswer a = m_prompter.message(
        QStringLiteral("This configuration has changes that are not saved.\r\nDo you want to save them?"),
        QStringLiteral("Exit"), PromptButtons::SaveDiscardCancel, PromptIcon::Exclamation);
    switch (a) {
    case PromptAnswer::Save:
        mnuSaveFIle_Click();
        // A save that was cancelled or failed keeps the window open.
        return !hasUnsavedChanges();
    case PromptAnswer::Discard: return true;
    default: return false;
    }
}

// ---------------------------------------------------------------- unsaved changes

QByteArray frmRevora_Main::encodedConfiguration() const
{
    // The user text reaches the parameter set when a command takes it; the
    // field is what the next save writes.
    ParameterSet params = m_store.params;
    params.UserData = m_editor->txtUserData->text();
    ImageBuffer image = m_store.image;
    if (!UpdateEEPROM(params, image))
        return QByteArray();
    return image.configBlock();
}

bool frmRevora_Main::hasUnsavedChanges() const
{
    if (m_store.image.BufferEmpty)
        return false;
    const QByteArray now = encodedConfiguration();
    return now.isEmpty() || !m_cleanConfiguration || now != *m_cleanConfiguration;
}

void frmRevora_Main::markClean()
{
    m_cleanConfiguration = encodedConfiguration();
    updateDataState();
}

void frmRevora_Main::updateDataState()
{
    m_dataStateUpdatePending = false;
    setWindowModified(hasUnsavedChanges());
    // Never beside a frame (a failed download keeps the multi-stage frame), which
    // would grow the window for good, nor while a transfer works on the buffer.
    fraStart->setVisible(m_store.image.BufferEmpty && !m_transferRunning
                         && m_editor->fraMultiStageShiftSetup->isHidden());
}

void frmRevora_Main::scheduleDataStateUpdate()
{
    if (m_dataStateUpdatePending)
        return;
    m_dataStateUpdatePending = true;
    QTimer::singleShot(0, this, &frmRevora_Main::updateDataState);
}

void frmRevora_Main::mnuExit_Click() { close(); }

// ---------------------------------------------------------------- port setup

void frmRevora_Main::mnuPortSetup_Click()
{
    showPortDevice();
    panelShown();
    fraPortSelect->show();
}

void frmRevora_Main::cmdPortSelectOK_Click()
{
    fraPortSelect->hide();
    panelHidden();
}

void frmRevora_Main::cboPort_Click(int index)
{
    if (index < 0 || index >= m_portEntries.size())
        return;
    const QString name = m_portEntries.at(index).name;
    const std::optional<int> com = name.startsWith(QLatin1String("Com"))
                                       ? portsettings::parsePortNumber(name.mid(3))
                                       : std::nullopt;
    if (com) {
        m_link.PortNumber = *com;
        m_link.DevicePath.clear();
    } else {
        m_link.DevicePath = name;
    }
    portsettings::savePortChoice(name);
    // The new port takes effect when the next transfer opens it.
    if (m_port.isOpen())
        m_port.close();
    showPortDevice();
}

void frmRevora_Main::setPortScanner(PortScanner scanner)
{
    m_portScanner = std::move(scanner);
    cmdPortRefresh_Click();
}

void frmRevora_Main::cmdPortRefresh_Click()
{
    const int index = cboPort->currentIndex();
    fillPortList(index >= 0 && index < m_portEntries.size() ? m_portEntries.at(index).name
                                                            : portsettings::loadPortChoice());
    showPortDevice();
}

void frmRevora_Main::fillPortList(const QString& choice)
{
    using namespace portsettings;
    QList<PortRecord> records = m_portScanner ? m_portScanner(choice) : QList<PortRecord>();
    const bool isCom = choice.startsWith(QLatin1String("Com"));
    const auto named = [&](const PortRecord& r) { return r.byIdPath == choice || r.device == choice; };
    // A stored adapter that is not plugged in stays the choice, shown as missing.
    if (!isCom && !choice.isEmpty() && std::none_of(records.cbegin(), records.cend(), named)) {
        PortRecord missing;
        missing.device = choice;
        missing.exists = false;
        records.prepend(missing);
    }
    m_portEntries = portEntries(records, mappedPorts());
    const QSignalBlocker block(cboPort);
    cboPort->clear();
    int selected = int(records.size());  // Com1
    for (int i = 0; i < m_portEntries.size(); ++i) {
        cboPort->addItem(m_portEntries.at(i).label);
        if (m_portEntries.at(i).name == choice)
            selected = i;
    }
    cboPort->setCurrentIndex(selected);
}

void frmRevora_Main::showPortDevice()
{
    const QString device =
        m_link.DevicePath.isEmpty() ? portsettings::deviceForPort(m_link.PortNumber) : m_link.DevicePath;
    const bool present = portsettings::devicePresent(device);
    lblPortDevice->setText(present ? QStringLiteral("%1 (present)").arg(device)
                                   : QStringLiteral("%1 (not found: connect the adapter or choose another port)").arg(device));
    const QString entry = cboPort->currentText();
    QString text = QStringLiteral("Downloads use %1").arg(entry);
    if (!entry.contains(device))
        text += QStringLiteral(" (%1)").arg(device);
    if (!present)
        text += QStringLiteral(", which is not found: connect the adapter or choose the port in Communications > Port Setup.");
    lblStartPort->setText(text);
}

// ---------------------------------------------------------------- file dialogs

QString frmRevora_Main::FileOpen(const QString& fileTitle, QString& filter, const QString& notExistMessage,
                                 QString* error)
{
    if (filter.isEmpty())
        filter = kAllFiles;
    for (;;) {
        const QString name = m_prompter.openFileName(fileTitle, filter);
        // A cancelled dialog chooses nothing.
        if (name.isEmpty())
            return QString();
        if (QFileInfo::exists(name))
            return name;
        QString text = name + QStringLiteral("\r\nFile not found.");
        if (!notExistMessage.isEmpty())
            text += QStringLiteral("\r\n\r\n") + notExistMessage;
        const PromptAnswer a =
            m_prompter.message(text, QStringLiteral("File Open"),
                               notExistMessage.isEmpty() ? PromptButtons::RetryCancel : PromptButtons::YesNoCancel,
                               PromptIcon::Exclamation);
        switch (a) {
        case PromptAnswer::Retry: continue;
        case PromptAnswer::Yes: return name;
        case PromptAnswer::No: return QString();
        default:
            if (error)
                *error = QStringLiteral("Canceled File Open");
            return QString();
        }
    }
}

QString frmRevora_Main::FileSave(const QString& fileTitle, QString& filter, QString& existMessage, QString* error)
{
    if (filter.isEmpty())
        filter = kAllFiles;
    for (;;) {
        const QString name = m_prompter.saveFileName(fileTitle, filter);
        if (existMessage.isEmpty())
            existMessage = QStringLiteral("Replace existing file?");
        // A cancelled dialog chooses nothing, and the save command writes nothing.
        if (name.isEmpty())
            return QString();
        if (!QFileInfo::exists(name))
            return name;
        const PromptAnswer a = m_prompter.message(
            name + QStringLiteral("\r\nThis file already exists.\r\n\r\n") + existMessage, QStringLiteral("File Save"),
            PromptButtons::YesNoCancel, PromptIcon::Exclamation);
        switch (a) {
        case PromptAnswer::Yes: return name;
        case PromptAnswer::No: continue;
        default:
            if (error)
                *error = QStringLiteral("Canceled File Save");
            return QString();
        }
    }
}

// ---------------------------------------------------------------- file commands

void frmRevora_Main::mnuSaveFIle_Click()
{
    if (m_transferRunning)
        return;
    m_editor->commitPendingEdit();
    if (m_store.image.BufferEmpty) {
        m_prompter.warn(QStringLiteral("Data buffer empty."), QStringLiteral("Save Data File"));
        return;
    }
    ErrorTrap trap(m_prompter);
    QString name;
    QString filter = QLatin1String(datafile::kFilter);
    QString existMessage;
    startDialogsInLastFolder();
    if (!trap.run([&]() -> StepError {
            QString error;
            name = FileSave(QStringLiteral("Save File"), filter, existMessage, &error);
            return error.isEmpty() ? StepError() : StepError(error);
        }))
        return;
    if (name.isEmpty())
        return;
    m_editor->commitUserText();
    // Neither a failed encode nor a failed write may look like a saved file.
    if (!succeeded(trap, [&] { return codecStep(UpdateEEPROM(m_store.params, m_store.image)); }))
        return;
    if (!succeeded(trap, [&]() -> StepError {
            const datafile::Result r = datafile::write(name, m_store.image);
            return r.ok ? StepError() : StepError(r.error);
        }))
        return;
    m_store.DataSourceName = datafile::captionName(name);
    setDataSourceCaption();
    rememberFile(name);
    markClean();
}

void frmRevora_Main::mnuOpenFile_Click()
{
    startDialogsInLastFolder();
    openData(QString());
}

void frmRevora_Main::mnuOpenBackup_Click()
{
    const QString folder = backupFolder();
    QDir().mkpath(folder);
    m_prompter.setFileDialogFolder(folder);
    openData(QString());
}

void frmRevora_Main::openDataFile(const QString& path) { openData(path); }

void frmRevora_Main::openData(const QString& givenPath)
{
    if (m_transferRunning)
        return;
    const auto showState = qScopeGuard([this] { updateDataState(); });
    if (!m_store.image.BufferEmpty) {
        const PromptAnswer a = m_prompter.message(QStringLiteral("Data buffer not empty. OK to overwrite?"), kOpenTitle,
                                                  PromptButtons::OKCancel, PromptIcon::None);
        if (a != PromptAnswer::OK)
            return;
    }
    QCoreApplication::processEvents();
    m_link.FirmwareID.clear();
    m_link.ProductName.clear();
    m_store.image.ClearEEPROMBuffer();
    hideParameterFrames();
    m_store.DataSourceName = QLatin1String(linkworkflow::kBufferEmptyName);
    setDataSourceCaption();

    ErrorTrap trap(m_prompter);
    QString name = givenPath;
    QString filter = QLatin1String(datafile::kFilter);
    if (name.isEmpty() && !trap.run([&]() -> StepError {
            QString error;
            name = FileOpen(QStringLiteral("Open File"), filter, QString(), &error);
            return error.isEmpty() ? StepError() : StepError(error);
        }))
        return;
    if (name.isEmpty())
        return;

    bool premature = false;
    const bool read = succeeded(trap, [&]() -> StepError {
        const datafile::Result r = datafile::read(name, m_store.image);
        if (r.ok)
            return StepError();
        if (r.kind == datafile::ErrorKind::ShortFile) {
            premature = true;
            return StepError();
        }
        return r.error;
    });
    if (premature) {
        m_prompter.warn(QLatin1String(datafile::kPrematureEnd), kOpenTitle);
        m_store.image.ClearEEPROMBuffer();
        return;
    }
    // Without the file's bytes there is nothing to go on with, whatever was answered.
    if (!read) {
        m_store.image.ClearEEPROMBuffer();
        return;
    }
    m_store.image.BufferEmpty = false;
    if (!succeeded(trap, [&] { return codecStep(UpdateParams(m_store.image, m_store.params)); })) {
        m_store.image.ClearEEPROMBuffer();
        return;
    }
    refreshEditor();
    m_store.DataSourceName = datafile::captionName(name);
    setDataSourceCaption();
    rememberFile(name);
    markClean();
    m_prompter.message(QStringLiteral("Loaded ") + name + QStringLiteral(" to buffer. Ready for editing or upload."),
                       kOpenTitle, PromptButtons::OK, PromptIcon::None);
}

void frmRevora_Main::mnuDisplayDefaults_Click()
{
    if (m_transferRunning)
        return;
    // The factory values leave the user text empty too, so the window, the
    // parameter set and the image agree.
    loadDefaults(m_store);
    refreshEditor();
    m_store.DataSourceName = QStringLiteral("Default Values");
    setDataSourceCaption();
    markClean();
}

// ---------------------------------------------------------------- recent files and folders

QStringList frmRevora_Main::recentFiles() { return settingsStore().value(kRecentKey).toStringList(); }

void frmRevora_Main::rememberFile(const QString& path)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    QStringList files = recentFiles();
    files.removeAll(full);
    files.prepend(full);
    QSettings s = settingsStore();
    s.setValue(kRecentKey, QStringList(files.mid(0, kRecentCount)));
    s.setValue(kLastFolderKey, QFileInfo(full).absolutePath());
    showRecentFiles();
}

void frmRevora_Main::showRecentFiles()
{
    const QStringList files = recentFiles();
    for (int i = 0; i < mnuRecentFiles.size(); ++i) {
        QAction* a = mnuRecentFiles.at(i);
        const QString path = files.value(i);
        a->setVisible(!path.isEmpty());
        a->setData(path);
        a->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        a->setStatusTip(path);
        a->setToolTip(path);
    }
    mnuSepRecent->setVisible(!files.isEmpty());
}

void frmRevora_Main::openRecentFile(const QString& path)
{
    if (m_transferRunning)
        return;
    if (!QFileInfo(path).isFile()) {
        QStringList files = recentFiles();
        files.removeAll(path);
        settingsStore().setValue(kRecentKey, files);
        showRecentFiles();
        m_prompter.warn(path + QStringLiteral("\r\nFile not found. It is taken off the recent files."), kOpenTitle);
        return;
    }
    openData(path);
}

void frmRevora_Main::startDialogsInLastFolder()
{
    // A folder that is not there would reach the dialog as a file name to save under.
    const QString last = settingsStore().value(kLastFolderKey).toString();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    m_prompter.setFileDialogFolder(!last.isEmpty() && QFileInfo(last).isDir() ? last
                                   : QFileInfo(documents).isDir()             ? documents
                                                                              : QDir::homePath());
}

QString frmRevora_Main::backupFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/backups");
}

QString frmRevora_Main::startupFile(const QStringList& arguments)
{
    for (int i = arguments.size() - 1; i >= 1; --i) {
        if (!arguments.at(i).startsWith(QLatin1Char('-')))
            return QFileInfo(arguments.at(i)).absoluteFilePath();
    }
    return QString();
}

report::PrintDialogs& frmRevora_Main::printDialogs()
{
    if (!m_printDialogs)
        m_printDialogs = std::make_unique<report::QtPrintDialogs>(this);
    return *m_printDialogs;
}

QPrinter& frmRevora_Main::printer()
{
    // Made on first use: looking up the system's printers can take a moment.
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);  // columns placed finer than 1/96 in
    return *m_printer;
}

void frmRevora_Main::setPrintDialogs(std::unique_ptr<report::PrintDialogs> dialogs)
{
    m_printDialogs = std::move(dialogs);
}

void frmRevora_Main::mnuPrintParams_Click()
{
    if (m_transferRunning)
        return;
    m_editor->commitPendingEdit();
    report::printParameters(m_store, m_prompter, printDialogs(), printer(), printContext());
}

report::PrintContext frmRevora_Main::printContext() const
{
    report::PrintContext context;
    context.companyName = m_companyInfo.value(0);
    context.firmwareID = m_link.FirmwareID;
    return context;
}

// The sheet on screen before paper is used; it can be printed from there.
void frmRevora_Main::mnuPrintPreview_Click()
{
    if (m_transferRunning)
        return;
    m_editor->commitPendingEdit();
    report::previewParameters(m_store, m_prompter, printDialogs(), printer(), printContext());
}

void frmRevora_Main::mnuPrintSetup_Click()
{
    if (m_transferRunning)
        return;
    report::printSetup(printer(), m_prompter, printDialogs());
}

// ---------------------------------------------------------------- editors

// The dialogs read the parameter set when they open, so a value typed into the
// main window (a TPS calibration the GPO throttle points depend on) is stored first.

void frmRevora_Main::mnuEditGPOParams_Click()
{
    if (m_transferRunning)
        return;
    m_editor->commitPendingEdit();
    frmGPO::open(m_store.params, m_prompter, this);
    updateDataState();
}

void frmRevora_Main::mnuEditAlarmVSS_Click()
{
    if (m_transferRunning)
        return;
    m_editor->commitPendingEdit();
    frmAlarmVSS dialog(m_store.params, m_prompter, this);
    dialog.exec();
    updateDataState();
}

void frmRevora_Main::mnuEditAlarms_Click()
{
    if (m_transferRunning)
        return;
    m_editor->commitPendingEdit();
    frmAlarms dialog(m_store.params, m_prompter, this);
    dialog.exec();
    updateDataState();
}

// ---------------------------------------------------------------- transfers

void frmRevora_Main::setTransferRunning(bool running)
{
    m_transferRunning = running;
    for (QAction* a : {mnuOpenFile, mnuOpenBackup, mnuSaveFIle, mnuPrintParams, mnuPrintPreview, mnuPrintSetup,
                       mnuEditGPOParams, mnuEditAlarmVSS, mnuEditAlarms, mnuDisplayDefaults, mnuDownload, mnuUpload,
                       mnuCompare})
        a->setEnabled(!running);
    for (QAction* a : mnuRecentFiles)
        a->setEnabled(!running);
    cboPort->setEnabled(!running);
    cmdPortRefresh->setEnabled(!running);
    m_editor->setSuspended(running);
    m_editor->setEnabled(!running);
}

template <typename Workflow>
void frmRevora_Main::runTransfer(Workflow workflow)
{
    if (m_transferRunning)
        return;
    m_editor->commitPendingEdit();
    setTransferRunning(true);
    // Only an Esc pressed during this transfer may stop it.
    m_link.UserAbort = false;
    bool completed = false;
    {
        ControllerLink link(m_port, m_prompter, *this, m_link, m_timing);
        completed = workflow(link, m_store);
    }
    setTransferRunning(false);
    // A download or upload that completed leaves the window and the controller alike.
    if (completed)
        markClean();
    else
        updateDataState();
    if (m_closeRequested)
        QTimer::singleShot(0, this, &QWidget::close);
}

void frmRevora_Main::mnuDownload_Click()
{
    runTransfer([](ControllerLink& link, ParameterStore& store) { return ::mnuDownload_Click(link, store); });
}

void frmRevora_Main::mnuUpload_Click()
{
    UploadOptions options;
    if (mnuBackupBeforeUpload->isChecked()) {
        options.backupFolder = backupFolder();
        options.confirmChanges = [this](const report::Comparison& changes, const QString& backupFile) {
            const QString kept = QStringLiteral("The controller's configuration is kept in %1.\r\n\r\n")
                                     .arg(QDir::toNativeSeparators(backupFile));
            if (changes.same())
                return m_prompter.message(kept + QStringLiteral("The controller already holds this configuration. "
                                                                "Upload it all the same?"),
                                          kUploadTitle, PromptButtons::YesNo, PromptIcon::Question)
                       == PromptAnswer::Yes;
            return m_prompter.table(kept + QStringLiteral("The upload will make these changes. Go on?"), kUploadTitle,
                                    {QStringLiteral("Parameter"), QStringLiteral("Controller now"),
                                     QStringLiteral("After the upload")},
                                    comparisonRows(changes), PromptButtons::YesNo)
                   == PromptAnswer::Yes;
        };
    }
    runTransfer([&options](ControllerLink& link, ParameterStore& store) {
        return ::mnuUpload_Click(link, store, options);
    });
}

// Reads the controller into a scratch image: what is loaded, the caption and
// the fields stay as they are.
void frmRevora_Main::mnuCompare_Click()
{
    CompareOutcome outcome;
    runTransfer([&outcome](ControllerLink& link, ParameterStore& store) {
        outcome = compareWithController(link, store);
        return false;
    });
    if (!outcome)
        return;
    const QString title = QLatin1String(linkworkflow::kCompareTitle);
    if (outcome.differences.same()) {
        m_prompter.message(QLatin1String(linkworkflow::kSameConfiguration), title, PromptButtons::OK,
                           PromptIcon::Information);
        return;
    }
    const QList<QStringList> rows = comparisonRows(outcome.differences);
    m_prompter.table(rows.size() == 1 ? QStringLiteral("The controller and this configuration differ in one place:")
                                      : QStringLiteral("The controller and this configuration differ in %1 places:")
                                            .arg(rows.size()),
                     title,
                     {QStringLiteral("Parameter"), QStringLiteral("Controller"), QStringLiteral("This configuration")},
                     rows, PromptButtons::OK);
}

QList<QStringList> frmRevora_Main::comparisonRows(const report::Comparison& comparison)
{
    QList<QStringList> rows;
    for (const report::Difference& d : comparison.parameters) {
        if (!d.label.isEmpty()) {
            QString label = d.label;
            if (label.endsWith(QLatin1Char(':')))
                label.chop(1);
            rows << QStringList{label, d.left, d.right};
            continue;
        }
        // A switch prints as a whole line ("GPO Enabled"): its common words name it.
        const QStringList l = d.left.split(QLatin1Char(' ')), r = d.right.split(QLatin1Char(' '));
        int common = 0;
        while (common < l.size() - 1 && common < r.size() - 1 && l.at(common) == r.at(common))
            ++common;
        rows << (common > 0 ? QStringList{l.mid(0, common).join(QLatin1Char(' ')),
                                          l.mid(common).join(QLatin1Char(' ')), r.mid(common).join(QLatin1Char(' '))}
                            : QStringList{d.name.section(QLatin1Char('.'), -1), d.left, d.right});
    }
    const auto byte = [](uint8_t v) { return QStringLiteral("%1 (0x%2)").arg(uint(v)).arg(uint(v), 2, 16, QLatin1Char('0')); };
    for (const report::ByteDifference& b : comparison.bytes)
        rows << QStringList{QStringLiteral("Offset %1").arg(b.offset), byte(b.left), byte(b.right)};
    return rows;
}

// ---------------------------------------------------------------- help

void frmRevora_Main::mnuHelpContents_Click() { showHelp(this); }

void frmRevora_Main::mnuAbout_Click() { showAbout(m_prompter, m_companyInfo); }
