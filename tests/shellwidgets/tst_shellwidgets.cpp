// The splash window, its logo check, the start-up prompt and the help window,
// on the offscreen platform.
#include "support/scriptedprompter.h"
#include "shell/branding.h"
#include "shell/help.h"
#include "shell/splash.h"

#include <QDesktopServices>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

void writePng(const QString& path, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkBlue);
    QVERIFY(image.save(path, "PNG"));
}

}  // namespace

// Takes the desktop's "open this file" requests in place of a real viewer.
class DesktopStub : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

class TestShellWidgets : public QObject {
    Q_OBJECT
private slots:
    void splashClosesItselfAfterItsTime();
    void splashShowsBranding_data();
    void splashShowsBranding();
    void runSplashShowsOneMessage_data();
    void runSplashShowsOneMessage();
    void helpWindowShowsManual();
    void helpFileBesideProgramGoesToDesktop();
};

void TestShellWidgets::splashClosesItselfAfterItsTime()
{
    frmSplash splash(defaultBranding(), 150);
    QCOMPARE(frmSplash(defaultBranding()).tmrSplashUnload->interval(), 4000);
    QVERIFY(!splash.tmrSplashUnload->isActive());  // runs from when it is seen
    QElapsedTimer clock;
    clock.start();
    // exec() returns only when the window closed itself; a guard closes it with
    // Rejected if the timer never fires.
    QTimer::singleShot(5000, &splash, &QDialog::reject);
    QCOMPARE(splash.exec(), int(QDialog::Accepted));
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(elapsed >= 140 && elapsed < 3000, qPrintable(QString::number(elapsed)));
}

void TestShellWidgets::splashShowsBranding_data()
{
    QTest::addColumn<QByteArray>("file");  // empty: no branding file
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("font");
    QTest::addColumn<QSize>("logoSize");  // invalid: no logo shown

    QTest::newRow("no file: built-in label, font and logo")
        << QByteArray() << "Velmont Sensors" << "28 bold italic" << builtInLogo().size();
    QTest::newRow("file with png logo") << QByteArray("Acme Racing\nTimes New Roman\n16\nItalic\nlogo.png\n!\nAcme\n")
                                        << "Acme Racing" << "16 italic" << QSize(120, 40);
    QTest::newRow("large logo is scaled down") << QByteArray("Acme\nArial\n20\n\nbig.png\n!\nAcme\n") << "Acme" << "20"
                                               << QSize(480, 240);
    QTest::newRow("long label wraps")
        << QByteArray(QByteArray(40, 'x') + QByteArray(" word").repeated(60) + "\nArial\n20\nbold\nNULL\n!\nAcme\n")
        << QString(QString(40, 'x') + QString(" word").repeated(60)) << "20 bold" << QSize();
    QTest::newRow("markup in the label is shown as text")
        << QByteArray("<b>Acme</b> & Co\nArial\n20\nbold\nNULL\n!\nAcme\n") << "<b>Acme</b> & Co" << "20 bold" << QSize();
}

void TestShellWidgets::splashShowsBranding()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, label);
    QFETCH(QSize, logoSize);
    QTemporaryDir dir;
    writePng(dir.filePath("logo.png"), QSize(120, 40));
    writePng(dir.filePath("big.png"), QSize(2000, 1000));
    if (!file.isEmpty())
        writeFile(dir.filePath(QString::fromLatin1(kBrandingFileName)), file);
    const Branding b = readBranding(dir.path());
    QVERIFY2(b.faults.isEmpty(), qPrintable(b.problem()));

    frmSplash splash(b, 60000);
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    QCOMPARE(splash.objectName(), QStringLiteral("frmRevora_Splash"));
    const QFont font = splash.lblCompanyName->font();
    QCOMPARE(splash.lblCompanyName->text(), label);
    QTEST(QString::number(font.pointSizeF()) + (font.bold() ? " bold" : "") + (font.italic() ? " italic" : ""), "font");
    QCOMPARE(splash.lblCompanyName->textFormat(), Qt::PlainText);
    QCOMPARE(splash.lblProductName->text(), QStringLiteral("Revora Shift"));
    QCOMPARE(splash.lblVersion->text(), QStringLiteral("Version 1.0"));
    QCOMPARE(splash.lblCopyright->text(), brandingCopyright());
    QCOMPARE(splash.imgLogo->isVisible(), logoSize.isValid());
    if (logoSize.isValid())
        QCOMPARE(splash.imgLogo->pixmap().size(), logoSize);
    // A name that fits is not broken over two lines.
    const QFontMetrics metrics(font);
    if (metrics.horizontalAdvance(label) < 500)
        QVERIFY2(splash.lblCompanyName->height() < 2 * metrics.lineSpacing(),
                 qPrintable(QString::number(splash.lblCompanyName->height())));
    // Nothing the file says may make the window larger than a screen.
    QVERIFY(splash.width() < 1000 && splash.height() < 1000);
    QVERIFY(splash.tmrSplashUnload->isActive());
}

