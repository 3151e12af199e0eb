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
    // The branding file read, and what was wrong with it (one sentence each). The
    // splash window adds a logo that is no picture it can show.
    QString filePath;
    QStringList faults;
    // Line of the file the logo item came from; 0 when it is the built-in one.
    int logoLine = 0;

    // Empty when the file was missing or sound; otherwise one message naming the
    // file, every fault found in it and what to do. The caller shows it.
    QString problem() const;

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

// Reads `folder`/Revora_Shift.cfg. Missing file: the built-in defaults, no problem.
// A faulty file never fails the start-up: what it gives is kept, the defaults fill
// the rest, and `problem` says what was wrong.
Branding readBranding(const QString& folder);

// The same for the first folder that holds the file: beside the program, else
// the installed data folder (shell/datapaths.h).
Branding loadBranding();

// Title of the message box that shows Branding::problem().
inline constexpr char kBrandingProblemTitle[] = "Branding File";

// Font size item as a point size, or a negative number when it is no usable size.
double parseBrandingFontSize(const QString& text);

// The text of the About box.
QString aboutText(const QStringList& companyInfo);
