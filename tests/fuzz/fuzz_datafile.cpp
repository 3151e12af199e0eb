// Any file as a data file: a short one is refused and leaves the image as it was;
// otherwise exactly its first 144 bytes land at offsets 16 to 159 and nothing else
// changes. Writing the image back gives those bytes again.
#include "fuzzcheck.h"
#include "params/datafile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzzFile(QStringLiteral("input.dat"), data, size);
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    ImageBuffer image;
    for (int i = 0; i < kImageSize; ++i)
        image.EEPROMBuffer[size_t(i)] = uint8_t(i * 31 + 7);
    const ImageBuffer before = image;
    const datafile::Result result = datafile::read(path, image);
    FUZZ_EXPECT(result.ok == (size >= size_t(kConfigSize)));
    FUZZ_EXPECT(result.ok || (!result.error.isEmpty() && image.EEPROMBuffer == before.EEPROMBuffer));
    if (!result.ok)
        return 0;
    for (int i = 0; i < kImageSize; ++i) {
        const bool inBlock = i >= kConfigFirst && i <= kConfigLast;
        FUZZ_EXPECT(image.EEPROMBuffer[size_t(i)] == (inBlock ? data[i - kConfigFirst] : before.EEPROMBuffer[size_t(i)]));
    }

    const QString copy = path + QStringLiteral(".copy");
    FUZZ_EXPECT(datafile::write(copy, image).ok);
    QByteArray block;
    FUZZ_EXPECT(datafile::readBlock(copy, block).ok);
    FUZZ_EXPECT(block == bytes.left(kConfigSize));
    return 0;
}
