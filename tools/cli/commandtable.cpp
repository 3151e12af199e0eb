#include "tools/cli/commandtable.h"

#include <QStringList>

namespace clitable {

namespace {

const char* const kProgram = "revora-shift-cli";

#ifdef Q_OS_WIN
const char* const kPortText =
    "PORT is a name from 'revora-shift-cli ports', a device name (\\\\.\\COM3) or Com1 to Com255.";
#else
const char* const kPortText =
    "PORT is a name from 'revora-shift-cli ports', a device path (/dev/ttyUSB0; a relative path starts in "
    "the working folder) or Com1 to Com255.";
#endif
const char* const kStreamsText = "Results go to standard output, messages and errors to standard error.";

// Words of `text` in lines of at most `width` characters, each led by `indent`.
QStringList wrapped(const QString& text, int width, const QString& indent)
{
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && indent.size() + line.size() + 1 + word.size() > width) {
            lines << indent + line;
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    if (!line.isEmpty())
        lines << indent + line;
    return lines;
}

// Text as roff prints it: a backslash and a minus sign spelled out, a line that
// would start with a request character kept as text.
QString roff(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        if (c == QLatin1Char('\\'))
            out += QStringLiteral("\\e");
        else if (c == QLatin1Char('-'))
            out += QStringLiteral("\\-");
        else
            out += c;
    }
    if (out.startsWith(QLatin1Char('.')) || out.startsWith(QLatin1Char('\'')))
        out.prepend(QStringLiteral("\\&"));
    return out;
}

}  // namespace

const QList<CommandText>& commands()
{
    static const QList<CommandText> list = {
        {"defaults", "FILE.dat", "write the factory defaults as a data file",
         "Writes the factory defaults as a data file, the very bytes that Edit > Display Default Parameters "
         "followed by File > Save File writes."},
        {"show", "[--no-date | --json] FILE.dat", "print the file's configuration as the report's text",
         "Prints the file's configuration as the printed report's text. --no-date leaves out the print time, so "
         "two outputs compare. --json prints one JSON object instead: \"file\", the name given, and "
         "\"parameters\", one member per parameter named by its key (the parameter's name; a switch as its flag "
         "byte and its name, such as OptionFlags.GPOEnable), each with \"section\" (the report's heading it "
         "belongs under), \"label\" (the report's label without its colon; a switch has one too), \"unit\" "
         "(empty when there is none), \"value\" (in user units: a number as printed, true or false for a switch, "
         "a text for an alarm input and the user text, [red, green, blue] for a colour), \"raw\" (as stored: the "
         "bytes' number, a switch's bit as 0 or 1, the user text's 32 characters) and \"text\" (as printed: the "
         "value, or a switch's whole line). Value and text come from the same decoded configuration as the "
         "report."},
        {"diff", "A.dat B.dat", "print what differs from A.dat to B.dat",
         "Prints a line naming both files, then one line per difference in the report's order, \"Label: A's "
         "value -> B's value\", then each byte that differs where no parameter explains it, \"Offset N (what it "
         "holds): A's byte -> B's byte\"."},
        {"download", "--port PORT FILE.dat", "read the controller into FILE.dat",
         "Reads the controller's configuration into FILE.dat with the window's checks (link, armed state, "
         "firmware ID). The file is written only when the whole download succeeded."},
        {"upload", "[--backup DIR] --port PORT FILE.dat", "program the controller from FILE.dat",
         "Programs the controller from FILE.dat, verifies it and resets the controller: what the window uploads "
         "after opening the file, so the user text goes up without leading and trailing blanks. --backup first "
         "keeps the controller's block in DIR as YYYY-MM-DD_HHMMSS.dat (a second backup within the same second "
         "as YYYY-MM-DD_HHMMSS-2.dat, and so on); when no backup can be made, nothing is written to the "
         "controller."},
        {"compare", "--port PORT FILE.dat", "print what an upload of FILE.dat would change on the controller",
         "Reads the controller and compares it with exactly what an upload of FILE.dat writes: a line naming "
         "both sides, then one line per difference, \"Label: the controller's value -> the upload's value\", "
         "and the bytes as diff shows them. Right after an upload of the same file it finds nothing."},
        {"ports", "", "list the serial ports (names for --port)",
         "Lists the serial ports there are, with their description and maker, and the Com numbers the settings "
         "file maps to a device."},
#ifdef REVORA_CLI_REPORT
        {"report", "FILE.dat --pdf OUT.pdf [--comment TEXT]", "print the report sheet to a PDF",
         "Prints the parameter report sheet to the PDF file OUT.pdf, with an optional comment line. The file is "
         "written whole or not at all; a folder, a device or a pipe is refused at once."},
#endif
    };
    return list;
}

