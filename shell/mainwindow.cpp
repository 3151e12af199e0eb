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
#include "shell/about.h"
#include "shell/errortrap.h"
#include "shell/help.h"
#include "shell/prompter.h"
#include "vss_alarm/frmalarmvss.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kOpenTitle = QStringLiteral("Open Data File");
const QString kAllFiles = QStringLiteral("All Files (*.*)|*.*");

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
    buildPanels(central);
    setCentralWidget(central);
    buildMenus();

    connect(m_editor, &ParameterEditor::refreshedFromImage, this,
            [this] { setCaption(m_store.MainCaption + QLatin1String(linkworkflow::kDownloadedCaption)); });

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
    mnuSaveFIle = addItem(mnuFile, QStringLiteral("mnuSaveFIle"), QStringLiteral("&Save File"));
    mnuSep1 = addSeparator(mnuFile, QStringLiteral("mnuSep1"));
    mnuPrintParams = addItem(mnuFile, QStringLiteral("mnuPrintParams"), QStringLiteral("&Print Parameters"));
    mnuPrintPreview = addItem(mnuFile, QStringLiteral("mnuPrintPreview"), QStringLiteral("Print Pre&view..."));
    mnuPrintSetup = addItem(mnuFile, QStringLiteral("mnuPrintSetup"), QStringLiteral("Print Set&up..."));
    mnuSep2 = addSeparator(mnuFile, QStringLiteral("mnuSep2"));
    mnuExit = addItem(mnuFile, QStringLiteral("mnuExit"), QStringLiteral("E&xit"));

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
    mnuPortSetup = addItem(mnuComm, QStringLiteral("mnuPortSetup"), QStringLiteral("&Port Setup"));

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelpContents = addItem(mnuHelp, QStringLiteral("mnuHelpContents"), QStringLiteral("&Contents"));
    mnuAbout = addItem(mnuHelp, QStringLiteral("mnuAbout"), QStringLiteral("&About..."));

    connect(mnuOpenFile, &QAction::triggered, this, &frmRevora_Main::mnuOpenFile_Click);
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
    lblPort->setBuddy(cboPort);
    lblPortDevice = new QLabel;
    lblPortDevice->setObjectName(QStringLiteral("lblPortDevice"));
    lblPortDevice->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cmdPortSelectOK = new QPushButton(QStringLiteral("OK"));
    cmdPortSelectOK->setObjectName(QStringLiteral("cmdPortSelectOK"));
    {
        auto* h = new QHBoxLayout(fraPortSelect);
        h->addWidget(lblPort);
        h->addWidget(cboPort);
        h->addWidget(lblPortDevice, 1);
        h->addWidget(cmdPortSelectOK);
    }
    fraPortSelect->hide();
    connect(cmdPortSelectOK, &QPushButton::clicked, this, &frmRevora_Main::cmdPortSelectOK_Click);

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

    auto* v = new QVBoxLayout(central);
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
    {
        const QSignalBlocker block(cboPort);
        cboPort->clear();
        for (int n = portsettings::kFirstPort; n <= portsettings::kLastPort; ++n)
            cboPort->addItem(QStringLiteral("Com%1").arg(n));
        cboPort->setCurrentIndex(m_link.PortNumber - 1);
    }
    // Selecting the entry stores it and closes the port, as a selection by hand does.
    cboPort_Click(cboPort->currentIndex());
    connect(cboPort, &QComboBox::currentIndexChanged, this, &frmRevora_Main::cboPort_Click);

    m_link.CommErrorCount = 0;
    m_store.image.ClearEEPROMBuffer();
    m_link.FirmwareID.clear();
    m_link.ProductName.clear();
    m_store.MainCaption = windowTitle();
    const QString company = m_companyInfo.value(0);
    setWindowTitle(company.isEmpty() ? m_store.MainCaption : company + QLatin1Char(' ') + m_store.MainCaption);
    m_store.DataSourceName.clear();
    // Room for the multi-stage layout from the start, so loading data does not
    // make the window jump.
    m_editor->fraShiftSetup->hide();
    resize(sizeHint());
    m_editor->hideFrames(true);
}

