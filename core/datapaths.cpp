#include "core/datapaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// Set by the build from the install layout: the data folder relative to the
// folder the programs are installed in ("../share/revora-shift").
#ifndef REVORA_DATA_FROM_BIN
#define REVORA_DATA_FROM_BIN "../share/revora-shift"
#endif
const char kDataFolderName[] = "revora-shift";

}  // namespace

namespace datapaths {

QStringList searchFolders(const QString& programFolder)
{
    QStringList folders{programFolder};
    folders << QDir::cleanPath(QDir(programFolder).filePath(QStringLiteral(REVORA_DATA_FROM_BIN)));
    for (const QString& base : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << QDir(base).filePath(QString::fromLatin1(kDataFolderName));
    folders.removeDuplicates();
    return folders;
}

QStringList searchFolders()
{
    return searchFolders(QCoreApplication::applicationDirPath());
}

QString folderOf(const QString& fileName, const QString& programFolder)
{
    for (const QString& folder : searchFolders(programFolder)) {
        if (QFileInfo(QDir(folder).filePath(fileName)).isFile())
            return folder;
    }
    return programFolder;
}

QString folderOf(const QString& fileName)
{
    return folderOf(fileName, QCoreApplication::applicationDirPath());
}

QString backupFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/backups");
}

bool isBackup(const QString& path)
{
    return QFileInfo(QFileInfo(path).absolutePath()) == QFileInfo(backupFolder());
}

}  // namespace datapaths
