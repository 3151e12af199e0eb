#include "core/appinfo.h"
#include "core/branding.h"
#include "core/datapaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

// The faults are shown by the window, in the person's language where it has one.
struct Say {
    Q_DECLARE_TR_FUNCTIONS(Branding)
};

// The maker's details used when no branding file is installed.
const char kDefaultLabel[] = "Velmont Sensors";
const char kDefaultFont[] = "Arial";
const char kDefaultFontSize[] = "28";
const char kDefaultStyle[] = "bold italic";
const char kDefaultLogo[] = "Velmont_Sensors_Logo.gif";
const char* const kDefaultCompany[] = {
    "Velmont Sensors",
    "Velmont Sensors, Inc.",
    "1420 Harbor Industrial Way",
    "Portland, OR 97210",
    "Phone: (503) 555-0147",
    "www.velmontsensors.example",
};

constexpr int kSplashItems = 5;  // label, font, size, style, logo
// The About box shows every company line; more than this would run off the screen.
constexpr int kMaxCompanyLines = 20;
constexpr double kMinFontSize = 4;
constexpr double kMaxFontSize = 144;
// A branding file is a dozen short lines; anything this large is some other file
// (or a device that never ends), and is not read on.
constexpr qint64 kMaxFileSize = 1024 * 1024;

QStringList defaultSplash()
{
    return {QString::fromLatin1(kDefaultLabel), QString::fromLatin1(kDefaultFont),
            QString::fromLatin1(kDefaultFontSize), QString::fromLatin1(kDefaultStyle),
            QString::fromLatin1(kDefaultLogo)};
}

QStringList defaultCompany()
{
    QStringList list;
    for (const char* line : kDefaultCompany)
        list << QString::fromLatin1(line);
    return list;
}

bool isNullLogo(const QString& item)
{
    return item.trimmed().toUpper() == QLatin1String("NULL");
}

// The file was written on Windows more often than not: a byte order mark says
// the encoding (Notepad's "Unicode" is UTF-16 with one); without one, UTF-8 is
// tried and Latin-1 taken for the usual ANSI file, so a "©" or an accented street
// name survives either way.
QString decodeText(const QByteArray& bytes)
{
    QString text;
    if (const auto marked = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*marked);
        text = decoder.decode(bytes);
    } else {
        QStringDecoder utf8(QStringDecoder::Utf8);
        text = utf8.decode(bytes);
        if (utf8.hasError())
            text = QString::fromLatin1(bytes);
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

// Lines as a line reader returns them: no line terminators (LF or CR LF), no empty
// line after a final terminator; otherwise every line whole, spaces included.
QStringList splitLines(const QString& text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines;
}

bool isSeparator(const QString& line)
{
    return line.startsWith(QLatin1Char('!'));
}

QString quoted(const QString& s)
{
    return QLatin1Char('"') + s + QLatin1Char('"');
}

// What the error prompt says for a fault of the file as a whole.
QString fileFault(const QString& path, const QString& what)
{
    return Say::tr("The branding file %1 %2\n\nCorrect the file as the user manual describes (Help > "
                   "Contents, \"Branding file\") and choose Retry, or choose Ignore to go on with the "
                   "built-in branding where the file gives nothing usable.")
        .arg(QDir::toNativeSeparators(path), what);
}

}  // namespace

QString brandingCopyright()
{
    return Say::tr("Copyright \u00A9 2004-2024 Velmont Sensors, Inc. All rights reserved.");
}

double parseBrandingFontSize(const QString& text)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));  // "10,5" from a decimal-comma locale
    bool ok = false;
    const double size = t.toDouble(&ok);
    if (!ok || !(size >= kMinFontSize && size <= kMaxFontSize))
        return -1;
    return size;
}

double Branding::fontPointSize() const
{
    const double size = parseBrandingFontSize(SplashInfo.value(2));
    return size > 0 ? size : QString::fromLatin1(kDefaultFontSize).toDouble();
}

bool Branding::bold() const
{
    return SplashInfo.value(3).contains(QLatin1String("bold"), Qt::CaseInsensitive);
}

bool Branding::italic() const
{
    return SplashInfo.value(3).contains(QLatin1String("italic"), Qt::CaseInsensitive);
}

QString Branding::logoPath() const
{
    const QString item = SplashInfo.value(4);
    if (item.isEmpty() || isNullLogo(item))
        return QString();
    // The file is usually written on Windows: "images\logo.gif" means a subfolder.
    QString relative = item;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir::cleanPath(QDir(folder).filePath(relative));
}

bool Branding::usesDefaultLogo() const
{
    return SplashInfo.value(4) == QLatin1String(kDefaultLogo);
}

Branding defaultBranding(const QString& folder)
{
    Branding b;
    b.SplashInfo = defaultSplash();
    b.CompanyInfo = defaultCompany();
    b.folder = folder;
    return b;
}

