#pragma once
// A prompter for tests: a queue of expected prompts with their answers. An unexpected
// prompt, an answer the box does not offer, or a prompt left unshown fails the test.
#include "core/prompter.h"

#include <QList>
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
        std::optional<std::pair<PromptButtons, PromptIcon>> box;  // checked when given
        PromptAnswer answer = PromptAnswer::OK;
        std::optional<QString> textAnswer;  // the input box's (none: cancelled) or the file dialog's
        std::optional<uint32_t> colorAnswer;
    };

    ~ScriptedPrompter() override;

    ScriptedPrompter& expect(const QString& text, const QString& title, PromptAnswer answer = PromptAnswer::OK)
    { return push(Kind::Message, text, title, answer); }
    // The same, also checking the buttons and icon.
    ScriptedPrompter& expectBox(const QString& text, const QString& title, PromptButtons buttons, PromptIcon icon,
                                PromptAnswer answer)
    { return push(Kind::Message, text, title, answer, std::make_pair(buttons, icon)); }
    // The error prompt ("Error", Abort/Retry/Ignore, critical) with this text.
    ScriptedPrompter& expectError(const QString& text, PromptAnswer answer)
    { return expectBox(text, QStringLiteral("Error"), PromptButtons::AbortRetryIgnore, PromptIcon::Critical, answer); }
    ScriptedPrompter& expectInput(const QString& prompt, const QString& title, std::optional<QString> answer)
    { return push(Kind::Input, prompt, title, {}, {}, answer); }
    ScriptedPrompter& expectColor(std::optional<uint32_t> answer) { return push(Kind::Color, {}, {}, {}, {}, {}, answer); }
    ScriptedPrompter& expectOpenFile(const QString& answer) { return push(Kind::OpenFile, {}, {}, {}, {}, answer); }
    ScriptedPrompter& expectSaveFile(const QString& answer) { return push(Kind::SaveFile, {}, {}, {}, {}, answer); }

    // True when every expected prompt was shown and nothing unexpected came.
    bool done() const { return m_queue.isEmpty() && m_failures.isEmpty(); }
    QStringList failures() const;
    // Everything shown so far, one line each ("title: text").
    QStringList shown() const { return m_shown; }
    // When set, the destructor does not complain about unshown prompts.
    void setLenient(bool lenient) { m_lenient = lenient; }
    // Run the moment an error prompt shows: mends the fault so that a scripted Retry can succeed.
    std::function<void()> mend;

    PromptAnswer message(const QString& text, const QString& title, PromptButtons buttons,
                         PromptIcon icon) override;
    std::optional<QString> input(const QString& prompt, const QString& title, const QString&) override
    { return take(Kind::Input, prompt, title).textAnswer; }
    std::optional<uint32_t> color(uint32_t initial) override
    { return lastColorInitial = initial, take(Kind::Color, {}, {}).colorAnswer; }
    QString openFileName(const QString& title, const QString&) override { return fileAnswer(Kind::OpenFile, title); }
    QString saveFileName(const QString& title, const QString&) override { return fileAnswer(Kind::SaveFile, title); }
    void setFileDialogFolder(const QString& folder) override { fileDialogFolder = folder; }
    QString saveFileNameSuggesting(const QString& title, const QString& filter, const QString& suggested) override
    { return lastSuggestedFile = suggested, saveFileName(title, filter); }

    uint32_t lastColorInitial = 0;
    QString fileDialogFolder;  // where the file dialogs would start
    QString lastSuggestedFile;

private:
    ScriptedPrompter& push(Kind kind, const QString& text, const QString& title, PromptAnswer answer,
                           std::optional<std::pair<PromptButtons, PromptIcon>> box = {},
                           std::optional<QString> textAnswer = {}, std::optional<uint32_t> colorAnswer = {})
    { return m_queue.append(Expected{kind, text, title, box, answer, textAnswer, colorAnswer}), *this; }
    // The next expected prompt when it is this one; otherwise a failure and a cancelled prompt.
    Expected take(Kind kind, const QString& text, const QString& title);
    QString fileAnswer(Kind kind, const QString& title) { return take(kind, {}, title).textAnswer.value_or(QString()); }

    QList<Expected> m_queue;
    QStringList m_failures;
    QStringList m_shown;
    bool m_lenient = false;
};

// Fails the current test with the prompter's failures, if any.
#define QVERIFY_PROMPTS(p) QVERIFY2((p).done(), qPrintable((p).failures().join(QLatin1Char('\n'))))