// ---------------------------------------------------------------- LinkView

void frmRevora_Main::showProgress(const QString& caption)
{
    fraProgress1->setTitle(caption);
    prgProgress1->setValue(0);
    fraProgress1->show();
    fraProgress1->repaint();
}

void frmRevora_Main::setProgress(int percent) { prgProgress1->setValue(qBound(0, percent, 100)); }

void frmRevora_Main::hideProgress() { fraProgress1->hide(); }

void frmRevora_Main::hideParameterFrames() { m_editor->hideFrames(false); }

void frmRevora_Main::setCaption(const QString& caption) { setWindowTitle(caption); }

void frmRevora_Main::refreshEditor()
{
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
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->window() == this)
            m_link.UserAbort = true;
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
    if (m_port.isOpen())
        m_port.close();
    event->accept();
}

void frmRevora_Main::mnuExit_Click() { close(); }

// ---------------------------------------------------------------- port setup

void frmRevora_Main::mnuPortSetup_Click()
{
    showPortDevice();
    fraPortSelect->show();
}

void frmRevora_Main::cmdPortSelectOK_Click() { fraPortSelect->hide(); }

void frmRevora_Main::cboPort_Click(int index)
{
    if (index < 0)
        return;
    m_link.PortNumber = index + 1;
    portsettings::savePortNumber(m_link.PortNumber);
    // The new number takes effect when the next transfer opens the port.
    if (m_port.isOpen())
        m_port.close();
    showPortDevice();
}

void frmRevora_Main::showPortDevice()
{
    const QString device = portsettings::deviceForPort(m_link.PortNumber);
#ifdef Q_OS_WIN
    lblPortDevice->setText(device);
#else
    const bool present = QFileInfo::exists(device);
    lblPortDevice->setText(present ? QStringLiteral("%1 (present)").arg(device)
                                   : QStringLiteral("%1 (not found: connect the adapter or choose another port)").arg(device));
#endif
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
}

void frmRevora_Main::mnuOpenFile_Click()
{
    if (m_transferRunning)
        return;
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
    QString name;
    QString filter = QLatin1String(datafile::kFilter);
    if (!trap.run([&]() -> StepError {
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
}

void frmRevora_Main::mnuEditAlarmVSS_Click()
{
    if (m_transferRunning)
        return;
    m_editor->commitPendingEdit();
    frmAlarmVSS dialog(m_store.params, m_prompter, this);
    dialog.exec();
}

void frmRevora_Main::mnuEditAlarms_Click()
{
    if (m_transferRunning)
        return;
    m_editor->commitPendingEdit();
    frmAlarms dialog(m_store.params, m_prompter, this);
    dialog.exec();
}

// ---------------------------------------------------------------- transfers

void frmRevora_Main::setTransferRunning(bool running)
{
    m_transferRunning = running;
    for (QAction* a : {mnuOpenFile, mnuSaveFIle, mnuPrintParams, mnuPrintPreview, mnuPrintSetup, mnuEditGPOParams,
                       mnuEditAlarmVSS, mnuEditAlarms, mnuDisplayDefaults, mnuDownload, mnuUpload})
        a->setEnabled(!running);
    cboPort->setEnabled(!running);
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
    {
        ControllerLink link(m_port, m_prompter, *this, m_link, m_timing);
        workflow(link, m_store);
    }
    setTransferRunning(false);
    if (m_closeRequested)
        QTimer::singleShot(0, this, &QWidget::close);
}

void frmRevora_Main::mnuDownload_Click()
{
    runTransfer([](ControllerLink& link, ParameterStore& store) { ::mnuDownload_Click(link, store); });
}

void frmRevora_Main::mnuUpload_Click()
{
    runTransfer([](ControllerLink& link, ParameterStore& store) { ::mnuUpload_Click(link, store); });
}

// ---------------------------------------------------------------- help

void frmRevora_Main::mnuHelpContents_Click() { showHelp(this); }

void frmRevora_Main::mnuAbout_Click() { showAbout(m_prompter, m_companyInfo); }
