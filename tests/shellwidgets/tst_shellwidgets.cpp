// The start-up (logo check, prompt, splash window) and the help window, offscreen.
#include "support/scriptedprompter.h"
#include "shell/branding.h"
#include "shell/help.h"
#include "shell/splash.h"

#include <QtTest>
#include <QtWidgets>

static void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
}

static QByteArray png(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkBlue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    image.save(&buffer, "PNG");
    return bytes;
}

// Takes the desktop's "open this file" requests in place of a real viewer.
struct DesktopStub : QObject {
    Q_OBJECT
public:
    Q_INVOKABLE void open(const QUrl& url) { opened << url; }
    QList<QUrl> opened;
};

class TestShellWidgets : public QObject {
    Q_OBJECT
private slots:
    void startUp_data();
    void startUp();
    void help();
};

// The logo is checked by its content; every fault comes in one message before the splash
// shows, and the splash closes by itself. Then what the splash window shows of the branding.
void TestShellWidgets::startUp_data()
{
    QTest::addColumn<QByteArray>("file");  // empty: no branding file
    QTest::addColumn<QByteArray>("logo");  // logo.gif's bytes
    QTest::addColumn<QString>("faults");   // what the message says, "|" between; empty: no message
    QTest::addColumn<QString>("font");
    QTest::addColumn<QSize>("logoSize");  // invalid: no logo shown
    QTest::newRow("no file") << QByteArray() << QByteArray("x") << "" << "28 bold italic" << builtInLogo().size();
    QTest::newRow("markup label, png named .gif") << QByteArray("<b>Acme</b> & Co\nTimes\n16\nItalic\nlogo.gif\n!\nA\n")
                                                  << png({120, 40}) << "" << "16 italic" << QSize(120, 40);
    QTest::newRow("large logo scaled down") << QByteArray("Acme\nArial\n20\nbold\nlogo.gif\n!\nAcme\n")
                                            << png({2000, 1000}) << "" << "20 bold" << QSize(480, 240);
    QTest::newRow("long label wraps") << QString(40, 'x').toLatin1() + QByteArray(" word").repeated(60) + "\nA\n20\n\nNULL\n!\nA\n"
                                      << QByteArray("x") << "" << "20" << QSize();
    QTest::newRow("three faults, truncated gif") << QByteArray("Acme\nArial\nbig\nbold\nlogo.gif\n") << QByteArray("GIF89a\x10")
                                                 << "3 faults|\"big\"|logo.gif (line 5)|not a picture this program can show" << "28 bold" << QSize();
}

void TestShellWidgets::startUp()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, logo);
    QFETCH(QString, faults);
    QTemporaryDir dir;
    writeFile(dir.filePath("logo.gif"), logo);
    if (!file.isEmpty())
        writeFile(dir.filePath(QString::fromLatin1(kBrandingFileName)), file);
    Branding b = readBranding(dir.path());
    ScriptedPrompter prompter;
    if (!faults.isEmpty())
        prompter.expectBox(QString(), "Branding File", PromptButtons::OK, PromptIcon::Exclamation, PromptAnswer::OK);
    QElapsedTimer clock;
    clock.start();
    runSplash(b, prompter, 30);
    QVERIFY2(clock.elapsed() >= 25 && clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY_PROMPTS(prompter);
    for (const QString& words : faults.split('|', Qt::SkipEmptyParts))
        QVERIFY2(prompter.shown().first().contains(words), qPrintable(prompter.shown().first()));

    frmSplash splash(b);
    QVERIFY(!splash.tmrSplashUnload->isActive());  // the 4 s run from when it is seen
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash) && splash.tmrSplashUnload->isActive());
    QCOMPARE(splash.tmrSplashUnload->interval(), 4000);
    const QFont font = splash.lblCompanyName->font();
    QCOMPARE(splash.lblCompanyName->text(), b.labelText());
    QCOMPARE(splash.lblCompanyName->textFormat(), Qt::PlainText);  // markup in the file is shown as text
    QTEST(QString::number(font.pointSizeF()) + (font.bold() ? " bold" : "") + (font.italic() ? " italic" : ""), "font");
    QTEST(splash.imgLogo->isVisible() ? splash.imgLogo->pixmap().size() : QSize(), "logoSize");
    const QFontMetrics metrics(font);
    if (metrics.horizontalAdvance(b.labelText()) < 500)  // a name that fits stays on one line
        QVERIFY(splash.lblCompanyName->height() < 2 * metrics.lineSpacing());
    QVERIFY(splash.width() < 1000 && splash.height() < 1000);  // whatever the file says
}

// The built-in manual in a window of its own (a second Contents brings up the same window),
// or a help file beside the program through the desktop.
void TestShellWidgets::help()
{
    QTemporaryDir folder;
    QWidget mainWindow;
    QDialog* window = showHelp(&mainWindow, folder.path());
    QVERIFY(window && window->isVisible() && !window->isModal());
    QVERIFY(window->findChild<QTextBrowser*>("txtManual")->toPlainText().contains("Revora Shift User Manual"));
    QCOMPARE(showHelp(&mainWindow, folder.path()), window);

    const QString helpFile = folder.filePath(QString::fromLatin1(kHelpFileName));
    writeFile(helpFile, "ITSF");
    DesktopStub desktop;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &desktop, "open");
    QDialog* none = showHelp(&mainWindow, folder.path());
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(none, nullptr);
    QCOMPARE(desktop.opened, QList<QUrl>{QUrl::fromLocalFile(helpFile)});
}

QTEST_MAIN(TestShellWidgets)
#include "tst_shellwidgets.moc"
