// The branding file reader and the About box text, without a display.
#include "support/scriptedprompter.h"
#include "shell/about.h"
#include "shell/branding.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QStringList kDefaultSplash = {"Velmont Sensors", "Arial", "28", "bold italic", "Velmont_Sensors_Logo.gif"};

// Writes the branding file (raw bytes) into `dir`.
void writeBranding(const QTemporaryDir& dir, const QByteArray& bytes)
{
    QFile f(dir.filePath(QString::fromLatin1(kBrandingFileName)));
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

void touch(const QString& path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("GIF89a");
}

}  // namespace

class TestBranding : public QObject {
    Q_OBJECT
private slots:
    void missingFileGivesDefaults();
    void reading_data();
    void reading();
    void problemNamesFileAndEveryFault();
    void unusualFiles_data();
    void unusualFiles();
    void style_data();
    void style();
    void fontSize_data();
    void fontSize();
    void logoPath_data();
    void logoPath();
    void about_data();
    void about();
    void aboutThroughPrompter();
};

void TestBranding::missingFileGivesDefaults()
{
    QTemporaryDir dir;
    const Branding b = readBranding(dir.path());
    QCOMPARE(b.SplashInfo, kDefaultSplash);
    QCOMPARE(b.CompanyInfo.size(), 6);
    QCOMPARE(b.companyName(), QStringLiteral("Velmont Sensors"));
    QVERIFY(b.CompanyInfo[4].startsWith(QStringLiteral("Phone: ")));
    QVERIFY(b.faults.isEmpty());
    QVERIFY(b.problem().isEmpty());
    QCOMPARE(b.fontPointSize(), 28.0);
    QVERIFY(b.bold() && b.italic());
    QVERIFY(b.usesDefaultLogo());
}

