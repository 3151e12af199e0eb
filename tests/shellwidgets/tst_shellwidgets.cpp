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
#include <QMovie>
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
    void logoCheck_data();
    void logoCheck();
    void runSplashShowsOneMessage_data();
    void runSplashShowsOneMessage();
    void helpWindowShowsManual();
    void manualLinksLead_somewhere();
    void helpFileBesideProgramGoesToDesktop();
};

void TestShellWidgets::splashClosesItselfAfterItsTime()
{
    frmSplash splash(defaultBranding(), 150);
    QCOMPARE(splash.tmrSplashUnload->interval(), 150);
    QVERIFY(!splash.tmrSplashUnload->isActive());  // runs from when it is seen
    QElapsedTimer clock;
    clock.start();
    // exec() returns only when the window closed itself; a guard closes it with
    // Rejected if the timer never fires.
    QTimer::singleShot(5000, &splash, &QDialog::reject);
    const int result = splash.exec();
    const qint64 elapsed = clock.elapsed();
    QCOMPARE(result, int(QDialog::Accepted));
    QVERIFY2(elapsed >= 140, qPrintable(QString::number(elapsed)));
    QVERIFY2(elapsed < 3000, qPrintable(QString::number(elapsed)));
    QCOMPARE(frmSplash(defaultBranding()).tmrSplashUnload->interval(), 4000);
}

void TestShellWidgets::splashShowsBranding_data()
{
    QTest::addColumn<QByteArray>("file");  // empty: no branding file
    QTest::addColumn<QString>("label");
    QTest::addColumn<double>("pointSize");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<QSize>("logoSize");  // invalid: no logo shown

    QTest::newRow("no file: built-in label, font and logo")
        << QByteArray() << "Velmont Sensors" << 28.0 << true << true << builtInLogo().size();
    QTest::newRow("file with png logo")
        << QByteArray("Acme Racing\nTimes New Roman\n16\nItalic\nlogo.png\n!\nAcme\n") << "Acme Racing" << 16.0
        << false << true << QSize(120, 40);
    QTest::newRow("large logo is scaled down")
        << QByteArray("Acme\nArial\n20\n\nbig.png\n!\nAcme\n") << "Acme" << 20.0 << false << false
        << QSize(480, 240);
    QTest::newRow("NULL: no logo")
        << QByteArray("Acme\nArial\n20\nBOLD\nnull\n!\nAcme\n") << "Acme" << 20.0 << true << false << QSize();
    QTest::newRow("long label wraps")
        << QByteArray(QByteArray(40, 'x') + QByteArray(" word").repeated(60) + "\nArial\n20\nbold\nNULL\n!\nAcme\n")
        << QString(QString(40, 'x') + QString(" word").repeated(60)) << 20.0 << true << false << QSize();
    QTest::newRow("markup in the label is shown as text")
        << QByteArray("<b>Acme</b> & Co\nArial\n20\nbold\nNULL\n!\nAcme\n") << "<b>Acme</b> & Co" << 20.0 << true
        << false << QSize();
}

void TestShellWidgets::splashShowsBranding()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, label);
    QFETCH(double, pointSize);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
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
    QCOMPARE(splash.lblCompanyName->text(), label);
    QCOMPARE(splash.lblCompanyName->font().pointSizeF(), pointSize);
    QCOMPARE(splash.lblCompanyName->font().bold(), bold);
    QCOMPARE(splash.lblCompanyName->font().italic(), italic);
    QCOMPARE(splash.lblCompanyName->textFormat(), Qt::PlainText);
    QCOMPARE(splash.lblProductName->text(), QStringLiteral("Revora Shift"));
    QCOMPARE(splash.lblVersion->text(), QStringLiteral("Version 1.0"));
    QCOMPARE(splash.lblCopyright->text(), brandingCopyright());
    QCOMPARE(splash.imgLogo->isVisible(), logoSize.isValid());
    if (logoSize.isValid())
        QCOMPARE(splash.imgLogo->pixmap().size(), logoSize);
    // A name that fits is not broken over two lines.
    const QFontMetrics metrics(splash.lblCompanyName->font());
    if (metrics.horizontalAdvance(label) < 500)
        QVERIFY2(splash.lblCompanyName->height() < 2 * metrics.lineSpacing(),
                 qPrintable(QString::number(splash.lblCompanyName->height())));
    // Nothing the file says may make the window larger than a screen.
    QVERIFY(splash.width() < 1000 && splash.height() < 1000);
    QVERIFY(splash.tmrSplashUnload->isActive());
}

void TestShellWidgets::logoCheck_data()
{
    QTest::addColumn<QByteArray>("logoBytes");
    QTest::addColumn<bool>("shown");
    QTest::newRow("png") << QByteArray() << true;
    QTest::newRow("text file named .gif") << QByteArray("this is no picture") << false;
    QTest::newRow("empty file") << QByteArray("") << false;
    QTest::newRow("truncated gif header") << QByteArray("GIF89a\x10") << false;
}

