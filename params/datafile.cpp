#include "params/datafile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace datafile {

namespace {
Result fail(const QString& message) { return Result{false, message}; }
}  // namespace

Result readBlock(const QString& path, QByteArray& block)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
    // Bytes after the 144th are ignored, so never read more than that.
    const QByteArray data = file.read(kConfigSize);
    if (file.error() != QFileDevice::NoError)
        return fail(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    if (data.size() < kConfigSize)
        return fail(QLatin1String(kPrematureEnd));
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

Result writeBlock(const QString& path, const QByteArray& block)
{
    if (block.size() != kConfigSize)
        return fail(QStringLiteral("Internal error: a data file holds %1 bytes, not %2.")
                        .arg(kConfigSize)
                        .arg(block.size()));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("Cannot write %1: %2. The existing file was not changed.")
                        .arg(path, file.errorString()));
    // QSaveFile::commit() on Qt 6.4 can report success after a failed write (a full
    // disk), so check the write and the flush ourselves before committing.
    const qint64 written = file.write(block);
    if (written != block.size() || !file.flush()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return fail(QStringLiteral("Cannot write %1: %2. The existing file was not changed.").arg(path, why));
    }
    if (!file.commit())
        return fail(QStringLiteral("Cannot write %1: %2. The existing file was not changed.")
                        .arg(path, file.errorString()));
    return {};
}

Result write(const QString& path, const ImageBuffer& image) { return writeBlock(path, image.configBlock()); }

QString captionName(const QString& path)
{
    int cut = -1;
    for (int i = path.size() - 1; i >= 0; --i) {
        if (path[i] == QLatin1Char('/') || path[i] == QLatin1Char('\\')) {
            cut = i;
            break;
        }
    }
    QString name = path.mid(cut + 1);
    if (name.size() > 40)
        name = QStringLiteral("...") + name.right(40);
    return name;
}

}  // namespace datafile
