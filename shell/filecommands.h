#pragma once
// File > Open File, Open Backup, Save and Save File (as) on the document: the questions, the
// file dialogs, the error trap, and the recent files a data file enters.
#include "core/document.h"
#include "core/filechooser.h"

#include <QCoreApplication>

class Prompter;
class RecentFiles;
struct LinkState;

class FileCommands {
    Q_DECLARE_TR_FUNCTIONS(FileCommands)
public:
    FileCommands(Document& document, Prompter& prompter, RecentFiles& recent, LinkState& link)
        : m_document(document), m_prompter(prompter), m_files(prompter), m_recent(recent), m_link(link)
    {
    }

    // Replaces the configuration with the data file `path`, or with the one chosen
    // in the Open dialog when `path` is empty.
    void openFile(const QString& path = QString());
    // The same in the backup folder. A backup opens as any file but never enters
    // the recent files.
    void openBackup();
    // Writes to the file the document came from or was last saved to, asking
    // nothing; with no such file, it is Save As.
    void save();
    // Before the configuration is replaced or the window closes: when it has
    // changes no file holds, asks whether to save them (Save / Discard / Cancel)
    // with `title`. True when the configuration may go.
    bool mayDiscard(const QString& title);
    // Chooses the file first (the Save File command).
    void saveAs();

    // The data file named on the command line (the program's arguments, Qt's own
    // taken out), as an absolute path; empty when none. `error` says what is
    // wrong when the line holds an unknown option or more than one file.
    struct StartupFile {
        QString path;
        QString error;
    };
    static StartupFile startupFile(const QStringList& arguments);

private:
    void open(const QString& path, Document::Origin origin, const QString& folder);

    Document& m_document;
    Prompter& m_prompter;
    FileChooser m_files;
    RecentFiles& m_recent;
    LinkState& m_link;
};
