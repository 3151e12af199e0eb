#pragma once
// What differs between two configurations, as the person reads them: each
// parameter whose value differs, as a typed row (its section, its label and both
// values in user units), and the bytes whose differing bits no parameter explains
// (the reserved gaps, carried-over flag bits, a value two bytes print alike).
#include "params/paramset.h"
#include "report/content.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

namespace report {

struct Difference {
    QString name;     // the parameter's key, as in Entry
    QString section;  // the heading it belongs under
    QString label;    // without a colon, also for switches ("Alarm 1 Enable")
    QString unit;     // as in Entry
    QString left;     // the values as a comparison shows them (Entry::shown)
    QString right;
};

struct ByteDifference {
    int offset = 0;  // image offset, 16 to 159
    uint8_t left = 0;
    uint8_t right = 0;
};

struct Comparison {
    QList<Difference> parameters;  // in report order
    QList<ByteDifference> bytes;   // in offset order
    bool same() const { return parameters.isEmpty() && bytes.isEmpty(); }
};

// Compares two decoded configurations. Each parameter set must be the decode of
// its image (the bytes no parameter explains are found from the images).
Comparison compare(const ImageBuffer& leftImage, const ParameterSet& left, const ImageBuffer& rightImage,
                   const ParameterSet& right);

// The comparison as lines, one per difference: "Label: left -> right", then
// "Offset N (name): left -> right" for the bytes, where `offsetName` names what
// the byte holds ("Offset N: ..." without it).
QStringList differenceLines(const Comparison& comparison, const std::function<QString(int)>& offsetName = {});

}  // namespace report