const QList<ExitStatus>& exitStatuses()
{
    static const QList<ExitStatus> list = {
        {"0", "done; diff and compare: no difference"},
        {"1", "download or upload failed (also when its data file cannot be read or written); diff and compare: "
              "a difference was found"},
        {"2", "wrong arguments; defaults, show, diff, report: a file that cannot be read or written; compare: the "
              "comparison could not be made"},
        {"128+N", "download, upload, compare: stopped by signal N (130 Ctrl+C, 143 SIGTERM, 129 SIGHUP); an upload "
                  "stopped while programming finishes the block first"},
    };
    return list;
}

const CommandText* command(const QString& name)
{
    for (const CommandText& c : commands())
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

QString usageLine(const CommandText& c)
{
    const QString synopsis = QLatin1String(c.synopsis);
    return QStringLiteral("usage: %1 %2%3")
        .arg(QLatin1String(kProgram), QLatin1String(c.name), synopsis.isEmpty() ? QString() : ' ' + synopsis);
}

QString helpText()
{
    QStringList out{QStringLiteral("usage: %1 COMMAND ...").arg(QLatin1String(kProgram))};
    for (const CommandText& c : commands()) {
        out << usageLine(c).replace(QLatin1String("usage: "), QLatin1String("  "));
        out << wrapped(QLatin1String(c.summary), 80, QStringLiteral("      "));
    }
    out << QStringLiteral("  %1 --help | --version").arg(QLatin1String(kProgram));
    out << QStringLiteral("  %1 COMMAND --help").arg(QLatin1String(kProgram));
    out << QStringLiteral("      what COMMAND does, in full");
    out << wrapped(QLatin1String(kPortText), 80, QString()) << QLatin1String(kStreamsText)
        << QStringLiteral("Exit status:");
    for (const ExitStatus& s : exitStatuses()) {
        const QString code = QStringLiteral("  %1  ").arg(QLatin1String(s.code));
        QStringList meaning = wrapped(QLatin1String(s.meaning), 80 - code.size() + 5, QStringLiteral("     "));
        meaning[0] = code + meaning[0].mid(5);
        out << meaning;
    }
    return out.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString commandHelp(const CommandText& c)
{
    QStringList out{usageLine(c)};
    out << wrapped(QLatin1String(c.details), 80, QStringLiteral("  "));
    if (QByteArray(c.synopsis).contains("PORT"))
        out << wrapped(QLatin1String(kPortText), 80, QStringLiteral("  "));
    return out.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString manSynopsis()
{
    QStringList out;
    for (const CommandText& c : commands())
        out << QStringLiteral(".B %1 %2").arg(QLatin1String(kProgram), QLatin1String(c.name))
            << roff(QLatin1String(c.synopsis)) << QStringLiteral(".br");
    out << QStringLiteral(".B %1").arg(QLatin1String(kProgram)) << roff(QStringLiteral("--help | --version"))
        << QStringLiteral(".br") << QStringLiteral(".B %1").arg(QLatin1String(kProgram))
        << roff(QStringLiteral("COMMAND --help"));
    out.removeAll(QString());  // a command without arguments
    return out.join(QLatin1Char('\n'));
}

QString manCommands()
{
    QStringList out;
    for (const CommandText& c : commands()) {
        out << QStringLiteral(".TP");
        out << QStringLiteral("\\fB%1\\fR %2").arg(QLatin1String(c.name), roff(QLatin1String(c.synopsis))).trimmed();
        out << roff(QLatin1String(c.details));
    }
    return out.join(QLatin1Char('\n'));
}

QString manExitStatus()
{
    QStringList out;
    for (const ExitStatus& s : exitStatuses())
        out << QStringLiteral(".TP") << QStringLiteral(".B %1").arg(QLatin1String(s.code))
            << roff(QLatin1String(s.meaning));
    return out.join(QLatin1Char('\n'));
}

QString manPage(QString page, const QString& version)
{
    page.replace(QLatin1String("@PROJECT_VERSION@"), version);
    page.replace(QLatin1String("@CLI_SYNOPSIS@"), manSynopsis());
    page.replace(QLatin1String("@CLI_COMMANDS@"), manCommands());
    page.replace(QLatin1String("@CLI_EXIT_STATUS@"), manExitStatus());
    return page;
}

}  // namespace clitable
