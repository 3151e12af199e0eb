#pragma once
// The command-line tool's prompter and transfer view: every message box text is
// printed on a line of its own, questions get the answer that changes nothing
// (Abort, Cancel, No), and the progress display becomes one line on a terminal.
//
// Results go to standard output, everything else to standard error. A workflow's
// last message is its result when it succeeds ("Upload completed.") and its
// failure when it does not, so each message is held until the next one comes,
// a transfer starts (then it was not the last), or the command says how the
// workflow ended.
#include "link/link.h"
#include "core/prompter.h"
#include "tools/cli/cli_output.h"

#include <QString>
#include <cstdio>
#ifdef _WIN32
#include <io.h>
#define REVORA_ISATTY(f) (_isatty(_fileno(f)) != 0)
#else
#include <unistd.h>
#define REVORA_ISATTY(f) (::isatty(::fileno(f)) == 1)
#endif

// The one console every message and the progress line go through, so a message
// never lands inside the progress line.
class CliConsole {
public:
    CliConsole() : m_progressTty(REVORA_ISATTY(stderr)) {}

    // A message of the workflow, held back (see above).
    void message(const QString& text)
    {
        flush(stderr);
        m_held = text;
        m_holding = true;
        ++m_count;
    }
    // Straight to standard error.
    void error(const QString& text)
    {
        flush(stderr);
        print(stderr, text);
        ++m_count;
    }
    // Straight to standard output.
    void result(const QString& text) { print(stdout, text); }
    // The held message, to standard output when it is the workflow's result.
    void finish(bool succeeded) { flush(succeeded ? stdout : stderr); }
    // The held message was not the last one: to standard error now.
    void release() { flush(stderr); }
    // Messages printed or held so far.
    int count() const { return m_count; }

    void progress(const QString& caption, int percent)
    {
        if (!m_progressTty)
            return;
        std::fprintf(stderr, "\r%s %3d%%", cli::terminalText(caption).constData(), percent);
        std::fflush(stderr);
        m_progressShown = true;
    }
    void clearProgress()
    {
        if (!m_progressShown)
            return;
        std::fprintf(stderr, "\r\033[K");
        std::fflush(stderr);
        m_progressShown = false;
    }

private:
    void print(FILE* stream, const QString& text)
    {
        clearProgress();
        std::fprintf(stream, "%s\n", cli::terminalText(text).constData());
        std::fflush(stream);
    }
    void flush(FILE* stream)
    {
        if (m_holding)
            print(stream, m_held);
        m_holding = false;
    }

    bool m_progressTty;
    bool m_progressShown = false;
    QString m_held;
    bool m_holding = false;
    int m_count = 0;
};

class CliPrompter : public Prompter {
public:
    explicit CliPrompter(CliConsole& console) : m_console(console) {}

    PromptAnswer message(const QString& text, const QString&, PromptButtons buttons, PromptIcon) override
    {
        // A question is never a result.
        if (buttons == PromptButtons::OK)
            m_console.message(text);
        else
            m_console.error(text);
        switch (buttons) {
        case PromptButtons::OK: return PromptAnswer::OK;
        case PromptButtons::AbortRetryIgnore: return PromptAnswer::Abort;
        case PromptButtons::YesNo:
        case PromptButtons::YesNoCancel: return PromptAnswer::No;
        case PromptButtons::OKCancel:
        case PromptButtons::RetryCancel:
        case PromptButtons::SaveDiscardCancel: return PromptAnswer::Cancel;
        }
        return PromptAnswer::Cancel;
    }
    std::optional<QString> input(const QString& prompt, const QString&, const QString&) override
    {
        m_console.error(prompt);
        return std::nullopt;
    }
    std::optional<uint32_t> color(uint32_t) override { return std::nullopt; }
    QString openFileName(const QString&, const QString&) override { return QString(); }
    QString saveFileName(const QString&, const QString&) override { return QString(); }

private:
    CliConsole& m_console;
};

class CliLinkView : public LinkView {
public:
    explicit CliLinkView(CliConsole& console) : m_console(console) {}

    void showProgress(const QString& caption) override
    {
        m_caption = caption;
        m_console.release();
        m_console.progress(m_caption, 0);
    }
    void setProgress(int percent) override
    {
        if (percent != m_percent)
            m_console.progress(m_caption, percent);
        m_percent = percent;
    }
    void hideProgress() override
    {
        m_percent = -1;
        m_caption.clear();
        m_console.clearProgress();
    }
    void hideParameterFrames() override {}
    void setCaption(const QString&) override {}
    void refreshEditor() override {}

    // The transfer running now ("Programming EEPROM"); empty between transfers.
    QString transfer() const { return m_caption; }

private:
    CliConsole& m_console;
    QString m_caption;
    int m_percent = -1;
};
