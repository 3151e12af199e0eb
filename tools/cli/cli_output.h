#pragma once
// How revora-shift-cli speaks: results on standard output, every complaint on
// standard error as "revora-shift-cli COMMAND: what is wrong", whatever the command.
#include <QByteArray>
#include <QString>

namespace cli {

// The text in the terminal's encoding. A terminal that is not UTF-8 (LC_ALL=C)
// gets the program's typographic dashes and quotes as their ASCII forms; file
// names keep their bytes.
QByteArray terminalText(const QString& text);

// Standard output, as it is.
void printOut(const QString& text);
// One line on standard error: "revora-shift-cli COMMAND: text".
void printError(const QString& command, const QString& text);
// That line and the command's usage line; returns the exit status 2.
int usageError(const QString& command, const QString& text);

}  // namespace cli
