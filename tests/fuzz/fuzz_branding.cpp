// Any file as the branding file: reading never fails the start-up, always gives the five splash items,
// a company name, a font size that reads as a size or as none, and faults that say what they are.
#include "fuzzcheck.h"
#include "core/branding.h"

#include <QFileInfo>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const Branding b = readBranding(QFileInfo(fuzzFile(QString::fromLatin1(kBrandingFileName), data, size)).path());
    FUZZ_EXPECT(b.SplashInfo.size() >= 5 && !b.companyName().trimmed().isEmpty());
    const double fontSize = parseBrandingFontSize(b.SplashInfo[2]);
    FUZZ_EXPECT(fontSize > 0 || fontSize < 0);  // not NaN, not zero
    for (const QString& fault : b.faults)
        FUZZ_EXPECT(!fault.trimmed().isEmpty());
    FUZZ_EXPECT(!aboutText(b.CompanyInfo).isEmpty());
    return 0;
}
