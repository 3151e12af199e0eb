#include "shell/appinfo.h"
#include "shell/branding.h"
#include "shell/datapaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

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
// A branding file is a dozen short lines; anything this large is some other file.
constexpr qint64 kMaxFileSize = 64 * 1024;

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

// The file was written on Windows more often than not: accept UTF-8 (with or
// without a byte order mark) and fall back to Latin-1 for the usual ANSI file, so
// a "©" or an accented street name survives either way.
QString decodeText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
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

QString problemText(const QString& path, const QStringList& faults)
{
    QString text = QStringLiteral("The branding file %1 has a fault:").arg(QDir::toNativeSeparators(path));
    if (faults.size() > 1)
        text = QStringLiteral("The branding file %1 has %2 faults:")
                   .arg(QDir::toNativeSeparators(path))
                   .arg(faults.size());
    for (const QString& fault : faults)
        text += QStringLiteral("\n- ") + fault;
    text += QStringLiteral(
        "\n\nThe built-in branding is used where the file gives nothing usable. "
        "Correct the file as the user manual describes (Help > Contents, \"Branding file\"), "
        "or delete it to use the built-in branding.");
    return text;
}

}  // namespace

QString Branding::problem() const
{
    return faults.isEmpty() ? QString() : problemText(filePath, faults);
}

QString brandingCopyright()
{
    return QStringLiteral("Copyright \u00A9 2004-2024 Velmont Sensors, Inc. All rights reserved.");
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

    QStringList faults;
    QFile file(path);
    if (info.isDir()) {
        faults << QStringLiteral("it is a folder, not a text file.");
    } else if (info.size() > kMaxFileSize) {
        faults << QStringLiteral("it is larger than %1 KB, far too large for a branding file.")
                      .arg(kMaxFileSize / 1024);
    } else if (!file.open(QIODevice::ReadOnly)) {
        faults << QStringLiteral("it cannot be read (%1).").arg(file.errorString());
    }
    b.filePath = path;
    if (!faults.isEmpty()) {
        b.faults = faults;
        return b;
    }

    const QStringList lines = splitLines(decodeText(file.readAll()));
    file.close();

    QStringList splash;
    QStringList company;
    int i = 0;
    const int n = int(lines.size());
    while (i < n && isSeparator(lines[i]))
        ++i;
    const int firstSplashLine = i + 1;  // 1-based line numbers for the messages
    while (i < n && !isSeparator(lines[i]))
        splash << lines[i++];
    const bool hasSeparator = i < n;
    if (hasSeparator) {
        ++i;  // the separator itself is dropped
        while (i < n && !isSeparator(lines[i]))
            company << lines[i++];
        // Whatever follows a further "!" line is deliberately ignored.
    }

    if (n == 0) {
        faults << QStringLiteral("it is empty.");
    } else if (!hasSeparator) {
        faults << QStringLiteral(
            "it has no separator line (a line starting with \"!\") after the splash lines, "
            "so it gives no company details.");
    }
    if (n > 0 && splash.isEmpty()) {
        faults << QStringLiteral("it has no splash lines (label, font name, font size, font style, logo).");
    } else if (!splash.isEmpty() && splash.size() < kSplashItems) {
        faults << QStringLiteral(
                      "its splash block has only %1 of the 5 lines (label, font name, font size, "
                      "font style, logo).")
                      .arg(splash.size());
    }

    // What the file gives is kept; the built-in items fill the rest.
    const QStringList defaults = defaultSplash();
    const int given = int(splash.size());
    for (int k = int(splash.size()); k < kSplashItems; ++k)
        splash << defaults[k];

    if (given > 2 && parseBrandingFontSize(splash[2]) < 0) {
        faults << QStringLiteral("the font size %1 (line %2) is not a number from %3 to %4; %5 points are used.")
                      .arg(quoted(splash[2]))
                      .arg(firstSplashLine + 2)
                      .arg(kMinFontSize)
                      .arg(kMaxFontSize)
                      .arg(defaults[2]);
        splash[2] = defaults[2];
    }

    b.SplashInfo = splash;
    const QString logo = b.logoPath();
    if (!logo.isEmpty() && !b.usesDefaultLogo()) {
        const QFileInfo logoInfo(logo);
        QString why;
        if (!logoInfo.exists())
            why = QStringLiteral("does not exist");
        else if (!logoInfo.isFile())
            why = QStringLiteral("is not a file");
        else if (!logoInfo.isReadable())
            why = QStringLiteral("cannot be read");
        if (!why.isEmpty()) {
            faults << QStringLiteral("the logo picture %1 (line %2) %3; no logo is shown.")
                          .arg(QDir::toNativeSeparators(logo))
                          .arg(firstSplashLine + 4)
                          .arg(why);
            b.SplashInfo[4] = QStringLiteral("NULL");
        }
    }
    if (given >= kSplashItems && !isNullLogo(b.SplashInfo[4]))
        b.logoLine = firstSplashLine + 4;

    if (hasSeparator && company.isEmpty()) {
        faults << QStringLiteral("it has no company lines after the separator; the built-in company details are used.");
    }
    if (company.size() > kMaxCompanyLines) {
        faults << QStringLiteral("it has %1 company lines; only the first %2 are used.")
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
        faults << QStringLiteral("the company name (the first line after the separator) is empty; %1 is used.")
                      .arg(quoted(name));
        company[0] = name;
    }
    b.CompanyInfo = company;

    b.faults = faults;
    return b;
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
