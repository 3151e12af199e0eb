// The document: where the configuration came from, and whether it differs from what that origin holds.
#include "core/document.h"
#include "support/testfiles.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(Document::LoadFailure)
Q_DECLARE_METATYPE(Document::Origin)

namespace {
const QString kMain = QStringLiteral("Revora Shift Version 1.0");

void load(Document& doc, Document::Origin origin, const QString& file)
{
    switch (origin) {
    case Document::Origin::File:
    case Document::Origin::Backup: QVERIFY(doc.open(file, origin)); break;
    case Document::Origin::Controller:  // what a download leaves: the block read and decoded into the store
        doc.loadDefaults();
        doc.downloaded();
        break;
    case Document::Origin::Defaults: doc.loadDefaults(); break;
    case Document::Origin::None: break;
    }
}
}  // namespace

class TestDocument : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    // A snapshot puts back values, image, origin and what that held, so the mark reads as it did (the window's
    // undo runs on it: tst_undo has captions and marks after undoing each kind of command).
    void snapshotAndRestore()
    {
        writeFile(path("a.dat"), defaultsBlock());
        Document doc(kMain);
        QVERIFY(doc.open(path("a.dat")));
        doc.store().params.LaunchRPM = 4000;
        doc.store().image.EEPROMBuffer[300] = 0xA5;  // outside the block: no edit, yet part of the image
        const Document::Snapshot edited = doc.snapshot();
        doc.loadDefaults();
        QSignalSpy replaced(&doc, &Document::replaced), changed(&doc, &Document::changed);
        doc.restore(edited);
        QVERIFY(replaced.size() == 1 && changed.size() == 1 && doc.snapshot().sameConfiguration(edited));
        QVERIFY(doc.isModified() && doc.origin() == Document::Origin::File && doc.path() == path("a.dat"));
        // The parts a replacing command changes count: one that changed only those still gets its undo step.
        const auto differs = [&](auto change) {
            Document::Snapshot s = edited;
            change(s);
            return !s.sameConfiguration(edited);
        };
        QVERIFY(differs([](auto& s) { s.store.params.ShiftRPM1 = 1; })
                && differs([](auto& s) { s.store.image.EEPROMBuffer[301] = 1; })
                && differs([](auto& s) { s.origin = Document::Origin::Backup; })
                && differs([](auto& s) { s.path = "x"; }) && differs([](auto& s) { s.clean.reset(); }));
    }

    // Nothing to lose while the buffer is empty (a download empties it before it says so) or before the block read
    // in is decoded; a value that no longer encodes cannot have been saved.
    void nothingToLose()
    {
        Document doc(kMain);
        QVERIFY(doc.isEmpty() && !doc.isModified() && doc.origin() == Document::Origin::None);
        doc.loadDefaults();
        doc.store().params.LaunchRPM = 4000;
        doc.store().image.ClearEEPROMBuffer();
        QVERIFY(!doc.isModified());
        doc.clear();
        doc.store().image.BufferEmpty = false;
        QVERIFY(!doc.isModified());
        doc.loadDefaults();
        doc.store().params.VSSFreq = -1;
        QVERIFY(doc.isModified());
    }

    // The mark means "differs from what the origin holds": an edit sets it, the old value back clears it, a
    // save makes the document the file's (a failed one changes nothing), an upload clears it only where no file
    // still holds the old values, and decoding again names the decoded data but keeps the origin.
    void origins_data()
    {
        QTest::addColumn<Document::Origin>("origin");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("uploadCleans");
        QTest::newRow("file") << Document::Origin::File << " - in.dat" << false;
        QTest::newRow("backup") << Document::Origin::Backup << " - in.dat" << false;
        QTest::newRow("controller") << Document::Origin::Controller << " - Downloaded Data" << true;
        QTest::newRow("defaults") << Document::Origin::Defaults << " - Default Values" << true;
    }
    void origins()
    {
        QFETCH(Document::Origin, origin);
        QFETCH(bool, uploadCleans);
        writeFile(path("in.dat"), defaultsBlock());
        Document doc(kMain, QStringLiteral("Velmont Sensors"));
        QCOMPARE(doc.caption(), "Velmont Sensors " + kMain);  // until a command replaces the start-up state
        load(doc, origin, path("in.dat"));
        const QString from = doc.path();
        QVERIFY(!doc.isEmpty() && !doc.isModified() && doc.origin() == origin);
        QTEST(doc.caption().mid(kMain.size()), "caption");
        QSignalSpy changed(&doc, &Document::changed), replaced(&doc, &Document::replaced);
        const auto edit = [&](int16_t launchRPM) {
            doc.store().params.LaunchRPM = launchRPM;
            doc.checkModified();
        };
        edit(4000);
        edit(4000);  // no news, no signal
        QVERIFY(doc.isModified() && changed.size() == 1);
        edit(3000);
        QVERIFY(!doc.isModified() && changed.size() == 2);
        edit(4500);
        doc.uploaded();
        QCOMPARE(doc.isModified(), !uploadCleans);
        QVERIFY(doc.saveAs(path("no/such/folder.dat")).has_value());
        QVERIFY(doc.isModified() == !uploadCleans && doc.origin() == origin && doc.path() == from);
        QTEST(doc.caption().mid(kMain.size()), "caption");
        doc.decodedAgain();
        QVERIFY(doc.caption() == kMain + " - Downloaded Data" && doc.origin() == origin);
        QVERIFY(!doc.saveAs(path("out.dat")));
        QVERIFY(!doc.isModified() && doc.origin() == Document::Origin::File && doc.path() == path("out.dat"));
        QCOMPARE(doc.caption(), kMain + " - out.dat");
        QCOMPARE(readFile(path("out.dat")).mid(32 - 16, 2), QByteArray("\x94\x11"));  // 4500
        QCOMPARE(replaced.size(), 0);  // edits and saves leave the views' values as they are
    }

    // A file that cannot be used leaves the document empty, never half loaded.
    void openFailures_data()
    {
        QTest::addColumn<QByteArray>("bytes");  // empty: the test's folder, which cannot be read
        QTest::addColumn<Document::LoadFailure>("failure");
        QByteArray overflow = defaultsBlock();
        overflow[18 - 16] = char(0x80);  // VSSFreq's high byte: no 16-bit signed value
        QTest::newRow("100 bytes") << defaultsBlock().left(100) << Document::LoadFailure::ShortFile;
        QTest::newRow("folder") << QByteArray() << Document::LoadFailure::Unreadable;
        QTest::newRow("undecodable") << overflow << Document::LoadFailure::Undecodable;
    }
    void openFailures()
    {
        QFETCH(QByteArray, bytes);
        const QString name = bytes.isEmpty() ? m_dir.path() : path(QTest::currentDataTag());
        if (!bytes.isEmpty())
            writeFile(name, bytes);
        Document doc(kMain);
        doc.loadDefaults();
        QSignalSpy replaced(&doc, &Document::replaced);
        const Document::LoadResult r = doc.open(name);
        QTEST(r.failure, "failure");
        QVERIFY(!r && !r.error.isEmpty() && replaced.size() == 1);
        QVERIFY(doc.isEmpty() && doc.origin() == Document::Origin::None && doc.path().isEmpty());
        QCOMPARE(doc.store().image.configBlock(), QByteArray(144, '\0'));
    }
};

QTEST_GUILESS_MAIN(TestDocument)
#include "tst_document.moc"