void TestShellWidgets::logoCheck()
{
    QFETCH(QByteArray, logoBytes);
    QFETCH(bool, shown);
    QTemporaryDir dir;
    const QString logo = dir.filePath("logo.gif");
    if (shown)
        writePng(logo, QSize(30, 20));  // the reader goes by content, not by name
    else
        writeFile(logo, logoBytes);
    writeFile(dir.filePath(QString::fromLatin1(kBrandingFileName)), "Acme\nArial\n20\nbold\nlogo.gif\n!\nAcme\n");
    Branding b = readBranding(dir.path());
    QVERIFY(b.faults.isEmpty());
    checkLogoPicture(b);
    QCOMPARE(b.faults.isEmpty(), shown);
    QCOMPARE(b.SplashInfo[4], shown ? QStringLiteral("logo.gif") : QStringLiteral("NULL"));
    if (!shown)
        QVERIFY2(b.faults.first().contains("logo.gif (line 5)"), qPrintable(b.faults.first()));
    frmSplash splash(b, 60000);
    splash.show();
    QCOMPARE(splash.imgLogo->isVisible(), shown);
}

void TestShellWidgets::runSplashShowsOneMessage_data()
{
    QTest::addColumn<QByteArray>("file");  // empty: no branding file
    QTest::addColumn<int>("faults");
    QTest::newRow("no file: no message") << QByteArray() << 0;
    QTest::newRow("sound file: no message") << QByteArray("Acme\nArial\n20\nbold\nNULL\n!\nAcme\n") << 0;
    QTest::newRow("three faults: one message")
        << QByteArray("Acme\nArial\nbig\nbold\nlogo.gif\n") << 3;
}

void TestShellWidgets::runSplashShowsOneMessage()
{
    QFETCH(QByteArray, file);
    QFETCH(int, faults);
    QTemporaryDir dir;
    writeFile(dir.filePath("logo.gif"), "not a picture");  // found, but no picture: the splash's check
    if (!file.isEmpty())
        writeFile(dir.filePath(QString::fromLatin1(kBrandingFileName)), file);
    Branding b = readBranding(dir.path());

    ScriptedPrompter prompter;
    if (faults > 0)
        prompter.expectBox(QString(), QStringLiteral("Branding File"), PromptButtons::OK, PromptIcon::Exclamation,
                           PromptAnswer::OK);
    QElapsedTimer clock;
    clock.start();
    runSplash(b, prompter, 30);
    QVERIFY(clock.elapsed() < 3000);
    QVERIFY_PROMPTS(prompter);
    QCOMPARE(int(b.faults.size()), faults);
    if (faults > 0) {
        const QString shown = prompter.shown().first();
        QVERIFY(shown.contains(QString::number(faults) + " faults"));
        QVERIFY(shown.contains("not a picture this program can show"));
    }
    // Whatever the file held, the main window gets a company name.
    QVERIFY(!b.companyName().isEmpty());
}

void TestShellWidgets::helpWindowShowsManual()
{
    QTemporaryDir emptyFolder;  // no help file beside the program
    QWidget mainWindow;
    QDialog* help = showHelp(&mainWindow, emptyFolder.path());
    QVERIFY(help);
    QVERIFY(help->isVisible());
    QVERIFY(!help->isModal());
    auto* browser = help->findChild<QTextBrowser*>(QStringLiteral("txtManual"));
    QVERIFY(browser);
    const QString text = browser->document()->toPlainText();
    QVERIFY2(text.size() > 3000, qPrintable(QString::number(text.size())));
    for (const char* topic : {"Revora Shift User Manual", "dialout", "/dev/ttyUSB0", "Download From EEPROM",
                              "Upload To EEPROM", "Edit User Defined Alarms", "Edit GPO Parameters",
                              "Edit VSS (Speed) Alarm", "Print Parameters", "When the port will not open",
                              "Revora_Shift.cfg"})
        QVERIFY2(text.contains(QLatin1String(topic)), topic);
    // A second Contents command brings up the same window.
    QCOMPARE(showHelp(&mainWindow, emptyFolder.path()), help);
}

void TestShellWidgets::manualLinksLead_somewhere()
{
    QTemporaryDir emptyFolder;
    QWidget mainWindow;
    QDialog* help = showHelp(&mainWindow, emptyFolder.path());
    QFile manual(QStringLiteral(":/help/manual.html"));
    QVERIFY(manual.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(manual.readAll());
    auto* browser = help->findChild<QTextBrowser*>(QStringLiteral("txtManual"));
    QRegularExpression link(QStringLiteral("href=\"#([^\"]+)\""));
    int links = 0;
    for (auto it = link.globalMatch(html); it.hasNext(); ++links) {
        const QString anchor = it.next().captured(1);
        QVERIFY2(html.contains(QStringLiteral("name=\"%1\"").arg(anchor)), qPrintable(anchor));
        browser->scrollToAnchor(anchor);
    }
    QVERIFY(links >= 10);
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
