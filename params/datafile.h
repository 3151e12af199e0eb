#pragma once
// Parameter data files: exactly image offsets 16 to 159 as 144 raw bytes.
#include "params/paramset.h"

#include <QString>

class QIODevice;

namespace datafile {

inline const char* const kFilter = "Shift Light Controller data files (*.dat)|*.dat";
inline const char* const kPrematureEnd = "Error - reached premature end-of-file";

// Why a file could not be used; callers decide on this, never on the words.
enum class ErrorKind { None, ShortFile, NotRegularFile, CannotOpen, CannotRead, CannotWrite };

struct Result {
    bool ok = true;
    QString error;  // the message for the person when !ok
    ErrorKind kind = ErrorKind::None;
};

// Reads a data file into image offsets 16 to 159. A file longer than 144 bytes
// gives its first 144; a shorter one fails with kPrematureEnd and the image is
// left untouched. Only a regular file is read: a pipe, device or folder is refused
// at once, never waited on. Does not change BufferEmpty.
Result read(const QString& path, ImageBuffer& image);
Result readBlock(const QString& path, QByteArray& block);

// Writes image offsets 16 to 159 through a save file: the old file stays as it was
// unless all 144 bytes reached the disk. Refuses to replace anything but a regular file.
Result write(const QString& path, const ImageBuffer& image);
Result writeBlock(const QString& path, const QByteArray& block);

// A folder, a device or a pipe: never read (it could wait for ever or never end)
// and never replaced by a file on saving. Whatever the program writes whole (data
// files, backups, reports) refuses such a name.
bool existsButNotRegular(const QString& path);

// Writes every byte, trying again after a short write; false when a write takes
// nothing or fails. A file opened unbuffered then says why it stopped (a full
// disk) in its errorString(); buffered, Qt 6.4 only says "Unknown error".
bool writeAll(QIODevice& file, const QByteArray& bytes);

// The name shown in the caption: the part after the last path separator, cut to
// "..." and its last 40 characters when longer than 40.
QString captionName(const QString& path);

}  // namespace datafile
