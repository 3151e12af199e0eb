// Any file as the branding file: reading never fails the start-up, always gives
// the five splash items and a company name, a font size that reads as a size or as none,
// and a fault that always says what it is.
#include "fuzzcheck.h"
#include "core/branding.h"

#include <QFileInfo>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzzFile(QString::fromLatin1(kBrandingFileName), data, size);
    const Branding b = readBranding(QFileInfo(path).path());
    FUZZ_EXPECT(b.SplashInfo.size() >= 5);
    FUZZ_EXPECT(!b.companyName().trimmed().isEmpty());
    // A bad font size is the splash's to report (with the built-in size on Ignore):
    // here it only must read as a size or as none.
    const double fontSize = parseBrandingFontSize(b.SplashInfo[2]);
    FUZZ_EXPECT(fontSize > 0 || fontSize < 0);
    for (const QString& fault : b.faults)
        FUZZ_EXPECT(!fault.trimmed().isEmpty());
    FUZZ_EXPECT(!aboutText(b.CompanyInfo).isEmpty());
    return 0;
}
