#include "shell/transfers.h"

#include "core/datapaths.h"
#include "core/document.h"
#include "link/workflows.h"

#include <QDir>
#include <QHBoxLayout>
#include <QProgressBar>

ProgressPanel::ProgressPanel(QWidget* parent) : QGroupBox(tr("Programming"), parent)
{
    setObjectName(QStringLiteral("fraProgress1"));
    prgProgress1 = new QProgressBar;
    prgProgress1->setObjectName(QStringLiteral("prgProgress1"));
    prgProgress1->setRange(0, 100);
    prgProgress1->setValue(0);
    auto* h = new QHBoxLayout(this);
    h->addWidget(prgProgress1);
    hide();
}

void ProgressPanel::begin(const QString& caption)
{
    setTitle(caption);
    prgProgress1->setRange(0, 100);
    prgProgress1->setValue(0);
    show();
    repaint();
}

void ProgressPanel::end()
{
    hide();
}

Transfers::Transfers(Document& document, Prompter& prompter, Port& port, ProgressPanel* progress, QObject* parent)
    : QObject(parent), m_document(document), m_prompter(prompter), m_port(port), m_progress(progress)
{
}

Transfers::~Transfers() { closePort(); }

void Transfers::usePort(const PortChoice& choice)
{
    if (choice.devicePath.isEmpty())
        m_state.PortNumber = choice.number;
    m_state.DevicePath = choice.devicePath;
    closePort();
}

void Transfers::stop()
{
    if (m_running)
        m_state.UserAbort = true;
}

void Transfers::stopBySignal(int signo)
{
    if (!m_running)
        return;
    if (m_state.StopSignal == 0)
        m_state.StopSignal = signo;
    m_state.UserAbort = true;
}

void Transfers::closePort()
{
    if (m_port.isOpen())
        m_port.close();
}

template <typename Workflow>
bool Transfers::run(Workflow workflow)
{
    if (m_running)
        return false;
    m_running = true;
    emit runningChanged(true);
    // Only an Esc or a signal during this transfer may stop it.
    m_state.UserAbort = false;
    m_state.StopSignal = 0;
    bool completed = false;
    {
        ControllerLink link(m_port, m_prompter, *this, m_state, m_timing);
        completed = workflow(link, m_document.store());
    }
    m_running = false;
    emit runningChanged(false);
    return completed;
}

void Transfers::download()
{
    run([](ControllerLink& link, ParameterStore& store) { return bool(runDownload(link, store)); });
}

void Transfers::upload(bool backUpFirst)
{
    UploadOptions options;
    if (backUpFirst) {
        options.backupFolder = datapaths::backupFolder();
        options.confirmChanges = [this](const report::Comparison& changes, const QString& backupFile) {
            return confirmUpload(changes, backupFile);
        };
    }
    if (run([&options](ControllerLink& link, ParameterStore& store) { return bool(runUpload(link, store, options)); }))
        m_document.uploaded();
}

bool Transfers::confirmUpload(const report::Comparison& changes, const QString& backupFile)
{
    const QString title = linktext::said(linkworkflow::kUploadTitle);
    const QString kept = tr("The controller's configuration is kept in %1.").arg(QDir::toNativeSeparators(backupFile))
                         + QStringLiteral("\r\n\r\n");
    if (changes.same())
        return m_prompter.message(kept + tr("The controller already holds this configuration. Upload it all the same?"),
                                  title, PromptButtons::YesNo, PromptIcon::Question) == PromptAnswer::Yes;
    return m_prompter.table(kept + tr("The upload will make these changes. Go on?"), title,
                            {tr("Parameter"), tr("Controller now"), tr("After the upload")},
                            comparisonRows(changes), PromptButtons::YesNo) == PromptAnswer::Yes;
}

void Transfers::compare()
{
    CompareOutcome outcome;
    run([&outcome](ControllerLink& link, ParameterStore& store) {
        outcome = compareWithController(link, store);
        return false;
    });
    if (!outcome)
        return;
    const QString title = linktext::said(linkworkflow::kCompareTitle);
    if (outcome.differences.same()) {
        m_prompter.message(linktext::said(linkworkflow::kSameConfiguration), title, PromptButtons::OK,
                           PromptIcon::Information);
        return;
    }
    const QList<QStringList> rows = comparisonRows(outcome.differences);
    m_prompter.table(rows.size() == 1 ? tr("The controller and this configuration differ in one place:")
                                      : tr("The controller and this configuration differ in %1 places:").arg(rows.size()),
                     title, {tr("Parameter"), tr("Controller"), tr("This configuration")},
                     rows, PromptButtons::OK);
}

QList<QStringList> Transfers::comparisonRows(const report::Comparison& comparison)
{
    QList<QStringList> rows;
    // The core names every row, switches too ("Alarm 1 Enable"): nothing here reads the values' words.
    for (const report::Difference& d : comparison.parameters)
        rows << QStringList{d.label, d.left, d.right};
    const auto byte = [](uint8_t v) { return QStringLiteral("%1 (0x%2)").arg(uint(v)).arg(uint(v), 2, 16, QLatin1Char('0')); };
    for (const report::ByteDifference& b : comparison.bytes)
        rows << QStringList{tr("Offset %1").arg(b.offset), byte(b.left), byte(b.right)};
    return rows;
}

// ---------------------------------------------------------------- LinkView

void Transfers::showProgress(const QString& caption) { m_progress->begin(caption); }

// Nothing moves while the link is checked: a busy bar says the window is working.
void Transfers::showConnecting(const QString& device)
{
    m_progress->begin(tr("Connecting to %1...").arg(device));
    m_progress->prgProgress1->setRange(0, 0);
}

void Transfers::setProgress(int percent) { m_progress->prgProgress1->setValue(qBound(0, percent, 100)); }

void Transfers::hideProgress() { m_progress->end(); }

// The download calls this right after emptying the buffer for what it reads: the
// document says so, and the views follow it.
void Transfers::hideParameterFrames() { m_document.clear(); }

// The caption is the document's: what the workflow names here is what the
// document's own state already reads (the buffer emptied, the data downloaded).
void Transfers::setCaption(const QString& caption) { Q_UNUSED(caption); }

// The download decoded the controller's block into the store.
void Transfers::refreshEditor() { m_document.downloaded(); }
