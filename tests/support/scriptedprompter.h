#pragma once
// A prompter for tests: a queue of expected prompts with their answers. An
// unexpected prompt, or one left unshown at the end, fails the test.
#include "shell/prompter.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class ScriptedPrompter : public Prompter {
public:
    enum class Kind { Message, Input, Color, OpenFile, SaveFile };

    struct Expected {
        Kind kind = Kind::Message;
        QString text;   // message text or input prompt; empty matches anything
        QString title;  // empty matches anything
        PromptButtons buttons = PromptButtons::OK;
        PromptIcon icon = PromptIcon::None;
        bool checkButtonsAndIcon = false;
        PromptAnswer answer = PromptAnswer::OK;
        std::optional<QString> inputAnswer;
        std::optional<uint32_t> colorAnswer;
        QString fileAnswer;
    };

    ~ScriptedPrompter() override;

    // Expect a message box with this text and title; answer it.
    ScriptedPrompter& expect(const QString& text, const QString& title, PromptAnswer answer = PromptAnswer::OK)
    {
        push(Kind::Message, text, title).answer = answer;
        return *this;
    }
    // The same, also checking the buttons and icon.
    ScriptedPrompter& expectBox(const QString& text, const QString& title, PromptButtons buttons,
                                PromptIcon icon, PromptAnswer answer);
    // Expect the error prompt ("Error", Abort/Retry/Ignore, critical) with this text.
    ScriptedPrompter& expectError(const QString& text, PromptAnswer answer);
    ScriptedPrompter& expectInput(const QString& prompt, const QString& title, std::optional<QString> answer)
    {
        push(Kind::Input, prompt, title).inputAnswer = answer;
        return *this;
    }
    ScriptedPrompter& expectColor(std::optional<uint32_t> answer)
    {
        push(Kind::Color, {}, {}).colorAnswer = answer;
        return *this;
    }
    ScriptedPrompter& expectOpenFile(const QString& answer)
    {
        push(Kind::OpenFile, {}, {}).fileAnswer = answer;
        return *this;
    }
    ScriptedPrompter& expectSaveFile(const QString& answer)
    {
        push(Kind::SaveFile, {}, {}).fileAnswer = answer;
        return *this;
    }

    // True when every expected prompt was shown and nothing unexpected came.
    bool done() const { return m_queue.isEmpty() && m_failures.isEmpty(); }
    QStringList failures() const;
    // Everything shown so far, one line each ("title: text").
    QStringList shown() const { return m_shown; }
    // When set, the destructor does not complain about unshown prompts.
    void setLenient(bool lenient) { m_lenient = lenient; }

    PromptAnswer message(const QString& text, const QString& title, PromptButtons buttons,
                         PromptIcon icon) override;
    std::optional<QString> input(const QString& prompt, const QString& title, const QString&) override
    {
        return take(Kind::Input, prompt, title).inputAnswer;
    }
    std::optional<uint32_t> color(uint32_t initial) override
    {
        lastColorInitial = initial;
        return take(Kind::Color, QString(), QString()).colorAnswer;
    }
    QString openFileName(const QString& title, const QString&) override
    {
        return take(Kind::OpenFile, QString(), title).fileAnswer;
    }
    QString saveFileName(const QString& title, const QString&) override
    {
        return take(Kind::SaveFile, QString(), title).fileAnswer;
    }
    void setFileDialogFolder(const QString& folder) override { fileDialogFolder = folder; }
    // Keeps the suggestion in lastSuggestedFile, then answers as saveFileName does.
    QString saveFileNameSuggesting(const QString& title, const QString& filter, const QString& suggested) override
    {
        lastSuggestedFile = suggested;
        return saveFileName(title, filter);
    }

    uint32_t lastColorInitial = 0;
    QString fileDialogFolder;  // where the file dialogs would start
    QString lastSuggestedFile;

private:
    // The next expected prompt when it is this one; otherwise a failure and a cancelled prompt.
    Expected take(Kind kind, const QString& text, const QString& title);
    Expected& push(Kind kind, const QString& text, const QString& title)
    {
        Expected& e = m_queue.emplace_back();
        e.kind = kind, e.text = text, e.title = title;
        return e;
    }

    QList<Expected> m_queue;
    QStringList m_failures;
    QStringList m_shown;
    bool m_lenient = false;
};

// Fails the current test with the prompter's failures, if any.
#define QVERIFY_PROMPTS(p) QVERIFY2((p).done(), qPrintable((p).failures().join(QLatin1Char('\n'))))

// A scripted prompter that mends the fault (runs `mend`) the moment the error
// prompt shows, so that a scripted Retry can succeed.
struct MendingPrompter : ScriptedPrompter {
    std::function<void()> mend;
    PromptAnswer message(const QString& text, const QString& title, PromptButtons buttons, PromptIcon icon) override
    {
        if (title == QLatin1String("Error") && mend)
            mend();
        return ScriptedPrompter::message(text, title, buttons, icon);
    }
};
