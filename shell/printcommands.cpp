#include "shell/printcommands.h"

#include "shell/recentfiles.h"

PrintCommands::PrintCommands(Prompter& prompter, QWidget* parent, const QString& companyName,
                             const QString& firmwareID)
    : m_prompter(prompter), m_parent(parent), m_companyName(companyName), m_firmwareID(firmwareID)
{
}

report::PrintDialogs& PrintCommands::dialogs()
{
    if (!m_dialogs)
        m_dialogs = std::make_unique<report::QtPrintDialogs>(m_parent);
    return *m_dialogs;
}

QPrinter& PrintCommands::printer()
{
    // Made on first use: looking up the system's printers can take a moment.
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);  // columns placed finer than 1/96 in
    return *m_printer;
}

report::PrintContext PrintCommands::context() const
{
    report::PrintContext c;
    c.companyName = m_companyName;
    c.firmwareID = m_firmwareID;
    c.folder = RecentFiles::startFolder();
    return c;
}

void PrintCommands::print(const ParameterStore& store)
{
    report::printParameters(store, m_prompter, dialogs(), printer(), context());
}

// The sheet on screen before paper is used; it can be printed from there.
void PrintCommands::preview(const ParameterStore& store)
{
    report::previewParameters(store, m_prompter, dialogs(), printer(), context());
}

void PrintCommands::setup() { report::printSetup(printer(), m_prompter, dialogs(), RecentFiles::startFolder()); }