// File content -> lists after loading and what the faults mention. Logo files
// named "present*.gif" are created beside the branding file.
void TestBranding::reading_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("splash");
    QTest::addColumn<QStringList>("company");
    QTest::addColumn<QStringList>("faultWords");  // one entry per expected fault

    const QString longText = QString(3000, QLatin1Char('W'));

    QTest::newRow("good file, comments, trailing block ignored")
        << QByteArray("! comment\n!another\nAcme\nTimes\n14\nItalic\nNULL\n!sep\nAcme Racing\nAcme Ltd\n"
                      "12 Pit Lane\n!end\nignored\nalso ignored\n")
        << QStringList{"Acme", "Times", "14", "Italic", "NULL"}
        << QStringList{"Acme Racing", "Acme Ltd", "12 Pit Lane"} << QStringList{};
    QTest::newRow("present logo, no trailing newline")
        << QByteArray("Acme\nArial\n20\nbold\npresent.gif\n!\nAcme")
        << QStringList{"Acme", "Arial", "20", "bold", "present.gif"} << QStringList{"Acme"} << QStringList{};
    QTest::newRow("windows line ends")
        << QByteArray("!c\r\nAcme\r\nArial\r\n20\r\nbold\r\nNULL\r\n!\r\nAcme\r\nPhone: 1\r\n")
        << QStringList{"Acme", "Arial", "20", "bold", "NULL"} << QStringList{"Acme", "Phone: 1"}
        << QStringList{};
    QTest::newRow("lines are taken whole, spaces kept")
        << QByteArray("  Acme  \nArial\n20\n\nNULL\n!\nAcme  \n  street\n")
        << QStringList{"  Acme  ", "Arial", "20", "", "NULL"} << QStringList{"Acme  ", "  street"}
        << QStringList{};
    QTest::newRow("empty lines inside the company block are kept")
        << QByteArray("Acme\nArial\n20\nbold\nNULL\n!\nAcme\n\nPhone: 1\n\n")
        << QStringList{"Acme", "Arial", "20", "bold", "NULL"} << QStringList{"Acme", "", "Phone: 1", ""}
        << QStringList{};
    QTest::newRow("more than five splash lines are kept")
        << QByteArray("Acme\nArial\n20\nbold\nNULL\nextra\n!\nAcme\n")
        << QStringList{"Acme", "Arial", "20", "bold", "NULL", "extra"} << QStringList{"Acme"} << QStringList{};
    QTest::newRow("long texts")
        << (longText.toLatin1() + "\nArial\n20\nbold\nNULL\n!\n" + longText.toLatin1() + "\n" + longText.toLatin1() + "\n")
        << QStringList{longText, "Arial", "20", "bold", "NULL"} << QStringList{longText, longText} << QStringList{};

    QTest::newRow("no separator: company details from the defaults")
        << QByteArray("Acme\nArial\n20\nbold\nNULL\nAcme Racing\n")
        << QStringList{"Acme", "Arial", "20", "bold", "NULL", "Acme Racing"}
        << QStringList{"<built-in>"} << QStringList{"no separator"};
    QTest::newRow("bad font size: default size, line named")
        << QByteArray("!c\nAcme\nArial\nhuge\nbold\nNULL\n!\nAcme\n")
        << QStringList{"Acme", "Arial", "28", "bold", "NULL"} << QStringList{"Acme"}
        << QStringList{"\"huge\" (line 4)"};
    QTest::newRow("empty font size")
        << QByteArray("Acme\nArial\n\nbold\nNULL\n!\nAcme\n")
        << QStringList{"Acme", "Arial", "28", "bold", "NULL"} << QStringList{"Acme"} << QStringList{"font size"};
    QTest::newRow("missing logo: no logo, file named")
        << QByteArray("Acme\nArial\n20\nbold\nacme.gif\n!\nAcme\n")
        << QStringList{"Acme", "Arial", "20", "bold", "NULL"} << QStringList{"Acme"}
        << QStringList{"acme.gif (line 5) does not exist"};
    QTest::newRow("logo is a folder")
        << QByteArray("Acme\nArial\n20\nbold\n.\n!\nAcme\n")
        << QStringList{"Acme", "Arial", "20", "bold", "NULL"} << QStringList{"Acme"} << QStringList{"is not a file"};
    QTest::newRow("short splash block: defaults fill the rest")
        << QByteArray("Acme\nTimes\n!\nAcme\n")
        << QStringList{"Acme", "Times", "28", "bold italic", "Velmont_Sensors_Logo.gif"} << QStringList{"Acme"}
        << QStringList{"only 2 of the 5"};
    QTest::newRow("empty company block")
        << QByteArray("Acme\nArial\n20\nbold\nNULL\n!\n!\nAcme\n")
        << QStringList{"Acme", "Arial", "20", "bold", "NULL"} << QStringList{"<built-in>"}
        << QStringList{"no company lines"};
    QTest::newRow("empty company name: the splash label stands in")
        << QByteArray("Acme\nArial\n20\nbold\nNULL\n!\n\nPhone: 1\n")
        << QStringList{"Acme", "Arial", "20", "bold", "NULL"} << QStringList{"Acme", "Phone: 1"}
        << QStringList{"company name"};
    QTest::newRow("empty first line starts the splash block")
        << QByteArray("\nArial\n20\nbold\nNULL\n!\n   \n")
        << QStringList{"", "Arial", "20", "bold", "NULL"} << QStringList{"Velmont Sensors"}
        << QStringList{"company name"};
    QTest::newRow("too many company lines: the first 20 kept")
        << (QByteArray("Acme\nArial\n20\nbold\nNULL\n!\n") + QByteArray("line\n").repeated(25))
        << QStringList{"Acme", "Arial", "20", "bold", "NULL"} << QStringList(20, "line")
        << QStringList{"only the first 20"};
    QTest::newRow("empty file") << QByteArray() << kDefaultSplash << QStringList{"<built-in>"}
                                << QStringList{"is empty"};
    QTest::newRow("comments only")
        << QByteArray("!a\n!b\n") << kDefaultSplash << QStringList{"<built-in>"}
        << QStringList{"no separator", "no splash lines"};
    QTest::newRow("three faults, one message")
        << QByteArray("Acme\nArial\nxx\nbold\nnope.png\n")
        << QStringList{"Acme", "Arial", "28", "bold", "NULL"} << QStringList{"<built-in>"}
        << QStringList{"no separator", "\"xx\"", "nope.png"};
}

