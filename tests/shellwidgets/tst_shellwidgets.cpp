// The start-up (branding faults, prompt, splash window) and the help window.
#include "support/scriptedprompter.h"
#include "support/testfiles.h"
#include "core/branding.h"
#include "shell/help.h"
#include "shell/splash.h"

#include <QtTest>
#include <QtWidgets>

static QByteArray png(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkBlue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    return image.save(&buffer, "PNG"), bytes;
}

class TestShellWidgets : public QObject {
    Q_OBJECT
private slots:
    // Each branding fault reaches the error prompt before the splash, in load order: Ignore goes on without it,
    // Retry rereads the mended file, Abort shows what was applied.
    void startUp_data()
    {
        QTest::addColumn<QByteArray>("file");  // empty: no branding file
        QTest::addColumn<QByteArray>("logo");  // logo.gif's bytes
        QTest::addColumn<QString>("prompts");  // "answer:words" per error prompt, "|" between
        QTest::addColumn<QString>("mendName");  // written when an error prompt shows
        QTest::addColumn<QByteArray>("mendBytes");
        QTest::addColumn<QString>("shown");  // label's first word, font, logo size
        const QByteArray acme = "Acme\nTimes\n16\nItalic\n";
        QTest::newRow("no file") << QByteArray() << QByteArray("x") << "" << "" << QByteArray()
            << QStringLiteral("Velmont Arial 28 bold italic %1x%2").arg(builtInLogo().width()).arg(builtInLogo().height());
        QTest::newRow("three faults ignored, truncated gif")
            << QByteArray("Acme\nArial\nbig\nbold\nlogo.gif\n") << QByteArray("GIF89a\x10")
            << "Ignore:no separator|Ignore:\"big\" on line 3|Ignore:not a picture this program can show" << ""
            << QByteArray() << "Acme Arial 28 bold";
        QTest::newRow("abort at the font size") << QByteArray("Acme\nTimes\nbig\nItalic\nlogo.gif\n!\nA\n") << png({120, 40})
                                                << "Abort:\"big\"" << "" << QByteArray() << "Acme Times 28 bold italic";
        QTest::newRow("file mended, retry") << acme + "logo.gif\n" << png({120, 40}) << "Retry:no separator"
                                            << "Revora_Shift.cfg" << acme + "logo.gif\n!\nA\n" << "Acme Times 16 italic 120x40";
    }
    void startUp()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, logo);
        QFETCH(QString, prompts);
        QFETCH(QString, mendName);
        QFETCH(QByteArray, mendBytes);
        QTemporaryDir dir;
        writeFile(dir.filePath("logo.gif"), logo);
        if (!file.isEmpty())
            writeFile(dir.filePath(QString::fromLatin1(kBrandingFileName)), file);
        Branding b = readBranding(dir.path());
        ScriptedPrompter prompter;
        prompter.mend = [&] {
            if (!mendName.isEmpty())
                writeFile(dir.filePath(mendName), mendBytes);
        };
        const QStringList script = prompts.split('|', Qt::SkipEmptyParts);
        for (const QString& step : script)
            prompter.expectError(QString(), step.startsWith("Abort") ? PromptAnswer::Abort
                                            : step.startsWith("Retry") ? PromptAnswer::Retry : PromptAnswer::Ignore);
        runSplash(b, prompter, 30);
        QVERIFY_PROMPTS(prompter);
        for (int i = 0; i < script.size(); ++i)
            QVERIFY2(prompter.shown().value(i).contains(script[i].section(':', 1)), qPrintable(prompter.shown().value(i)));

        frmSplash splash(b);
        splash.show();
        const QFont font = splash.lblCompanyName->font();
        const QSize shown = splash.imgLogo->isVisible() ? splash.imgLogo->pixmap().size() : QSize();
        QTEST(QStringLiteral("%1 %2 %3%4%5%6").arg(splash.lblCompanyName->text().section(' ', 0, 0), font.family())
                  .arg(font.pointSizeF()).arg(font.bold() ? " bold" : "", font.italic() ? " italic" : "",
                       shown.isValid() ? QStringLiteral(" %1x%2").arg(shown.width()).arg(shown.height()) : QString()),
              "shown");
    }

    // The built-in manual in one window of its own, beside the main window (not modal).
    void help()
    {
        QTemporaryDir folder;
        QWidget mainWindow;
        QDialog* window = showHelp(&mainWindow, folder.path());
        QVERIFY(window && window->isVisible() && !window->isModal());
        QVERIFY(window->findChild<QTextBrowser*>("txtManual")->toPlainText().contains("Revora Shift User Manual"));
        QCOMPARE(showHelp(&mainWindow, folder.path()), window);
    }
};

QTEST_MAIN(TestShellWidgets)
#include "tst_shellwidgets.moc"
