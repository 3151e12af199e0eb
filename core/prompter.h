#pragma once
// Everything that talks to the person goes through this one interface: message
// boxes, the input box and the colour and file dialogs. The windowed program uses
// Qt's dialogs; the command-line tool prints; tests script the answers.
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

enum class PromptIcon { None, Critical, Question, Exclamation, Information };
enum class PromptButtons { OK, OKCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel, SaveDiscardCancel };
enum class PromptAnswer { OK, Cancel, Abort, Retry, Ignore, Yes, No, Save, Discard };

class Prompter {
public:
    virtual ~Prompter() = default;

    // A message box: text, title, buttons, icon; returns the button pressed.
    virtual PromptAnswer message(const QString& text, const QString& title, PromptButtons buttons,
                                 PromptIcon icon) = 0;

    // The input box; nullopt when cancelled.
    virtual std::optional<QString> input(const QString& prompt, const QString& title,
                                         const QString& defaultText = QString()) = 0;

    // The colour dialog, preselecting `initial` (RGB, red in the low byte); nullopt
    // when cancelled.
    virtual std::optional<uint32_t> color(uint32_t initial) = 0;

    // File dialogs. `filter` is in the program's "Text|pattern" form. Empty when cancelled.
    virtual QString openFileName(const QString& title, const QString& filter) = 0;
    virtual QString saveFileName(const QString& title, const QString& filter) = 0;
    // The folder the next file dialogs start in; prompters without dialogs ignore it.
    virtual void setFileDialogFolder(const QString& folder) { Q_UNUSED(folder); }

    // A table to read (a comparison) with a text above it and the buttons below.
    // Prompters without a table show it as a message box, one row a line.
    virtual PromptAnswer table(const QString& text, const QString& title, const QStringList& headings,
                               const QList<QStringList>& rows, PromptButtons buttons)
    {
        QString all = text + QStringLiteral("\r\n\r\n") + headings.join(QStringLiteral(" | "));
        for (const QStringList& row : rows)
            all += QStringLiteral("\r\n") + row.join(QStringLiteral(" | "));
        return message(all, title, buttons, PromptIcon::None);
    }

    // The save dialog opened on `suggested` (a full path); a prompter that cannot
    // suggest a name asks plainly.
    virtual QString saveFileNameSuggesting(const QString& title, const QString& filter, const QString& suggested)
    {
        Q_UNUSED(suggested);
        return saveFileName(title, filter);
    }

    // A shorthand for the common warning box with one OK button.
    void warn(const QString& text, const QString& title)
    {
        message(text, title, PromptButtons::OK, PromptIcon::Exclamation);
    }

    // The program has one colour dialog: it holds the colour it last returned to
    // any picker and opens on it; before it has returned one, on `fallback`. A
    // Cancel that is ignored goes on with this colour too.
    uint32_t colorDialogColor(uint32_t fallback) const { return m_colorDialogColor.value_or(fallback); }
    void setColorDialogColor(uint32_t value) { m_colorDialogColor = value; }

private:
    std::optional<uint32_t> m_colorDialogColor;
};
