#pragma once
// The EEPROM image codec: parameter set to image (UpdateEEPROM) and image back to
// parameter set (UpdateParams). Both check everything first and change nothing on
// failure, so a save or an upload can never write a mix of old and new values.
#include "params/paramset.h"

#include <QString>

struct CodecResult {
    bool ok = true;
    QString parameter;  // the parameter that does not fit
    int offset = 0;     // its image offset
    int value = 0;      // its value
    bool decoding = false;  // the image read does not fit: what held it is gone already
    QString message() const;  // one line for the person: what, where, what to do
    explicit operator bool() const { return ok; }
};

// Writes offsets 16 to 159 of the image from the parameter set, the user text from
// params.UserData (the window copies its user text field there first). Rebuilds
// the flag bytes from their Booleans, keeping the carried-over bits, and forces the
// GPO off in multi-stage mode without gear detection. Reserved gaps, offsets 0-15
// and 160-511 are left untouched. BufferEmpty is not changed.
CodecResult UpdateEEPROM(ParameterSet& params, ImageBuffer& image);

// Reads offsets 16 to 159 into the parameter set and derives the TPS percents.
// It also applies what the editor refresh does to the parameters, from the image
// alone (applySwitchRules): with multi-stage off, gear detection ends off. The GPO
// reads as stored, also where the next encode turns it off. A two-byte value with
// its high byte at 128 or more does not fit: the result names it and the parameter
// set is left exactly as it was.
CodecResult UpdateParams(const ImageBuffer& image, ParameterSet& params);

// What an upload of a configuration writes: the parameter set after UpdateEEPROM
// (the GPO rule applied, the flag bytes rebuilt) and the image it encodes to over
// the loaded one, whose reserved bytes and carried-over bits it keeps.
struct UploadImage {
    CodecResult result;  // when it failed, `params` and `image` are the ones given
    ParameterSet params;
    ImageBuffer image;
};
// The upload programs `image`, and both compares (the window's and the command
// line's) compare the controller with it, so a compare right after an upload finds
// nothing. The user text is params.UserData as it stands: the window puts its text
// box there first, the command line the text as the box would show it.
UploadImage imageToUpload(const ParameterSet& params, const ImageBuffer& loaded);

// Checks an image without decoding it into anything.
CodecResult checkImage(const ImageBuffer& image);

// The user text as the window shows it, without leading and trailing blanks. Every
// path that stores or prints the text of a loaded image takes it this way, so an
// upload or a report from the command line gives what the window would.
QString shownUserText(const QString& userData);
