// The branding file reader, without a display.
#include "core/branding.h"
#include "core/datapaths.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

const QString kDefaultSplash = "Velmont Sensors|Arial|28|bold italic|Velmont_Sensors_Logo.gif";
const QByteArray kGood = "Acme\nArial\n20\nbold\nNULL\n!\nAcme\n";
constexpr int kMiB = 1024 * 1024;

class TestBranding : public QObject {
    Q_OBJECT
private slots:
    // File content -> splash and company lines ("|" between, "<built-in>": the built-in ones), fault words.
    void reading_data()
    {
        QTest::addColumn<QByteArray>("file");  // "<folder>": a folder in its place
        QTest::addColumn<QString>("splash");
        QTest::addColumn<QString>("company");
        QTest::addColumn<QString>("faults");

        const QString noLogo = "Acme|Arial|20|bold|NULL";
        QTest::newRow("comments, trailing block ignored") << "! c\n" + QByteArray(kGood).replace("!", "!s") + "12 Pit Lane\n!end\nignored\n"
                                                          << noLogo << "Acme|12 Pit Lane" << "";
        const QString muller = QString::fromUtf8("Acme|\u00A9 M\u00FCller");
        QTest::newRow("latin-1 text") << kGood + "\xA9 M\xFCller\n" << noLogo << muller << "";
        QTest::newRow("short splash block") << QByteArray("Acme\nTimes\n!\nAcme\n")
                                            << "Acme|Times|28|bold italic|Velmont_Sensors_Logo.gif" << "Acme" << "only 2 of the 5";
        const QByteArray splash = kGood.chopped(5);
        QTest::newRow("empty company name") << splash + "\nPhone: 1\n" << noLogo << "Acme|Phone: 1" << "company name";
        QTest::newRow("empty file") << QByteArray() << kDefaultSplash << "<built-in>" << "is empty";
        QTest::newRow("1 MiB read") << kGood + "!" + QByteArray(kMiB - kGood.size() - 1, 'x') << noLogo << "Acme" << "";
        // A logo that is missing is said with its line, counted from the file's first.
        QTest::newRow("missing logo") << QByteArray("!\n!\nAcme\nArial\n20\nbold\nno.gif\n!\nAcme\n")
                                      << "Acme|Arial|20|bold|no.gif" << "Acme" << "line 7 of";
        QTest::newRow("over 1 MiB refused") << kGood + QByteArray(kMiB - kGood.size() + 1, 'x') << kDefaultSplash
                                            << "<built-in>" << "too large";
        QTest::newRow("folder") << QByteArray("<folder>") << kDefaultSplash << "<built-in>" << "folder";
#ifdef Q_OS_UNIX
        QTest::newRow("pipe, not waited on") << QByteArray("<fifo>") << kDefaultSplash << "<built-in>" << "not a regular file";
#endif
    }

    void reading()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, company);
        QFETCH(QString, faults);
        QTemporaryDir dir;
        const QString path = dir.filePath(QString::fromLatin1(kBrandingFileName));
        if (file == "<folder>")
            QVERIFY(QDir().mkpath(path));
#ifdef Q_OS_UNIX
        else if (file == "<fifo>")
            QVERIFY(mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
#endif
        else
            writeFile(path, file);
        const Branding b = readBranding(dir.path());

        QTEST(b.SplashInfo.join('|'), "splash");
        QCOMPARE(b.CompanyInfo, company == "<built-in>" ? defaultBranding().CompanyInfo : company.split('|'));
        // Each fault on its own, in the order of the load, naming the file and what to do.
        const QStringList shown = (b.faults + QStringList{fontSizeFault(b), logoFileFault(b)}).filter(QRegularExpression("."));
        const QStringList words = faults.split('|', Qt::SkipEmptyParts);
        QCOMPARE(shown.size(), words.size());
        for (int i = 0; i < words.size(); ++i)
            QVERIFY2(shown[i].contains(words[i]) && shown[i].contains("Retry") && shown[i].contains(QDir::toNativeSeparators(path)),
                     qPrintable(shown[i]));
    }

    void splashItems()
    {
        const QList<std::pair<QString, double>> sizes = {{"10,5", 10.5}, {"4", 4.0},   {"144", 144.0}, {"3.9", -1.0},
                                                         {"1e6", -1.0},  {"12pt", -1.0}, {"nan", -1.0}};
        for (const auto& [text, size] : sizes)
            QVERIFY2(parseBrandingFontSize(text) == size, qPrintable(text));
        // The logo item is relative to the program's folder; NULL, in any case, or empty is no logo.
        Branding b = defaultBranding(QStringLiteral("/opt/revora"));
        const QList<std::pair<QString, QString>> logos = {
            {"nUlL", ""}, {"", ""}, {"images\\logo.gif", "/opt/revora/images/logo.gif"}, {"NULL.gif", "/opt/revora/NULL.gif"}};
        for (const auto& [item, path] : logos) {
            b.SplashInfo[4] = item;
            QCOMPARE(b.logoPath(), path);
        }
    }

#ifdef Q_OS_WIN
    // On Windows the program's files sit beside the .exe: its folder first, no Unix data folder made up.
    void programFolder()
    {
        const QString folder = QStringLiteral("C:/Program Files/Revora Shift");
        const QStringList folders = datapaths::searchFolders(folder);
        QCOMPARE(folders.first(), folder);
        QVERIFY2(!folders.join(QLatin1Char(';')).contains(QLatin1String("share")), qPrintable(folders.join(';')));
    }
#endif
};

QTEST_GUILESS_MAIN(TestBranding)
#include "tst_branding.moc"