void TestBranding::reading()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, splash);
    QFETCH(QStringList, company);
    QFETCH(QStringList, faultWords);

    QTemporaryDir dir;
    writeBranding(dir, file);
    touch(dir.filePath(QStringLiteral("present.gif")));
    const Branding b = readBranding(dir.path());

    QCOMPARE(b.SplashInfo, splash);
    if (company == QStringList{"<built-in>"})
        QCOMPARE(b.CompanyInfo, defaultBranding().CompanyInfo);
    else
        QCOMPARE(b.CompanyInfo, company);
    QVERIFY(!b.companyName().trimmed().isEmpty());

    QCOMPARE(b.faults.size(), faultWords.size());
    for (int i = 0; i < faultWords.size(); ++i)
        QVERIFY2(b.faults.join('\n').contains(faultWords[i]), qPrintable(b.faults.join('\n')));
    QCOMPARE(b.problem().isEmpty(), faultWords.isEmpty());
}

void TestBranding::problemNamesFileAndEveryFault()
{
    QTemporaryDir dir;
    writeBranding(dir, "Acme\nArial\nxx\nbold\nnope.png\n");
    const Branding b = readBranding(dir.path());
    const QString problem = b.problem();
    QVERIFY(problem.contains(QDir::toNativeSeparators(dir.filePath("Revora_Shift.cfg"))));
    QVERIFY(problem.contains("3 faults"));
    for (const QString& fault : b.faults)
        QVERIFY(problem.contains(fault));
    QVERIFY(problem.contains("delete it"));  // and says what to do
}

// Files that are no branding text at all: built-in branding and one fault.
void TestBranding::unusualFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("faultWords");
    QTest::newRow("folder") << "folder" << "folder";
    QTest::newRow("too large") << "large" << "too large";
    QTest::newRow("latin-1 text") << "latin1" << "";
    QTest::newRow("utf-8 with byte order mark") << "bom" << "";
}

void TestBranding::unusualFiles()
{
    QFETCH(QString, kind);
    QFETCH(QString, faultWords);
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromLatin1(kBrandingFileName));
    if (kind == "folder")
        QVERIFY(QDir().mkpath(path));
    else if (kind == "large")
        writeBranding(dir, "Acme\nArial\n20\nbold\nNULL\n!\nAcme\n" + QByteArray(70 * 1024, 'x'));
    else if (kind == "latin1")
        writeBranding(dir, "Acme\nArial\n20\nbold\nNULL\n!\nAcme\n\xA9 M\xFCller GmbH\n");
    else if (kind == "bom")
        writeBranding(dir, "\xEF\xBB\xBF" "Acme\nArial\n20\nbold\nNULL\n!\nAcme\n\xC2\xA9 M\xC3\xBCller GmbH\n");

    const Branding b = readBranding(dir.path());
    if (faultWords.isEmpty()) {
        QVERIFY2(b.faults.isEmpty(), qPrintable(b.faults.join('\n')));
        QCOMPARE(b.SplashInfo.first(), QStringLiteral("Acme"));
        QCOMPARE(b.CompanyInfo.value(1), QStringLiteral("\u00A9 M\u00FCller GmbH"));
    } else {
        QCOMPARE(b.faults.size(), 1);
        QVERIFY2(b.faults.first().contains(faultWords), qPrintable(b.faults.first()));
        QCOMPARE(b.SplashInfo, kDefaultSplash);
        QCOMPARE(b.CompanyInfo, defaultBranding().CompanyInfo);
    }
}

void TestBranding::style_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::newRow("bold") << "bold" << true << false;
    QTest::newRow("BOLD") << "BOLD" << true << false;
    QTest::newRow("Bold Italic") << "Bold Italic" << true << true;
    QTest::newRow("italic bold, any case") << "iTaLiC bOlD" << true << true;
    QTest::newRow("italic") << "Italic" << false << true;
    QTest::newRow("empty") << "" << false << false;
    QTest::newRow("regular") << "Regular" << false << false;
}

