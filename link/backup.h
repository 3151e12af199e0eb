#pragma once
// A copy of the controller's block kept before an upload changes it.
#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace backup {

// "2024-05-01_134502.dat" for a backup taken at that local time; the n-th one
// taken within that second (n from 2) is "2024-05-01_134502-n.dat".
QString fileName(const QDateTime& when, int n = 1);

// Writes the 144-byte block into `folder` (made when missing) as fileName(when),
// or the next free number of that second: complete or not at all, and never over
// an existing file. Returns the path written, or empty with `error` set to a
// sentence saying what went wrong and why.
QString write(const QString& folder, const QDateTime& when, const QByteArray& block, QString* error);

}  // namespace backup
