#pragma once
// The rules of every validated field of the editors, as data, and the one function
// that applies a rule to what the person typed. Windows only call these.
#include "params/paramset.h"

#include <QMap>
#include <QString>
#include <QStringList>

namespace fieldrules {

struct Rule {
    QString field;       // the control's name, e.g. "txtLaunchRPM"
    QString title;       // title of its warning boxes (the English source; validate gives it translated)
    bool whole = true;   // whole: the floor of the number; otherwise as typed
    double minimum = 0;
    double maximum = 0;
    QString unit;        // the user unit, for tooltips ("RPM", "MPH", "V", "%", "s", "ms", "Hz")
};

// The rule of a field; nullptr when the field has none.
const Rule* find(const QString& field);

// Every field that has a rule, main window first, then the alarms, GPO and VSS
// alarm dialogs.
QStringList fieldNames();

// "1000 to 20000 RPM": the range and unit, from the same rule the validator applies.
QString tooltip(const QString& field);

struct Outcome {
    QString text;                      // what the field shows now (from the stored value)
    QString warning;                   // empty, or the warning to show (exclamation, OK)
    QString warningTitle;              // the rule's box title
    QMap<QString, QString> otherTexts; // other fields whose text the rule rewrote, by name
    // A follow-up's finding about another editor's value, shown after `warning`
    // (exclamation, OK): what is wrong and which field to correct.
    QString notice;
    QString noticeTitle;
    // Not empty: the conversion failed (goes to the error prompt); `params`, the
    // field and its partners are unchanged and `text` is what the field showed before.
    QString error;
};

// Reads `typed` by the field's rule, clamps it with at most one warning, converts it
// to the stored unit, writes the parameter(s) into `params`, runs the field's
// follow-ups (calibration order, GPO throttle points, partner fields) and returns
// what the window shows. A text the person did not edit (`edited` false) that is
// exactly what the field shows for the stored value keeps that value when the
// stored value itself lies in the field's range (the display rounds; passing through
// a field must not change it); the follow-ups still run. The throttle percent
// fields always re-derive their count. A number that runs into a comma ("1,2",
// "6,500") changes nothing: the warning says to type a decimal point. An unknown
// field changes nothing and returns `typed`.
Outcome validate(const QString& field, const QString& typed, ParameterSet& params, bool edited = false);

// The text a field shows for what `params` holds.
QString display(const QString& field, const ParameterSet& params);

}  // namespace fieldrules
