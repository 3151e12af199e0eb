#include "link/backup.h"

#include "params/datafile.h"
#include "params/paramset.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace backup {

namespace {
// Unbuffered, so that a full disk is said by the write itself.
struct BackupFile : QTemporaryFile {
    using QTemporaryFile::QTemporaryFile;
    bool openUnbuffered() { return QTemporaryFile::open(QIODevice::ReadWrite | QIODevice::Unbuffered); }
};
}  // namespace

QString fileName(const QDateTime& when)
{
    return when.toString(QStringLiteral("yyyy-MM-dd_HHmmss")) + QStringLiteral(".dat");
}

QString write(const QString& folder, const QDateTime& when, const QByteArray& block, QString* error)
{
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return QString();
    };
    if (block.size() != kConfigSize)
        return fail(QStringLiteral("The controller's block holds %1 bytes, not %2.").arg(block.size()).arg(kConfigSize));
    if (!QDir().mkpath(folder))
        return fail(QStringLiteral("The backup folder %1 cannot be made.").arg(QDir::toNativeSeparators(folder)));
    const QString path = QDir(folder).filePath(fileName(when));
    if (QFile::exists(path))
        return fail(QStringLiteral("%1 already exists.").arg(QDir::toNativeSeparators(path)));
    // Written beside its final name and renamed only once every byte is on the
    // disk: a backup is whole or absent. The rename refuses to replace a file
    // that appeared meanwhile.
    BackupFile file(QDir(folder).filePath(QStringLiteral(".backup-XXXXXX")));
    if (!file.openUnbuffered())
        return fail(QStringLiteral("Cannot write in %1: %2.").arg(QDir::toNativeSeparators(folder), file.errorString()));
    bool ok = datafile::writeAll(file, block);
#ifdef Q_OS_UNIX
    ok = ok && ::fsync(file.handle()) == 0;
#endif
    if (!ok)
        return fail(QStringLiteral("Cannot write %1: %2.").arg(QDir::toNativeSeparators(path), file.errorString()));
    file.close();
#ifdef Q_OS_WIN
    // Windows has no fsync for the descriptor; flushing any handle of the file
    // writes its cached data to the disk.
    const QString native = QDir::toNativeSeparators(file.fileName());
    const HANDLE h = CreateFileW(reinterpret_cast<const wchar_t*>(native.utf16()), GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool flushed = h != INVALID_HANDLE_VALUE && FlushFileBuffers(h);
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
    if (!flushed)
        return fail(QStringLiteral("Cannot write %1: the file could not be flushed to the disk.")
                        .arg(QDir::toNativeSeparators(path)));
#endif
#ifdef Q_OS_WIN
    // Windows: Qt keeps a closed temporary file's handle, which no other rename may
    // move; the file's own rename does (and refuses an existing name as well).
    const bool renamed = file.rename(path);
#else
    const bool renamed = QFile::rename(file.fileName(), path);
#endif
    if (!renamed)
        return fail(QStringLiteral("Cannot write %1: it already exists or the folder refused it.").arg(QDir::toNativeSeparators(path)));
    file.setAutoRemove(false);  // it has its final name now
    return path;
}

}  // namespace backup
