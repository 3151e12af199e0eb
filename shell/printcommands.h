#pragma once
// File > Print Parameters, Print Preview and Print Setup: the window's printer and
// its dialogs, made when first needed, and what the sheet's heading names.
#include "report/printer.h"

#include <QPrinter>
#include <memory>

class Prompter;
class QWidget;

class PrintCommands {
public:
    // The sheet names `companyName`; the firmware ID is the link's at print time.
    PrintCommands(Prompter& prompter, QWidget* parent, const QString& companyName, const QString& firmwareID);

    void print(const ParameterStore& store);
    void preview(const ParameterStore& store);
    void setup();
    // Tests replace the printer dialogs.
    void setDialogs(std::unique_ptr<report::PrintDialogs> dialogs) { m_dialogs = std::move(dialogs); }

private:
    report::PrintDialogs& dialogs();
    QPrinter& printer();
    report::PrintContext context() const;

    Prompter& m_prompter;
    QWidget* m_parent;
    QString m_companyName;
    const QString& m_firmwareID;
    std::unique_ptr<report::PrintDialogs> m_dialogs;
    std::unique_ptr<QPrinter> m_printer;
};
