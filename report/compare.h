#pragma once
// What differs between two configurations, as the person reads them: each
// parameter whose printed value differs, with the report's label and both values
// in user units, and the bytes whose differing bits no parameter explains (the
// reserved gaps, carried-over flag bits, a value two bytes print alike).
#include "params/paramset.h"
#include "report/content.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

namespace report {

struct Difference {
    QString name;   // the parameter's name, as in Entry
    QString label;  // the report's label with its colon; empty for a switch line
    QString left;   // the value in user units, as printed; the user text in quotes,
    QString right;  // so that a difference in blanks shows
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

// The comparison as lines, one per difference: "Label left -> right" (a switch:
// "left -> right"), then "Offset N (name): left -> right" for the bytes, where
// `offsetName` names what the byte holds ("Offset N: ..." without it).
QStringList differenceLines(const Comparison& comparison, const std::function<QString(int)>& offsetName = {});

}  // namespace report
