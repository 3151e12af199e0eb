// Any 144 bytes as a configuration block: decoding either refuses and changes nothing, or gives a parameter
// set that encodes, and one pass of decode and encode reaches a fixed point (a saved file reads back as saved).
#include "fuzzcheck.h"
#include "params/codec.h"
#include "params/defaults.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < size_t(kConfigSize))
        return 0;
    ImageBuffer image;
    // Bytes beyond the block fill the rest of the image, which the codec must leave alone.
    for (size_t i = 0; i < size_t(kImageSize); ++i)
        image.EEPROMBuffer[i] = data[(i * 7) % size];
    image.setConfigBlock(QByteArray(reinterpret_cast<const char*>(data), kConfigSize));
    ParameterSet params;
    assignDefaults(params);
    const ParameterSet before = params;
    const CodecResult decoded = UpdateParams(image, params);
    FUZZ_EXPECT(decoded.ok == checkImage(image).ok);
    FUZZ_EXPECT(decoded.ok || (params == before && !decoded.message().isEmpty()));
    if (!decoded)
        return 0;
    ImageBuffer saved = image;
    FUZZ_EXPECT(UpdateEEPROM(params, saved).ok);
    for (int i = 0; i < kImageSize; ++i)
        FUZZ_EXPECT((i >= kConfigFirst && i <= kConfigLast) || saved.EEPROMBuffer[size_t(i)] == image.EEPROMBuffer[size_t(i)]);
    // The user text comes back padded with spaces; the field shows it trimmed.
    ParameterSet reread;
    FUZZ_EXPECT(UpdateParams(saved, reread).ok && reread.UserData.trimmed() == params.UserData.trimmed());
    reread.UserData = params.UserData;
    FUZZ_EXPECT(reread == params);
    ImageBuffer resaved = saved;
    FUZZ_EXPECT(UpdateParams(saved, reread).ok && UpdateEEPROM(reread, resaved).ok && resaved.EEPROMBuffer == saved.EEPROMBuffer);
    return 0;
}
