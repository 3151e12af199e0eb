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
const QByteArray kGood = "Acme\nArial\n20\nbold\nNULL\n!\nAcme\n";

QStringList items(const QString& joined) { return joined.split(QLatin1Char('|')); }

}  // namespace

class TestBranding : public QObject {
    Q_OBJECT
private slots:
    void missingFileGivesDefaults();
    void reading_data();
    void reading();
    void problemNamesFileAndEveryFault();
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
    QCOMPARE(b.companyName(), QStringLiteral("Velmont Sensors"));
    QVERIFY(b.CompanyInfo.value(4).startsWith(QStringLiteral("Phone: ")));
    QVERIFY(b.faults.isEmpty() && b.problem().isEmpty());
    QCOMPARE(b.fontPointSize(), 28.0);
    QVERIFY(b.bold() && b.italic() && b.usesDefaultLogo());
}

// File content -> splash and company lines after loading ("|" between lines,
// "<built-in>" for the built-in company lines) and what each fault mentions.
// A file "present.gif" lies beside the branding file.
void TestBranding::reading_data()
{
    QTest::addColumn<QByteArray>("file");  // "<folder>": a folder in the file's place
    QTest::addColumn<QString>("splash");
    QTest::addColumn<QString>("company");
    QTest::addColumn<QString>("faults");

    const QString noLogo = "Acme|Arial|20|bold|NULL";
    QTest::newRow("comments, trailing block ignored")
        << QByteArray("! comment\n!another\nAcme\nTimes\n14\nItalic\npresent.gif\n!sep\nAcme Racing\nAcme Ltd\n"
                      "12 Pit Lane\n!end\nignored\n")
        << "Acme|Times|14|Italic|present.gif" << "Acme Racing|Acme Ltd|12 Pit Lane" << "";
    QTest::newRow("windows line ends") << QByteArray("!c\r\nAcme\r\nArial\r\n20\r\nbold\r\nNULL\r\n!\r\nAcme\r\nPhone: 1")
                                       << noLogo << "Acme|Phone: 1" << "";
    QTest::newRow("lines taken whole") << QByteArray("  Acme  \nArial\n20\n\nNULL\n!\nAcme  \n\n  street\n")
                                       << "  Acme  |Arial|20||NULL" << "Acme  ||  street" << "";
    QTest::newRow("latin-1 text") << kGood + "\xA9 M\xFCller GmbH\n" << noLogo
                                  << QString::fromUtf8("Acme|\u00A9 M\u00FCller GmbH") << "";
    QTest::newRow("utf-8 with byte order mark") << "\xEF\xBB\xBF" + kGood + "\xC2\xA9 M\xC3\xBCller GmbH\n" << noLogo
                                                << QString::fromUtf8("Acme|\u00A9 M\u00FCller GmbH") << "";

    QTest::newRow("no separator") << QByteArray("Acme\nArial\n20\nbold\nNULL\nAcme Racing\n")
                                  << noLogo + "|Acme Racing" << "<built-in>" << "no separator";
    QTest::newRow("bad font size, line named") << QByteArray("!c\nAcme\nArial\nhuge\nbold\nNULL\n!\nAcme\n")
                                               << "Acme|Arial|28|bold|NULL" << "Acme" << "\"huge\" (line 4)";
    QTest::newRow("missing logo, file named") << QByteArray("Acme\nArial\n20\nbold\nacme.gif\n!\nAcme\n") << noLogo
                                              << "Acme" << "acme.gif (line 5) does not exist";
    QTest::newRow("logo is a folder") << QByteArray("Acme\nArial\n20\nbold\n.\n!\nAcme\n") << noLogo << "Acme"
                                      << "is not a file";
    QTest::newRow("short splash block") << QByteArray("Acme\nTimes\n!\nAcme\n")
                                        << "Acme|Times|28|bold italic|Velmont_Sensors_Logo.gif" << "Acme"
                                        << "only 2 of the 5";
    QTest::newRow("empty company block") << QByteArray("Acme\nArial\n20\nbold\nNULL\n!\n!\nAcme\n") << noLogo
                                         << "<built-in>" << "no company lines";
    QTest::newRow("empty company name") << QByteArray("Acme\nArial\n20\nbold\nNULL\n!\n\nPhone: 1\n") << noLogo
                                        << "Acme|Phone: 1" << "company name";
    QTest::newRow("only the first 20 company lines") << QByteArray("Acme\nArial\n20\nbold\nNULL\n!\n")
                                                            + QByteArray("line\n").repeated(25)
                                                     << noLogo << QStringList(20, "line").join('|')
                                                     << "only the first 20";
    QTest::newRow("empty file") << QByteArray() << kDefaultSplash.join('|') << "<built-in>" << "is empty";
    QTest::newRow("too large") << kGood + QByteArray(70 * 1024, 'x') << kDefaultSplash.join('|') << "<built-in>"
                               << "too large";
    QTest::newRow("folder") << QByteArray("<folder>") << kDefaultSplash.join('|') << "<built-in>" << "folder";
    QTest::newRow("three faults") << QByteArray("Acme\nArial\nxx\nbold\nnope.png\n") << "Acme|Arial|28|bold|NULL"
                                  << "<built-in>" << "no separator|\"xx\"|nope.png";
}

