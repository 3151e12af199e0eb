#include "core/filechooser.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>


QString FileChooser::allFiles() { return tr("All Files (*.*)") + QStringLiteral("|*.*"); }

QString FileChooser::startFolder(const QString& preferred)
{
    if (!preferred.isEmpty() && QFileInfo(preferred).isDir())
        return preferred;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

PromptAnswer FileChooser::askReplace(const QString& name, const QString& existMessage, const QString& title)
{
    return m_prompter.message(name + QStringLiteral("\r\n") + tr("This file already exists.") + QStringLiteral("\r\n\r\n")
                                  + existMessage,
                              title, PromptButtons::YesNoCancel,
                              PromptIcon::Exclamation);
}

FileChoice FileChooser::FileOpen(const QString& fileTitle, QString& filter, const QString& notExistMessage,
                                 const QString& folder)
{
    if (filter.isEmpty())
        filter = allFiles();
    m_prompter.setFileDialogFolder(folder);
    for (;;) {
        const QString name = m_prompter.openFileName(fileTitle, filter);
        // A cancelled dialog chooses nothing.
        if (name.isEmpty() || QFileInfo::exists(name))
            return {name, {}};
        QString text = name + QStringLiteral("\r\n") + tr("File not found.");
        if (!notExistMessage.isEmpty())
            text += QStringLiteral("\r\n\r\n") + notExistMessage;
        const PromptAnswer a =
            m_prompter.message(text, tr("File Open"),
                               notExistMessage.isEmpty() ? PromptButtons::RetryCancel : PromptButtons::YesNoCancel,
                               PromptIcon::Exclamation);
        switch (a) {
        case PromptAnswer::Retry: continue;
        case PromptAnswer::Yes: return {name, {}};
        case PromptAnswer::No: return {};
        default: return {QString(), tr("Canceled File Open")};
        }
    }
}

FileChoice FileChooser::FileSave(const QString& fileTitle, QString& filter, QString& existMessage,
                                 const QString& folder)
{
    if (filter.isEmpty())
        filter = allFiles();
    m_prompter.setFileDialogFolder(folder);
    for (;;) {
        const QString name = m_prompter.saveFileName(fileTitle, filter);
        if (existMessage.isEmpty())
            existMessage = tr("Replace existing file?");
        // A cancelled dialog chooses nothing, and the save command writes nothing.
        if (name.isEmpty() || !QFileInfo::exists(name))
            return {name, {}};
        switch (askReplace(name, existMessage, tr("File Save"))) {
        case PromptAnswer::Yes: return {name, {}};
        case PromptAnswer::No: continue;
        default: return {QString(), tr("Canceled File Save")};
        }
    }
}

QString FileChooser::saveNew(const QString& title, const QString& filter, const QString& suggested,
                             const QString& suffix)
{
    for (;;) {
        QString file = m_prompter.saveFileNameSuggesting(title, filter, suggested);
        if (file.isEmpty())
            return QString();
        if (QFileInfo(file).suffix().isEmpty())
            file += QLatin1Char('.') + suffix;
        if (!QFileInfo::exists(file))
            return file;
        switch (askReplace(QDir::toNativeSeparators(file), tr("Replace existing file?"), title)) {
        case PromptAnswer::Yes: return file;
        case PromptAnswer::No: continue;
        default: return QString();
        }
    }
}
