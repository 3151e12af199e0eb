#pragma once
// Where the program finds the files that sit beside it in a build or an unpacked
// folder (the branding file, the maker's help file) and, once installed, in the
// installed data folder. The program's working folder plays no part.
#include <QString>
#include <QStringList>

namespace datapaths {

// The folders searched, in order: the program's own folder; the data folder of
// the installation the program belongs to (found from the program's folder, so an
// installation moved or installed under another prefix still finds its files);
// then "revora-shift" under the user's and the system's data folders.
QStringList searchFolders();

// The same, from a given program folder.
QStringList searchFolders(const QString& programFolder);

// The first of those folders that holds `fileName` as a file; `programFolder`
// when none does, so that messages name the place the file is first looked for.
QString folderOf(const QString& fileName);
QString folderOf(const QString& fileName, const QString& programFolder);

// Where uploads keep the controller's configuration before writing over it. Files
// in it are the program's own copies: they never become a recent file or the
// folder the file dialogs remember.
QString backupFolder();
// True when `path` is in the backup folder.
bool isBackup(const QString& path);

}  // namespace datapaths
