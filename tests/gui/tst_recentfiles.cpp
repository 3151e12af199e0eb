// The recent files and the folder the file dialogs start in.
#include "core/datapaths.h"
#include "windowfixture.h"

class TestRecentFiles : public WindowTest {
    Q_OBJECT

private slots:
    // Newest first, five at most; an entry whose file went is taken off with a word, and opens nothing.
    void newestFirst()
    {
        QStringList names;
        Fixture fx;
        for (int i = 0; i < 6; ++i) {
            names << path(QString("recent%1.dat").arg(i));
            writeFile(names.last(), defaultsBlock());
            if (i > 0)
                fx.prompter.expect(kOverwrite, kOpenTitle);
            fx.open(names.last());
        }
        QVERIFY_PROMPTS(fx.prompter);
        QCOMPARE(RecentFiles::files(), (QStringList{names[5], names[4], names[3], names[2], names[1]}));
        QCOMPARE(fx.window->recentFiles->actions().at(1)->text(), "&2 recent4.dat");
        QFile::remove(names[4]);
        fx.prompter.expect(names[4] + "\r\nFile not found. It is taken off the recent files.", kOpenTitle);
        fx.run(fx.window->recentFiles->actions().at(1));
        QCOMPARE(RecentFiles::files(), (QStringList{names[5], names[3], names[2], names[1]}));
        QVERIFY(!fx.window->recentFiles->actions().at(4)->isVisible());
        QCOMPARE(fx.title(), kMain + " - recent5.dat");
        fx.prompter.expect(kOverwrite, kOpenTitle).expect(QString(), kOpenTitle);
        fx.run(fx.window->recentFiles->actions().at(2));
        QCOMPARE(fx.title(), kMain + " - recent2.dat");
    }

    // Two files of one name are told apart by their folders; an ampersand is shown as one.
    void sameNamesToldApart_data()
    {
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QStringList>("labels");
        const QString a = QDir::toNativeSeparators("/a"), c = QDir::toNativeSeparators("/c");
        QTest::newRow("different names") << QStringList{"/a/car.dat", "/b/van.dat"} << QStringList{"car.dat", "van.dat"};
        QTest::newRow("one name twice") << QStringList{"/a/car.dat", "/b/van.dat", "/c/car.dat"}
                                        << QStringList{"car.dat (" + a + ")", "van.dat", "car.dat (" + c + ")"};
        QTest::newRow("ampersand") << QStringList{"/a/R&D.dat"} << QStringList{"R&&D.dat"};
    }
    void sameNamesToldApart()
    {
        QFETCH(QStringList, paths);
        QTEST(RecentFiles::labels(paths), "labels");
    }

    // A backup is the program's own copy: opening one neither lists it nor makes its folder where the next
    // Open and Save start.
    void backupsStayOut()
    {
        QDir().mkpath(path("cars"));
        writeFile(path("cars/mine.dat"), defaultsBlock());
        QDir().mkpath(datapaths::backupFolder());
        const QString backup = QDir(datapaths::backupFolder()).filePath("2024-05-01_120000.dat");
        writeFile(backup, defaultsBlock());
        Fixture fx;
        fx.open(path("cars/mine.dat"));
        fx.prompter.expect(kOverwrite, kOpenTitle).expectOpenFile(backup).expect(QString(), kOpenTitle);
        fx.run(fx.window->mnuOpenBackup);
        QCOMPARE(fx.prompter.fileDialogFolder, datapaths::backupFolder());
        QCOMPARE(fx.title(), kMain + " - 2024-05-01_120000.dat");
        QCOMPARE(RecentFiles::files(), QStringList{path("cars/mine.dat")});
        fx.prompter.expectSaveFile(QString());
        fx.run(fx.window->mnuSaveFIle);
        QCOMPARE(fx.prompter.fileDialogFolder, path("cars"));
        fx.prompter.expect(kOverwrite, kOpenTitle).expectOpenFile(QString());
        fx.run(fx.window->mnuOpenFile);
        QCOMPARE(fx.prompter.fileDialogFolder, path("cars"));
    }
};

QTEST_MAIN(TestRecentFiles)
#include "tst_recentfiles.moc"