// The logo is checked by its content; every fault of the file comes in one message
// before the splash shows, and the splash still closes by itself.
void TestShellWidgets::runSplashShowsOneMessage_data()
{
    QTest::addColumn<QByteArray>("file");    // empty: no branding file
    QTest::addColumn<QByteArray>("logo");    // logo.gif's bytes; empty: a PNG picture
    QTest::addColumn<QString>("faults");     // what the message says, "|" between; empty: no message
    const QByteArray gifLogo = "Acme\nArial\n20\nbold\nlogo.gif\n!\nAcme\n";
    const QString noPicture = "logo.gif (line 5)|not a picture this program can show";
    QTest::newRow("no file") << QByteArray() << QByteArray("not a picture") << "";
    QTest::newRow("png named .gif") << gifLogo << QByteArray() << "";
    QTest::newRow("text named .gif") << gifLogo << QByteArray("this is no picture") << noPicture;
    QTest::newRow("truncated gif header") << gifLogo << QByteArray("GIF89a\x10") << noPicture;
    QTest::newRow("three faults") << QByteArray("Acme\nArial\nbig\nbold\nlogo.gif\n") << QByteArray("not a picture")
                                  << "3 faults|" + noPicture;
}

void TestShellWidgets::runSplashShowsOneMessage()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, logo);
    QFETCH(QString, faults);
    QTemporaryDir dir;
    if (logo.isEmpty())
        writePng(dir.filePath("logo.gif"), QSize(30, 20));
    else
        writeFile(dir.filePath("logo.gif"), logo);
    if (!file.isEmpty())
        writeFile(dir.filePath(QString::fromLatin1(kBrandingFileName)), file);
    Branding b = readBranding(dir.path());

    ScriptedPrompter prompter;
    if (!faults.isEmpty())
        prompter.expectBox(QString(), QStringLiteral("Branding File"), PromptButtons::OK, PromptIcon::Exclamation,
                           PromptAnswer::OK);
    QElapsedTimer clock;
    clock.start();
    runSplash(b, prompter, 30);
    QVERIFY(clock.elapsed() < 3000);
    QVERIFY_PROMPTS(prompter);
    for (const QString& words : faults.split('|', Qt::SkipEmptyParts))
        QVERIFY2(prompter.shown().first().contains(words), qPrintable(prompter.shown().first()));
    // A logo that cannot be shown is dropped; whatever the file held, there is a company name.
    if (!file.isEmpty())
        QCOMPARE(b.SplashInfo.value(4), faults.isEmpty() ? QStringLiteral("logo.gif") : QStringLiteral("NULL"));
    QVERIFY(!b.companyName().isEmpty());
}

void TestShellWidgets::helpWindowShowsManual()
{
    QTemporaryDir emptyFolder;  // no help file beside the program
    QWidget mainWindow;
    QDialog* help = showHelp(&mainWindow, emptyFolder.path());
    QVERIFY(help && help->isVisible() && !help->isModal());
    auto* browser = help->findChild<QTextBrowser*>(QStringLiteral("txtManual"));
    QVERIFY(browser);
    const QString text = browser->document()->toPlainText();
    for (const char* topic : {"Revora Shift User Manual", "dialout", "Download From EEPROM", "Edit GPO Parameters",
                              "When the port will not open", "Revora_Shift.cfg"})
        QVERIFY2(text.contains(QLatin1String(topic)), topic);
    // Every link inside the manual leads to an anchor.
    QFile manual(QStringLiteral(":/help/manual.html"));
    QVERIFY(manual.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(manual.readAll());
    int links = 0;
    for (auto it = QRegularExpression(QStringLiteral("href=\"#([^\"]+)\"")).globalMatch(html); it.hasNext(); ++links) {
        const QString anchor = it.next().captured(1);
        QVERIFY2(html.contains(QStringLiteral("name=\"%1\"").arg(anchor)), qPrintable(anchor));
    }
    QVERIFY(links >= 10);
    // A second Contents command brings up the same window.
    QCOMPARE(showHelp(&mainWindow, emptyFolder.path()), help);
}

void TestShellWidgets::helpFileBesideProgramGoesToDesktop()
{
    QTemporaryDir folder;
    writeFile(folder.filePath(QString::fromLatin1(kHelpFileName)), "ITSF");
    DesktopStub desktop;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &desktop, "open");
    QWidget mainWindow;
    QDialog* help = showHelp(&mainWindow, folder.path());
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(help, nullptr);
    QCOMPARE(desktop.opened.size(), 1);
    QCOMPARE(desktop.opened.first().toLocalFile(), folder.filePath(QString::fromLatin1(kHelpFileName)));
}

QTEST_MAIN(TestShellWidgets)
#include "tst_shellwidgets.moc"
