#pragma once
// What revora-shift-cli offers, said once: --help, each command's --help and usage
// line, and the manual page's synopsis, commands and exit codes are all printed
// from these tables (the manual page by revora-shift-cli-manpage at build time).
#include <QList>
#include <QString>

namespace clitable {

struct CommandText {
    const char* name;
    const char* synopsis;  // the arguments after the name
    const char* summary;   // one line for --help
    const char* details;   // the whole story, for COMMAND --help and the manual page
};

struct ExitStatus {
    const char* code;  // "0", or a rule such as "128+N"
    const char* meaning;
};

// In the order --help lists them. The report command is there only where the
// tool prints (built with the windowed parts, REVORA_CLI_REPORT).
const QList<CommandText>& commands();
const QList<ExitStatus>& exitStatuses();
// The command of that name, or nullptr.
const CommandText* command(const QString& name);

// "usage: revora-shift-cli NAME SYNOPSIS"
QString usageLine(const CommandText& command);
// Everything --help prints.
QString helpText();
// Everything NAME --help prints: the usage line and the details, wrapped.
QString commandHelp(const CommandText& command);

// The manual page's parts in roff, for the page's template.
QString manSynopsis();
QString manCommands();
QString manExitStatus();
// Fills @PROJECT_VERSION@, @CLI_SYNOPSIS@, @CLI_COMMANDS@ and @CLI_EXIT_STATUS@.
QString manPage(QString pageTemplate, const QString& version);

}  // namespace clitable
