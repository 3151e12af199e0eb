#include "params/codec.h"

#include "params/calibration.h"
#include "params/layout.h"
#include "params/switches.h"

#include <algorithm>
#include <QCoreApplication>

namespace {

// Shown by the window in the person's language; the command-line tool, which installs
// no translator, keeps these words.
struct Say {
    Q_DECLARE_TR_FUNCTIONS(datafile)
};

}  // namespace

QString CodecResult::message() const
{
    if (ok)
        return QString();
    // An encoding stops before anything changes. A block read from a file or the
    // controller is checked once the old configuration has made room for it.
    return Say::tr("Overflow: %1 at image offset %2 does not fit (value %3). %4")
        .arg(parameter)
        .arg(offset)
        .arg(value)
        .arg(decoding ? Say::tr("This configuration cannot be loaded; use another file, or upload a good "
                                "configuration to the controller.")
                      : Say::tr("The data was left unchanged; correct the value or use another file."));
}

namespace {

using layout::Encoding;

CodecResult failure(const char* name, int offset, int value)
{
    CodecResult r;
    r.ok = false;
    r.parameter = QLatin1String(name);
    r.offset = offset;
    r.value = value;
    return r;
}

// The largest value a checked encoding holds; 0 for encodings that take whatever
// their member holds.
int largest(Encoding e)
{
    switch (e) {
    case Encoding::Byte:
        return 255;
    case Encoding::Word:
        return 32767;
    default:
        return 0;
    }
}

void put(ImageBuffer& image, const layout::Field& f, int v)
{
    auto& b = image.EEPROMBuffer;
    b[f.offset] = static_cast<uint8_t>(v & 255);
    if (f.encoding == Encoding::Word) {
        b[f.offset + 1] = static_cast<uint8_t>(v / 256);
    } else if (f.encoding == Encoding::Colour) {
        b[f.offset + 1] = static_cast<uint8_t>((v >> 8) & 255);
        b[f.offset + 2] = static_cast<uint8_t>((v >> 16) & 255);
    }
}

int get(const ImageBuffer& image, const layout::Field& f)
{
    const auto& b = image.EEPROMBuffer;
    switch (f.encoding) {
    case Encoding::Word:
        return static_cast<int16_t>(b[f.offset] + 256 * b[f.offset + 1]);
    case Encoding::Colour:
        return b[f.offset] + 256 * b[f.offset + 1] + 65536 * b[f.offset + 2];
    default:
        return b[f.offset];
    }
}

}  // namespace

CodecResult UpdateEEPROM(ParameterSet& p, ImageBuffer& image)
{
    // Check everything before writing anything: a value that does not fit must not
    // leave a half-written image behind.
    for (const layout::Field& f : layout::fields()) {
        const int max = largest(f.encoding);
        const int v = f.member.get(p);
        if (max && (v < 0 || v > max))
            return failure(f.name, f.offset, v);
    }

    // The parameter itself is switched off, not just the image.
    applyGpoInputRule(p);
    // The flag bytes are images of their Booleans; the alarm flag bytes carry
    // nothing over, the others keep their undefined bits.
    for (const layout::Field& f : layout::fields())
        if (f.encoding == Encoding::FreshFlags)
            f.member.set(p, 0);
    for (const layout::FlagBit& bit : layout::flagBits()) {
        uint8_t& flags = p.*bit.flags;
        flags = static_cast<uint8_t>(p.*bit.member ? flags | bit.mask : flags & ~bit.mask);
    }

    for (const layout::Field& f : layout::fields())
        put(image, f, f.member.get(p));

    // The user text: one byte per character, padded with spaces, the first 32 kept.
    // The window only lets printable ASCII in; anything else becomes '?' rather than
    // a byte the controller would show as garbage.
    const QByteArray text = p.UserData.toLatin1();
    for (int i = 0; i < kUserDataLength; ++i)
        image.EEPROMBuffer[kUserDataFirst + i] = i < text.size() ? static_cast<uint8_t>(text[i]) : 32;
    return {};
}

CodecResult checkImage(const ImageBuffer& image)
{
    for (const layout::Field& f : layout::fields()) {
        if (f.encoding == Encoding::Word && image.EEPROMBuffer[f.offset + 1] >= 128) {
            CodecResult r =
                failure(f.name, f.offset, image.EEPROMBuffer[f.offset] + 256 * image.EEPROMBuffer[f.offset + 1]);
            r.decoding = true;
            return r;
        }
    }
    return {};
}

CodecResult UpdateParams(const ImageBuffer& image, ParameterSet& out)
{
    if (CodecResult r = checkImage(image); !r)
        return r;

    ParameterSet p = out;
    for (const layout::Field& f : layout::fields())
        f.member.set(p, get(image, f));
    for (const layout::FlagBit& bit : layout::flagBits())
        p.*bit.member = (p.*bit.flags & bit.mask) != 0;

    // Unprintable bytes are dropped, not replaced.
    p.UserData.clear();
    for (int i = 0; i < kUserDataLength; ++i) {
        const uint8_t c = image.EEPROMBuffer[kUserDataFirst + i];
        if (c >= 32 && c <= 126)
            p.UserData += QLatin1Char(static_cast<char>(c));
    }

    if (p.TPSFullscale == p.TPSZero) {
        p.GPOOffTPSPercent = p.GPOOnTPSPercent = p.Alarm1MinTPSPercent = p.Alarm2MinTPSPercent = 0;
    } else {
        using calibration::TPSCountToPercent;
        p.GPOOffTPSPercent = TPSCountToPercent(p.GPOOffTPS, p.TPSZero, p.TPSFullscale);
        p.GPOOnTPSPercent = TPSCountToPercent(p.GPOOnTPS, p.TPSZero, p.TPSFullscale);
        // The alarms' minimum throttle never shows below 0 %: a count of 0 means no condition.
        p.Alarm1MinTPSPercent = std::max(0.0f, TPSCountToPercent(p.Alarm1MinTPS, p.TPSZero, p.TPSFullscale));
        p.Alarm2MinTPSPercent = std::max(0.0f, TPSCountToPercent(p.Alarm2MinTPS, p.TPSZero, p.TPSFullscale));
    }

    // What the editor shows follows from the image alone.
    applySwitchRules(p);

    out = p;
    return {};
}

UploadImage imageToUpload(const ParameterSet& params, const ImageBuffer& loaded)
{
    UploadImage up{{}, params, loaded};
    up.result = UpdateEEPROM(up.params, up.image);
    return up;
}

QString shownUserText(const QString& userData) { return userData.trimmed(); }