Branding readBranding(const QString& folder)
{
    const QString path = QDir(folder).filePath(QString::fromLatin1(kBrandingFileName));
    Branding b = defaultBranding(folder);
    const QFileInfo info(path);
    if (!info.exists())
        return b;
    b.filePath = path;

    // Only a regular file is opened: a pipe would wait for a writer for good, and a
    // device such as /dev/zero never ends.
    QString why;
    QFile file(path);
    QByteArray bytes;
    if (info.isDir())
        why = Say::tr("is a folder, not a text file.");
    else if (!info.isFile())
        why = Say::tr("is not a regular file (it is a pipe, a device or the like), so it is not read.");
    else if (!file.open(QIODevice::ReadOnly))
        why = Say::tr("cannot be read (%1).").arg(file.errorString());
    else if ((bytes = file.read(kMaxFileSize + 1)).size() > kMaxFileSize)
        why = Say::tr("is larger than %1 KB, far too large for a branding file.").arg(kMaxFileSize / 1024);
    if (!why.isEmpty()) {
        b.faults << fileFault(path, why);
        return b;
    }
    file.close();
    const QStringList lines = splitLines(decodeText(bytes));

    QStringList splash;
    QStringList company;
    int i = 0;
    const int n = int(lines.size());
    while (i < n && isSeparator(lines[i]))
        ++i;
    b.firstSplashLine = i + 1;
    while (i < n && !isSeparator(lines[i]))
        splash << lines[i++];
    const bool hasSeparator = i < n;
    if (hasSeparator) {
        ++i;  // the separator itself is dropped
        while (i < n && !isSeparator(lines[i]))
            company << lines[i++];
        // Whatever follows a further "!" line is deliberately ignored.
    }

    QStringList faults;
    if (n == 0) {
        faults << Say::tr("is empty.");
    } else if (!hasSeparator) {
        faults << Say::tr(
            "has no separator line (a line starting with \"!\") after the splash lines, "
            "so it gives no company details.");
    }
    if (n > 0 && splash.isEmpty()) {
        faults << Say::tr("has no splash lines (label, font name, font size, font style, logo).");
    } else if (!splash.isEmpty() && splash.size() < kSplashItems) {
        faults << Say::tr(
                      "has only %1 of the 5 splash lines (label, font name, font size, font style, logo).")
                      .arg(splash.size());
    }

    // What the file gives is kept; the built-in items fill the rest.
    const QStringList defaults = defaultSplash();
    const int given = int(splash.size());
    for (int k = int(splash.size()); k < kSplashItems; ++k)
        splash << defaults[k];
    b.SplashInfo = splash;
    if (given >= kSplashItems)
        b.logoLine = b.firstSplashLine + 4;

    if (hasSeparator && company.isEmpty())
        faults << Say::tr("has no company lines after the separator; the built-in company details are used.");
    if (company.size() > kMaxCompanyLines) {
        faults << Say::tr("has %1 company lines; only the first %2 are used.")
                      .arg(company.size())
                      .arg(kMaxCompanyLines);
        company = company.mid(0, kMaxCompanyLines);
    }
    if (company.isEmpty()) {
        company = defaultCompany();
    } else if (company.first().trimmed().isEmpty()) {
        // The main window's caption and the About box need a company name.
        const QString name = b.labelText().trimmed().isEmpty() ? QString::fromLatin1(kDefaultLabel)
                                                               : b.labelText().trimmed();
        faults << Say::tr("has an empty company name (the first line after the separator); %1 is used.")
                      .arg(quoted(name));
        company[0] = name;
    }
    b.CompanyInfo = company;

    for (const QString& fault : faults)
        b.faults << fileFault(path, fault);
    return b;
}

QString fontSizeFault(const Branding& b)
{
    if (parseBrandingFontSize(b.SplashInfo.value(2)) > 0)
        return QString();
    return Say::tr("The font size %1 on line %2 of the branding file %3 is not a number from %4 to %5."
                   "\n\nCorrect the line and choose Retry, or choose Ignore to show the label at %6 points.")
        .arg(quoted(b.SplashInfo.value(2)))
        .arg(b.firstSplashLine + 2)
        .arg(QDir::toNativeSeparators(b.filePath))
        .arg(kMinFontSize)
        .arg(kMaxFontSize)
        .arg(QString::fromLatin1(kDefaultFontSize));
}

QString logoFault(const Branding& b, const QString& why)
{
    QString where;
    if (b.logoLine > 0)
        where = Say::tr(" (line %1 of the branding file %2)").arg(b.logoLine).arg(QDir::toNativeSeparators(b.filePath));
    return Say::tr("The logo picture %1%2 %3.\n\nPut the picture there or correct the line, then choose "
                   "Retry; or choose Ignore to start without a logo.")
        .arg(QDir::toNativeSeparators(b.logoPath()), where, why);
}

QString logoFileFault(const Branding& b)
{
    const QString logo = b.logoPath();
    // The maker's own logo stands in with a built-in picture when it is not installed.
    if (logo.isEmpty() || b.usesDefaultLogo())
        return QString();
    const QFileInfo info(logo);
    if (!info.exists())
        return logoFault(b, Say::tr("does not exist"));
    if (!info.isFile())
        return logoFault(b, Say::tr("is not a file"));
    if (!info.isReadable())
        return logoFault(b, Say::tr("cannot be read"));
    return QString();
}

Branding loadBranding()
{
    return readBranding(datapaths::folderOf(QString::fromLatin1(kBrandingFileName)));
}

QString aboutText(const QStringList& companyInfo)
{
    // The first item is never missing after loading; the fallback only guards a
    // caller that hands in an empty list.
    const QString name = companyInfo.isEmpty() ? QString::fromLatin1(kDefaultLabel) : companyInfo.first();
    QString text = name + QStringLiteral(" Revora Shift Version ") + appinfo::longVersion() + QStringLiteral("\n") + brandingCopyright()
                   + QStringLiteral("\n\n");
    for (int i = 1; i < companyInfo.size(); ++i)
        text += companyInfo[i] + QLatin1Char('\n');
    return text;
}
