#pragma once
// The commands of revora-shift-cli. Each takes the arguments after its name and
// returns the process exit status; what they are called and how they are used is
// in commandtable.h.
#include <QString>
#include <QStringList>

int cmdDefaults(const QStringList& args);
int cmdShow(const QStringList& args);
int cmdDiff(const QStringList& args);
int cmdDownload(const QStringList& args);
int cmdUpload(const QStringList& args);
int cmdCompare(const QStringList& args);
int cmdPorts(const QStringList& args);
// Only where the windowed parts are built (it prints with them).
int cmdReport(const QStringList& args);

// The first line of a comparison's output: which side is which.
QString comparisonHeading(const QString& left, const QString& right);
