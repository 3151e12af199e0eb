#pragma once
// Choosing a file to open or to write, on the prompter: the dialog, the check
// that the file is there (or not), and the program's own questions about it.
// The window's Open and Save and the report's "print to a PDF file" all choose
// their files here.
#include "core/prompter.h"

#include <QCoreApplication>
#include <QString>

// What a file dialog function gives back: the full path chosen (empty when the
// dialog was cancelled or No was answered), or the error the person raised by
// cancelling the function's own question ("Canceled File Open", "Canceled File
// Save"), which belongs in the calling command's error trap.
struct FileChoice {
    QString path;
    QString error;
};

class FileChooser {
    Q_DECLARE_TR_FUNCTIONS(FileChooser)
public:
    explicit FileChooser(Prompter& prompter) : m_prompter(prompter) {}

    // The folder a file dialog starts in: `preferred` when it is a folder, else the
    // documents folder, else the home folder. A folder that is not there would
    // reach the dialog as a file name to save under.
    static QString startFolder(const QString& preferred);

    // The Open dialog, starting in `folder`. A name that does not exist is
    // questioned: Retry asks again; with a `notExistMessage` Yes takes the name
    // all the same and No chooses nothing. An empty `filter` becomes all files.
    FileChoice FileOpen(const QString& fileTitle, QString& filter, const QString& notExistMessage,
                        const QString& folder);
    // The Save dialog, starting in `folder`. An existing file is replaced only on
    // Yes; No shows the dialog again. An empty `existMessage` becomes "Replace
    // existing file?".
    FileChoice FileSave(const QString& fileTitle, QString& filter, QString& existMessage, const QString& folder);

    // A new file to write, the Save dialog opened on `suggested`: a name typed
    // without a suffix gets `suffix`, and an existing file is replaced only on Yes
    // (No asks again). Empty when the person cancelled anywhere.
    QString saveNew(const QString& title, const QString& filter, const QString& suggested, const QString& suffix);

private:
    static QString allFiles();  // the filter of every file
    PromptAnswer askReplace(const QString& name, const QString& existMessage, const QString& title);

    Prompter& m_prompter;
};