void TestBranding::reading()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, company);
    QFETCH(QString, faults);
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromLatin1(kBrandingFileName));
    QFile f(path);
    if (file == "<folder>")
        QVERIFY(QDir().mkpath(path));
    else
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(file) == file.size());
    f.close();
    QFile logo(dir.filePath(QStringLiteral("present.gif")));
    QVERIFY(logo.open(QIODevice::WriteOnly));
    const Branding b = readBranding(dir.path());

    QTEST(b.SplashInfo.join('|'), "splash");
    QCOMPARE(b.CompanyInfo, company == "<built-in>" ? defaultBranding().CompanyInfo : items(company));
    QVERIFY(!b.companyName().trimmed().isEmpty());
    const QStringList words = faults.split('|', Qt::SkipEmptyParts);
    QCOMPARE(b.faults.size(), words.size());
    for (const QString& w : words)
        QVERIFY2(b.faults.join('\n').contains(w), qPrintable(b.faults.join('\n')));
    QCOMPARE(b.problem().isEmpty(), words.isEmpty());
}

void TestBranding::problemNamesFileAndEveryFault()
{
    QTemporaryDir dir;
    QFile f(dir.filePath(QString::fromLatin1(kBrandingFileName)));
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write("Acme\nArial\nxx\nbold\nnope.png\n") > 0);
    f.close();
    const Branding b = readBranding(dir.path());
    const QString problem = b.problem();
    QVERIFY(problem.contains(QDir::toNativeSeparators(dir.filePath("Revora_Shift.cfg"))));
    QVERIFY(problem.contains("3 faults"));
    for (const QString& fault : b.faults)
        QVERIFY(problem.contains(fault));
    QVERIFY(problem.contains("delete it"));  // and says what to do
}

void TestBranding::style()
{
    Branding b = defaultBranding();
    const QList<std::pair<QString, QString>> cases = {
        {"bold", "bold"}, {"Bold Italic", "bold italic"}, {"iTaLiC bOlD", "bold italic"}, {"Regular", ""}};
    for (const auto& [style, expected] : cases) {
        b.SplashInfo[3] = style;
        QCOMPARE(QStringList({b.bold() ? "bold" : "", b.italic() ? "italic" : ""}).join(' ').trimmed(), expected);
    }
}

void TestBranding::fontSize_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("size");  // -1: not a usable size
    QTest::newRow("decimal comma") << "10,5" << 10.5;
    QTest::newRow("smallest") << "4" << 4.0;
    QTest::newRow("largest") << "144" << 144.0;
    QTest::newRow("too small") << "3.9" << -1.0;
    QTest::newRow("too large") << "1e6" << -1.0;
    QTest::newRow("number with unit") << "12pt" << -1.0;
    QTest::newRow("empty") << "" << -1.0;
    QTest::newRow("not a number") << "nan" << -1.0;
}

void TestBranding::fontSize()
{
    QFETCH(QString, text);
    QTEST(parseBrandingFontSize(text), "size");
}

void TestBranding::logoPath_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("relative");  // expected path below the folder; "" for no logo
    QTest::newRow("NULL, any case") << "nUlL" << "";
    QTest::newRow("empty") << "" << "";
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
    QTEST(aboutText(company), "text");
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
