#pragma once
// The prompter of the windowed program: Qt's message box, input box, colour and
// file dialogs.
#include "core/prompter.h"

class QWidget;

class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : m_parent(parent) {}

    void setParent(QWidget* parent) { m_parent = parent; }
    // What the boxes and dialogs are shown over: the modal dialog open now (an
    // editor dialog), else the parent.
    QWidget* boxParent() const;

    PromptAnswer message(const QString& text, const QString& title, PromptButtons buttons,
                         PromptIcon icon) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText = QString()) override;
    // Preselects the colour the dialog last returned to any picker; before the
    // first pick, the caller's current colour.
    std::optional<uint32_t> color(uint32_t initial) override;
    QString openFileName(const QString& title, const QString& filter) override;
    QString saveFileName(const QString& title, const QString& filter) override;
    void setFileDialogFolder(const QString& folder) override { m_folder = folder; }
    PromptAnswer table(const QString& text, const QString& title, const QStringList& headings,
                       const QList<QStringList>& rows, PromptButtons buttons) override;
    QString saveFileNameSuggesting(const QString& title, const QString& filter, const QString& suggested) override;

    // "Text|pattern|Text|pattern" to Qt's "Text (pattern);;Text (pattern)". A text
    // that already shows its pattern in brackets is not given it twice.
    static QString toQtFilter(const QString& filter);

private:
    QWidget* m_parent;
    QString m_folder;
};
