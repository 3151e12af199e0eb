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
        QCOMPARE(RecentFiles::files(), (QStringList{names[5], names[4], names[3], names[2], names[1]}));
        QFile::remove(names[4]);
        fx.prompter.expect(names[4] + "\r\nFile not found. It is taken off the recent files.", kOpenTitle);
        fx.run(fx.window->recentFiles->actions().at(1));
        QCOMPARE(RecentFiles::files(), (QStringList{names[5], names[3], names[2], names[1]}));
        QCOMPARE(fx.title(), kMain + " - recent5.dat");
    }

    // A backup is the program's own copy: opening one neither lists it nor makes its folder the dialogs' start.
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
        QCOMPARE(RecentFiles::files(), QStringList{path("cars/mine.dat")});
        fx.prompter.expectSaveFile(QString());
        fx.run(fx.window->mnuSaveFIle);
        QCOMPARE(fx.prompter.fileDialogFolder, path("cars"));
    }
};

QTEST_MAIN(TestRecentFiles)
#include "tst_recentfiles.moc"