void TestBranding::style()
{
    QFETCH(QString, style);
    Branding b = defaultBranding();
    b.SplashInfo[3] = style;
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QCOMPARE(b.bold(), bold);
    QCOMPARE(b.italic(), italic);
}

void TestBranding::fontSize_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("size");  // -1: not a usable size
    QTest::newRow("28") << "28" << 28.0;
    QTest::newRow("spaces") << " 12 " << 12.0;
    QTest::newRow("decimal point") << "10.5" << 10.5;
    QTest::newRow("decimal comma") << "10,5" << 10.5;
    QTest::newRow("smallest") << "4" << 4.0;
    QTest::newRow("largest") << "144" << 144.0;
    QTest::newRow("too small") << "3.9" << -1.0;
    QTest::newRow("zero") << "0" << -1.0;
    QTest::newRow("negative") << "-12" << -1.0;
    QTest::newRow("too large") << "1e6" << -1.0;
    QTest::newRow("words") << "large" << -1.0;
    QTest::newRow("number with unit") << "12pt" << -1.0;
    QTest::newRow("empty") << "" << -1.0;
    QTest::newRow("not a number") << "nan" << -1.0;
}

void TestBranding::fontSize()
{
    QFETCH(QString, text);
    QFETCH(double, size);
    QCOMPARE(parseBrandingFontSize(text), size);
}

void TestBranding::logoPath_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("relative");  // expected path below the folder; "" for no logo
    QTest::newRow("NULL") << "NULL" << "";
    QTest::newRow("null, any case") << "nUlL" << "";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("plain name") << "logo.gif" << "logo.gif";
    QTest::newRow("windows subfolder") << "images\\logo.gif" << "images/logo.gif";
    QTest::newRow("NULL inside a name") << "NULL.gif" << "NULL.gif";
}

void TestBranding::logoPath()
{
    QFETCH(QString, item);
    QFETCH(QString, relative);
    Branding b = defaultBranding(QStringLiteral("/opt/revora"));
    b.SplashInfo[4] = item;
    QCOMPARE(b.logoPath(), relative.isEmpty() ? QString() : QStringLiteral("/opt/revora/") + relative);
}

void TestBranding::about_data()
{
    const QString head = QStringLiteral(" Revora Shift Version 1.00\n") + brandingCopyright() + QStringLiteral("\n\n");
    QTest::addColumn<QStringList>("company");
    QTest::addColumn<QString>("text");
    QTest::newRow("single item: no contact lines") << QStringList{"Acme"} << QString("Acme" + head);
    QTest::newRow("contact lines, one per line")
        << QStringList{"Acme", "Acme Ltd", "Phone: 1"} << QString("Acme" + head + "Acme Ltd\nPhone: 1\n");
    QTest::newRow("empty contact line kept") << QStringList{"Acme", "", "x"} << QString("Acme" + head + "\nx\n");
    QTest::newRow("empty list still names a company") << QStringList{} << QString("Velmont Sensors" + head);
}

void TestBranding::about()
{
    QFETCH(QStringList, company);
    QFETCH(QString, text);
    QCOMPARE(aboutText(company), text);
}

void TestBranding::aboutThroughPrompter()
{
    const Branding b = defaultBranding();
    ScriptedPrompter prompter;
    prompter.expectBox(aboutText(b.CompanyInfo), QStringLiteral("About"), PromptButtons::OK, PromptIcon::Information,
                       PromptAnswer::OK);
    showAbout(prompter, b.CompanyInfo);
    QVERIFY_PROMPTS(prompter);
    QVERIFY(prompter.shown().first().startsWith(QStringLiteral("About: Velmont Sensors Revora Shift Version 1.00\n")));
    QVERIFY(prompter.shown().first().contains(QStringLiteral("\nPhone: ")));
}

QTEST_GUILESS_MAIN(TestBranding)
#include "tst_branding.moc"
