#include "params/datafile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace datafile {

namespace {

// Shown by the window in the person's language; the command-line tool, which installs
// no translator, keeps these words.
struct Say {
    Q_DECLARE_TR_FUNCTIONS(datafile)
};

Result fail(ErrorKind kind, const QString& message) { return Result{false, message, kind}; }

Result notRegular(const QString& path)
{
    return fail(ErrorKind::NotRegularFile,
                Say::tr("%1 is not a regular file (it is a folder, a device or a pipe). "
                        "Choose a parameter data file.")
                    .arg(QDir::toNativeSeparators(path)));
}

Result cannotOpen(const QString& path, const QString& why)
{
    return fail(ErrorKind::CannotOpen, Say::tr("Cannot open %1: %2").arg(QDir::toNativeSeparators(path), why));
}

// Opens a regular file for reading without ever blocking: a pipe would wait for a
// writer and a device could deliver bytes without end, so the kind of file is
// decided on the opened descriptor before anything is read.
Result openRegular(const QString& path, QFile& file)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd == -1)
        return cannotOpen(path, QString::fromLocal8Bit(strerror(errno)));
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return notRegular(path);
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return cannotOpen(path, file.errorString());
    }
#elif defined(Q_OS_WIN)
    // CON, NUL, COM1 and pipes open like files on Windows, and CON would wait
    // for typing: only a file on a disk is read.
    if (existsButNotRegular(path))
        return notRegular(path);
    const QString native = QDir::toNativeSeparators(path);
    const HANDLE h = CreateFileW(reinterpret_cast<const wchar_t*>(native.utf16()), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                 nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        QFile probe(path);
        probe.open(QIODevice::ReadOnly);  // for the system's own words
        return cannotOpen(path, probe.errorString());
    }
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        return notRegular(path);
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_RDONLY | _O_BINARY);
    if (fd == -1) {
        CloseHandle(h);
        return cannotOpen(path, QString::fromLocal8Bit(strerror(errno)));
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        _close(fd);
        return cannotOpen(path, file.errorString());
    }
#else
    if (existsButNotRegular(path))
        return notRegular(path);
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return cannotOpen(path, file.errorString());
#endif
    return {};
}

Result cannotWrite(const QString& path, const QString& why)
{
    return fail(ErrorKind::CannotWrite,
                Say::tr("Cannot write %1: %2. The existing file was not changed.").arg(QDir::toNativeSeparators(path), why));
}
}  // namespace

Result readBlock(const QString& path, QByteArray& block)
{
    QFile file;
    if (Result r = openRegular(path, file); !r.ok)
        return r;
    // Bytes after the 144th are ignored, so never read more than that.
    const QByteArray data = file.read(kConfigSize);
    if (file.error() != QFileDevice::NoError)
        return fail(ErrorKind::CannotRead, Say::tr("Cannot read %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    if (data.size() < kConfigSize)
        return fail(ErrorKind::ShortFile, QLatin1String(kPrematureEnd));
    block = data;
    return {};
}

Result read(const QString& path, ImageBuffer& image)
{
    QByteArray block;
    Result r = readBlock(path, block);
    if (r.ok)
        image.setConfigBlock(block);
    return r;
}

bool existsButNotRegular(const QString& path)
{
#ifdef Q_OS_WIN
    // Device names (NUL, CON, COM1 ...) exist in every folder on Windows.
    const QString native = QDir::toNativeSeparators(path);
    const HANDLE h = CreateFileW(reinterpret_cast<const wchar_t*>(native.utf16()), 0,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        const DWORD type = GetFileType(h);
        CloseHandle(h);
        if (type != FILE_TYPE_DISK)
            return true;
    }
#endif
    const QFileInfo info(path);
    return info.exists() && !info.isFile();
}

Result writeBlock(const QString& path, const QByteArray& block)
{
    if (block.size() != kConfigSize)
        return fail(ErrorKind::CannotWrite, Say::tr("Internal error: a data file holds %1 bytes, not %2.")
                                                .arg(block.size())
                                                .arg(kConfigSize));
    if (existsButNotRegular(path))
        return fail(ErrorKind::NotRegularFile,
                    Say::tr("Cannot write %1: it is not a regular file (a folder, a device or a pipe). "
                                   "It was not changed; choose another file name.")
                        .arg(QDir::toNativeSeparators(path)));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return cannotWrite(path, file.errorString());
    // QSaveFile::commit() on Qt 6.4 can report success after a failed write (a full
    // disk), so check the write ourselves before committing.
    if (!writeAll(file, block)) {
        const QString why = file.errorString();
        file.cancelWriting();
        return cannotWrite(path, why);
    }
    if (!file.commit())
        return cannotWrite(path, file.errorString());
    return {};
}

Result write(const QString& path, const ImageBuffer& image) { return writeBlock(path, image.configBlock()); }

bool writeAll(QIODevice& file, const QByteArray& bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

QString captionName(const QString& path)
{
    const auto cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    QString name = path.mid(cut + 1);
    if (name.size() > 40)
        name = QStringLiteral("...") + name.right(40);
    return name;
}

}  // namespace datafile
