#include "link/backup.h"
#include "link/say.h"

#include "params/datafile.h"
#include "params/paramset.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <filesystem>
#include <system_error>

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
// A folder that cannot be made says why: the system's reason, or that a file
// stands where the folder should be. Empty when the folder is there.
QString makeFolder(const QString& folder)
{
    const QFileInfo info(folder);
    if (info.isDir())
        return QString();
    if (info.exists())
        return LinkSay::tr("it is a file, not a folder");
    std::error_code ec;
#ifdef Q_OS_WIN
    std::filesystem::create_directories(std::filesystem::path(folder.toStdWString()), ec);
#else
    std::filesystem::create_directories(std::filesystem::path(QFile::encodeName(folder).toStdString()), ec);
#endif
    if (ec)
        return QString::fromLocal8Bit(ec.message().c_str());
    return QFileInfo(folder).isDir() ? QString() : LinkSay::tr("it was not made");
}

// More backups than this in one second are no longer a person pressing Upload.
constexpr int kMaxSameSecond = 99;
}  // namespace

QString fileName(const QDateTime& when, int n)
{
    const QString stamp = when.toString(QStringLiteral("yyyy-MM-dd_HHmmss"));
    return (n > 1 ? QStringLiteral("%1-%2").arg(stamp).arg(n) : stamp) + QStringLiteral(".dat");
}

QString write(const QString& folder, const QDateTime& when, const QByteArray& block, QString* error)
{
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return QString();
    };
    if (block.size() != kConfigSize)
        return fail(LinkSay::tr("The controller's block holds %1 bytes, not %2.").arg(block.size()).arg(kConfigSize));
    if (const QString why = makeFolder(folder); !why.isEmpty())
        return fail(LinkSay::tr("The backup folder %1 cannot be made: %2.").arg(QDir::toNativeSeparators(folder), why));
    // Written beside its final name and renamed only once every byte is on the
    // disk: a backup is whole or absent.
    BackupFile file(QDir(folder).filePath(QStringLiteral(".backup-XXXXXX")));
    if (!file.openUnbuffered())
        return fail(LinkSay::tr("Cannot write in %1: %2.").arg(QDir::toNativeSeparators(folder), file.errorString()));
    bool ok = datafile::writeAll(file, block);
#ifdef Q_OS_UNIX
    ok = ok && ::fsync(file.handle()) == 0;
#endif
    if (!ok)
        return fail(LinkSay::tr("Cannot write %1: %2.")
                        .arg(QDir::toNativeSeparators(QDir(folder).filePath(fileName(when))), file.errorString()));
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
        return fail(LinkSay::tr("Cannot write %1: the file could not be flushed to the disk.")
                        .arg(QDir::toNativeSeparators(QDir(folder).filePath(fileName(when)))));
#endif
    // A name taken (a second upload within the same second) gives the next number;
    // the rename never replaces a file, also one that appeared meanwhile. The file
    // renames itself: on Windows Qt keeps a closed temporary file's handle open, and
    // no other rename can move a file that is open.
    for (int n = 1; n <= kMaxSameSecond; ++n) {
        const QString path = QDir(folder).filePath(fileName(when, n));
        if (QFile::exists(path))
            continue;
        if (file.rename(path)) {
            file.setAutoRemove(false);  // it has its final name now
            return path;
        }
        if (!QFile::exists(path))
            return fail(LinkSay::tr("Cannot write %1: %2.").arg(QDir::toNativeSeparators(path), file.errorString()));
    }
    return fail(LinkSay::tr("%1 backups taken at %2 are there already; move some elsewhere.")
                    .arg(kMaxSameSecond)
                    .arg(when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
}

}  // namespace backup
