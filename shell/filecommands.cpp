#include "shell/filecommands.h"

#include "core/datapaths.h"
#include "core/prompter.h"
#include "link/link.h"
#include "params/datafile.h"
#include "shell/recentfiles.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
QString openTitle() { return QCoreApplication::translate("RecentFiles", kOpenDataFileTitle); }
StepError stepError(const QString& error) { return error.isEmpty() ? StepError() : StepError(error); }
}  // namespace

void FileCommands::save()
{
    // A backup is kept as it was made: saving one chooses a file, as a new document does.
    if (m_document.origin() != Document::Origin::File || m_document.isEmpty()) {
        saveAs();
        return;
    }
    ErrorTrap trap(m_prompter);
    const QString path = m_document.path();
    bool saved = false;
    trap.run([&] {
        const StepError e = m_document.saveAs(path);
        saved = !e;
        return e;
    });
    if (saved)
        m_recent.remember(path);
}

void FileCommands::saveAs()
{
    if (m_document.isEmpty()) {
        m_prompter.warn(tr("Data buffer empty."), tr("Save Data File"));
        return;
    }
    ErrorTrap trap(m_prompter);
    FileChoice choice;
    QString filter = QLatin1String(datafile::kFilter);
    QString existMessage;
    if (!trap.run([&] {
            choice = m_files.FileSave(tr("Save File"), filter, existMessage, RecentFiles::startFolder());
            return stepError(choice.error);
        }))
        return;
    if (choice.path.isEmpty())
        return;
    // A save that failed and was ignored did not happen: nothing is remembered.
    bool saved = false;
    trap.run([&] {
        const StepError e = m_document.saveAs(choice.path);
        saved = !e;
        return e;
    });
    if (saved)
        m_recent.remember(choice.path);
}

bool FileCommands::mayDiscard(const QString& title)
{
    if (!m_document.isModified())
        return true;
    const PromptAnswer a = m_prompter.message(
        tr("This configuration has changes that are not saved.") + QStringLiteral("\r\n") + tr("Do you want to save them?"),
        title,
        PromptButtons::SaveDiscardCancel, PromptIcon::Exclamation);
    if (a == PromptAnswer::Save) {
        save();
        // A save that was cancelled or failed keeps the configuration.
        return !m_document.isModified();
    }
    return a == PromptAnswer::Discard;
}

void FileCommands::openFile(const QString& path) { open(path, Document::Origin::File, RecentFiles::startFolder()); }

void FileCommands::openBackup()
{
    const QString folder = datapaths::backupFolder();
    QDir().mkpath(folder);
    open(QString(), Document::Origin::Backup, folder);
}

FileCommands::StartupFile FileCommands::startupFile(const QStringList& arguments)
{
    // --help and --version are answered before the window exists; they are
    // known here so that they are not taken for unknown options.
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE.dat"), QString());
    StartupFile result;
    if (!parser.parse(arguments)) {
        result.error = parser.errorText() + QStringLiteral(" See revora-shift --help.");
        return result;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        result.error = QStringLiteral("One data file at a time: %1 were named (%2). Open the others from the "
                                      "File menu.")
                           .arg(files.size())
                           .arg(files.join(QStringLiteral(", ")));
        return result;
    }
    if (!files.isEmpty())
        result.path = QFileInfo(files.first()).absoluteFilePath();
    return result;
}

void FileCommands::open(const QString& path, Document::Origin origin, const QString& folder)
{
    if (!mayDiscard(openTitle()))
        return;
    if (!m_document.isEmpty()
        && m_prompter.message(tr("Data buffer not empty. OK to overwrite?"), openTitle(),
                              PromptButtons::OKCancel, PromptIcon::None) != PromptAnswer::OK)
        return;
    // No waiting events are let through here: the box has closed, and a queued
    // command run now would find the configuration half replaced.
    m_link.FirmwareID.clear();
    m_link.ProductName.clear();
    m_document.clear();

    ErrorTrap trap(m_prompter);
    QString name = path;
    QString filter = QLatin1String(datafile::kFilter);
    if (name.isEmpty() && !trap.run([&] {
            const FileChoice choice = m_files.FileOpen(tr("Open File"), filter, QString(), folder);
            name = choice.path;
            return stepError(choice.error);
        }))
        return;
    if (name.isEmpty())
        return;
    Document::LoadResult loaded;
    trap.run([&] {
        loaded = m_document.open(name, origin);
        // The short file has a message of its own.
        return loaded || loaded.failure == Document::LoadFailure::ShortFile ? StepError() : StepError(loaded.error);
    });
    if (loaded.failure == Document::LoadFailure::ShortFile)
        m_prompter.warn(QLatin1String(datafile::kPrematureEnd), openTitle());
    if (!loaded)
        return;
    m_recent.remember(name);
    m_prompter.message(tr("Loaded %1 to buffer. Ready for editing or upload.").arg(name), openTitle(), PromptButtons::OK,
                       PromptIcon::None);
}
