#pragma once
// The branding of the program: the splash label, its font, the logo and the
// company's name and contact lines. They come from an optional plain-text file
// beside the program, or from the built-in defaults when there is none.
//
// File format, one item per line, lines taken whole:
//   ! any number of leading comment lines starting with "!"
//   splash lines: label text, font name, font size, font style, logo file or NULL
//   ! one separator line starting with "!"
//   company lines: short name, then contact lines
//   ! optional: a further "!" line ends the company block; the rest is ignored
#include <QString>
#include <QStringList>

// The branding file's name; it lives in the program's folder.
inline constexpr char kBrandingFileName[] = "Revora_Shift.cfg";

// The maker's copyright line, shown on the splash window and in the About box.
QString brandingCopyright();

struct Branding {
    // Splash items 1 to 5: label text, font name, font size, font style, logo file
    // (relative to the program's folder) or "NULL". After loading it always holds at
    // least those five items; further lines of the splash block are kept as read.
    QStringList SplashInfo;
    // Item 1 is the company's short name (never blank after loading), items 2 to n
    // the contact lines.
    QStringList CompanyInfo;
    // Folder the logo path is relative to.
    QString folder;
    // The branding file read, and what was wrong with the file as a whole (one
    // description each, as the error prompt shows it).
    QString filePath;
    QStringList faults;
    // Line of the file the splash block starts on, and the logo item's line (0 when
    // it is the built-in one).
    int firstSplashLine = 0;
    int logoLine = 0;

    QString companyName() const { return CompanyInfo.value(0); }

    // The splash label as the items say.
    QString labelText() const { return SplashInfo.value(0); }
    QString fontFamily() const { return SplashInfo.value(1); }
    double fontPointSize() const;
    bool bold() const;
    bool italic() const;
    // Absolute path of the logo picture; empty for "NULL" (no logo).
    QString logoPath() const;
    // True when the logo item is the built-in default one (the program may show a
    // picture of its own when that file is not installed).
    bool usesDefaultLogo() const;
};

// The built-in branding, used when there is no branding file.
Branding defaultBranding(const QString& folder = QString());

// Reads `folder`/Revora_Shift.cfg. Missing file: the built-in defaults, no faults.
// A faulty file never fails the start-up: what it gives is kept, the defaults fill
// the rest, and `faults` says what was wrong.
Branding readBranding(const QString& folder);

// The same for the first folder that holds the file: beside the program, else
// the installed data folder (shell/datapaths.h).
Branding loadBranding();

// What the error prompt says when the font size item is no usable size, or the logo
// file cannot be had; empty when the item is sound.
QString fontSizeFault(const Branding& branding);
QString logoFileFault(const Branding& branding);
// The logo fault for a reason found elsewhere (a file that is no picture).
QString logoFault(const Branding& branding, const QString& why);

// Font size item as a point size, or a negative number when it is no usable size.
double parseBrandingFontSize(const QString& text);

// The text of the About box.
QString aboutText(const QStringList& companyInfo);
