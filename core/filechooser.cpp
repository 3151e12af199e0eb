#include "core/filechooser.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
const QString kAllFiles = QStringLiteral("All Files (*.*)|*.*");
const QString kExists = QStringLiteral("\r\nThis file already exists.\r\n\r\n");
}  // namespace

QString FileChooser::startFolder(const QString& preferred)
{
    if (!preferred.isEmpty() && QFileInfo(preferred).isDir())
        return preferred;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

PromptAnswer FileChooser::askReplace(const QString& name, const QString& existMessage, const QString& title)
{
    return m_prompter.message(name + kExists + existMessage, title, PromptButtons::YesNoCancel,
                              PromptIcon::Exclamation);
}

FileChoice FileChooser::FileOpen(const QString& fileTitle, QString& filter, const QString& notExistMessage,
                                 const QString& folder)
{
    if (filter.isEmpty())
        filter = kAllFiles;
    m_prompter.setFileDialogFolder(folder);
    for (;;) {
        const QString name = m_prompter.openFileName(fileTitle, filter);
        // A cancelled dialog chooses nothing.
        if (name.isEmpty() || QFileInfo::exists(name))
            return {name, {}};
        QString text = name + QStringLiteral("\r\nFile not found.");
        if (!notExistMessage.isEmpty())
            text += QStringLiteral("\r\n\r\n") + notExistMessage;
        const PromptAnswer a =
            m_prompter.message(text, QStringLiteral("File Open"),
                               notExistMessage.isEmpty() ? PromptButtons::RetryCancel : PromptButtons::YesNoCancel,
                               PromptIcon::Exclamation);
        switch (a) {
        case PromptAnswer::Retry: continue;
        case PromptAnswer::Yes: return {name, {}};
        case PromptAnswer::No: return {};
        default: return {QString(), QStringLiteral("Canceled File Open")};
        }
    }
}

FileChoice FileChooser::FileSave(const QString& fileTitle, QString& filter, QString& existMessage,
                                 const QString& folder)
{
    if (filter.isEmpty())
        filter = kAllFiles;
    m_prompter.setFileDialogFolder(folder);
    for (;;) {
        const QString name = m_prompter.saveFileName(fileTitle, filter);
        if (existMessage.isEmpty())
            existMessage = QStringLiteral("Replace existing file?");
        // A cancelled dialog chooses nothing, and the save command writes nothing.
        if (name.isEmpty() || !QFileInfo::exists(name))
            return {name, {}};
        switch (askReplace(name, existMessage, QStringLiteral("File Save"))) {
        case PromptAnswer::Yes: return {name, {}};
        case PromptAnswer::No: continue;
        default: return {QString(), QStringLiteral("Canceled File Save")};
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
        switch (askReplace(QDir::toNativeSeparators(file), QStringLiteral("Replace existing file?"), title)) {
        case PromptAnswer::Yes: return file;
        case PromptAnswer::No: continue;
        default: return QString();
        }
    }
}
