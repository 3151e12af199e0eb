// Any file as a data file: a short one is refused and leaves the image as it was; otherwise exactly its first
// 144 bytes land at offsets 16 to 159 and nothing else changes. Writing the image back gives those bytes again.
#include "fuzzcheck.h"
#include "params/datafile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzzFile(QStringLiteral("input.dat"), data, size);
    ImageBuffer image;
    for (int i = 0; i < kImageSize; ++i)
        image.EEPROMBuffer[size_t(i)] = uint8_t(i * 31 + 7);
    const ImageBuffer before = image;
    const datafile::Result result = datafile::read(path, image);
    FUZZ_EXPECT(result.ok == (size >= size_t(kConfigSize)));
    FUZZ_EXPECT(result.ok || (!result.error.isEmpty() && image.EEPROMBuffer == before.EEPROMBuffer));
    if (!result.ok)
        return 0;
    for (int i = 0; i < kImageSize; ++i)
        FUZZ_EXPECT(image.EEPROMBuffer[size_t(i)]
                    == (i >= kConfigFirst && i <= kConfigLast ? data[i - kConfigFirst] : before.EEPROMBuffer[size_t(i)]));
    QByteArray block;
    FUZZ_EXPECT(datafile::write(path + ".copy", image).ok && datafile::readBlock(path + ".copy", block).ok);
    FUZZ_EXPECT(block == QByteArray(reinterpret_cast<const char*>(data), kConfigSize));
    return 0;
}
