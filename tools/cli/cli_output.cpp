#include "tools/cli/cli_output.h"

#include "tools/cli/commandtable.h"

#include <cstdio>
#include <cstring>
#ifdef Q_OS_UNIX
#include <langinfo.h>
#endif

namespace cli {

namespace {
bool terminalIsUtf8()
{
#ifdef Q_OS_UNIX
    // QCoreApplication has set the locale from the environment by now.
    const char* codeset = nl_langinfo(CODESET);
    return codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
#else
    return true;
#endif
}
}  // namespace

QByteArray terminalText(const QString& text)
{
    static const bool utf8 = terminalIsUtf8();
    if (utf8)
        return text.toUtf8();
    QString ascii = text;
    static const struct {
        char16_t from;
        const char* to;
    } kPunctuation[] = {{u'\u2014', "-"}, {u'\u2013', "-"}, {u'\u2026', "..."}, {u'\u2018', "'"},
                        {u'\u2019', "'"}, {u'\u201C', "\""}, {u'\u201D', "\""}};
    for (const auto& p : kPunctuation)
        ascii.replace(QChar(p.from), QLatin1String(p.to));
    return ascii.toLocal8Bit();
}

void printOut(const QString& text)
{
    std::fputs(terminalText(text).constData(), stdout);
    std::fflush(stdout);
}

void printError(const QString& command, const QString& text)
{
    std::fprintf(stderr, "revora-shift-cli %s: %s\n", terminalText(command).constData(),
                 terminalText(text).constData());
}

int usageError(const QString& command, const QString& text)
{
    printError(command, text);
    if (const clitable::CommandText* c = clitable::command(command))
        std::fprintf(stderr, "%s\n", terminalText(clitable::usageLine(*c)).constData());
    return 2;
}

}  // namespace cli
