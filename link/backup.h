#pragma once
// A copy of the controller's block kept before an upload changes it.
#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace backup {

// "2024-05-01_134502.dat" for a backup taken at that local time.
QString fileName(const QDateTime& when);

// Writes the 144-byte block into `folder` (made when missing) as fileName(when):
// complete or not at all, and never over an existing file. Returns the path
// written, or empty with `error` set to a sentence saying what went wrong.
QString write(const QString& folder, const QDateTime& when, const QByteArray& block, QString* error);

}  // namespace backup
