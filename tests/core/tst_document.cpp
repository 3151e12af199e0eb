// The document: where the configuration came from, and whether it differs from what that origin holds.
#include "core/document.h"
#include "params/codec.h"
#include "support/testfiles.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(Document::LoadFailure)

namespace {
const QString kMain = QStringLiteral("Revora Shift Version 1.0");
enum class Source { File, Backup, Controller, Defaults };

void load(Document& doc, Source source, const QString& file)
{
    switch (source) {
    case Source::File:
    case Source::Backup:
        QVERIFY(doc.open(file, source == Source::File ? Document::Origin::File : Document::Origin::Backup));
        break;
    case Source::Controller:  // what a download leaves: the block read and decoded into the store
        doc.clear();
        doc.store().image.setConfigBlock(defaultsBlock());
        doc.store().image.BufferEmpty = false;
        QVERIFY(UpdateParams(doc.store().image, doc.store().params));
        doc.downloaded();
        break;
    case Source::Defaults: doc.loadDefaults(); break;
    }
}
}  // namespace
Q_DECLARE_METATYPE(Source)

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
        QVERIFY(edited.sameConfiguration(doc.snapshot()));
        doc.loadDefaults();
        QVERIFY(!doc.isModified() && !doc.snapshot().sameConfiguration(edited));
        QSignalSpy replaced(&doc, &Document::replaced), changed(&doc, &Document::changed);
        doc.restore(edited);
        QVERIFY(replaced.size() == 1 && changed.size() == 1 && doc.snapshot().sameConfiguration(edited));
        QVERIFY(doc.isModified() && doc.origin() == Document::Origin::File && doc.path() == path("a.dat"));
        QCOMPARE(doc.store().image.EEPROMBuffer[300], 0xA5);
        // Each part of a snapshot counts.
        const auto differs = [&](auto change) {
            Document::Snapshot s = edited;
            change(s);
            return !s.sameConfiguration(edited);
        };
        QVERIFY(differs([](auto& s) { s.store.params.ShiftRPM1 = 1; })
                && differs([](auto& s) { s.store.image.EEPROMBuffer[301] = 1; })
                && differs([](auto& s) { s.store.image.BufferEmpty = true; })
                && differs([](auto& s) { s.store.DataSourceName = "x"; })
                && differs([](auto& s) { s.origin = Document::Origin::Backup; })
                && differs([](auto& s) { s.path = "x"; }) && differs([](auto& s) { s.started = !s.started; })
                && differs([](auto& s) { s.decodedCaption = !s.decodedCaption; })
                && differs([](auto& s) { s.clean.reset(); }));
    }

    // Nothing to lose before anything is loaded, and once the buffer is emptied again.
    void startAndClear()
    {
        Document doc(kMain, QStringLiteral("Velmont Sensors"));
        QCOMPARE(doc.caption(), "Velmont Sensors " + kMain);
        QCOMPARE(Document(kMain).caption(), kMain);
        QVERIFY(doc.isEmpty() && !doc.isModified() && doc.origin() == Document::Origin::None);
        doc.loadDefaults();
        doc.clear();  // what it leaves: as a failed open, below
        doc.store().params.LaunchRPM = 4000;  // a value left in a field after the buffer went
        QVERIFY(doc.isEmpty() && !doc.isModified() && doc.path().isEmpty());
        // A download empties the buffer before it says so, and fills it before it is decoded.
        doc.loadDefaults();
        doc.store().params.LaunchRPM = 4000;
        doc.store().image.ClearEEPROMBuffer();
        QVERIFY(!doc.isModified());
        doc.clear();
        doc.store().image.BufferEmpty = false;
        QVERIFY(!doc.isModified());
        // A value that no longer encodes cannot have been saved.
        doc.loadDefaults();
        doc.store().params.VSSFreq = -1;
        QVERIFY(doc.isModified());
    }

    // The mark means "differs from what the origin holds": an edit sets it, the old value back clears it, a
    // save makes the document the file's (a failed one changes nothing), an upload clears it only where no file
    // still holds the old values, and decoding again names the decoded data but keeps the origin.
    void origins_data()
    {
        QTest::addColumn<Source>("source");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("uploadCleans");
        QTest::newRow("file") << Source::File << " - in.dat" << false;
        QTest::newRow("backup") << Source::Backup << " - in.dat" << false;
        QTest::newRow("controller") << Source::Controller << " - Downloaded Data" << true;
        QTest::newRow("defaults") << Source::Defaults << " - Default Values" << true;
    }
    void origins()
    {
        QFETCH(Source, source);
        QFETCH(bool, uploadCleans);
        writeFile(path("in.dat"), defaultsBlock());
        Document doc(kMain, QStringLiteral("Velmont Sensors"));
        load(doc, source, path("in.dat"));
        const Document::Origin origin = doc.origin();
        const QString from = doc.path();
        QVERIFY(!doc.isEmpty() && !doc.isModified());
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
        QTEST(doc.caption().mid(kMain.size()), "caption");  // an upload names no new origin
        QVERIFY(doc.saveAs(path("no/such/folder.dat")).has_value());
        QVERIFY(doc.isModified() == !uploadCleans && doc.origin() == origin && doc.path() == from);
        QTEST(doc.caption().mid(kMain.size()), "caption");
        doc.decodedAgain();
        QVERIFY(doc.caption() == kMain + " - Downloaded Data" && doc.origin() == origin);
        QCOMPARE(doc.isModified(), !uploadCleans);
        QVERIFY(!doc.saveAs(path("out.dat")));
        QVERIFY(!doc.isModified() && doc.origin() == Document::Origin::File && doc.path() == path("out.dat"));
        QCOMPARE(doc.caption(), kMain + " - out.dat");
        QCOMPARE(readFile(path("out.dat")).mid(32 - 16, 2), QByteArray("\x94\x11"));  // 4500
        QCOMPARE(replaced.size(), 0);  // edits and saves leave the views' values as they are
    }

    // A file that cannot be used leaves the document empty, never half loaded.
    void openFailures_data()
    {
        QTest::addColumn<QByteArray>("bytes");  // empty: a folder, which cannot be read
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
        const QString name = path(QTest::currentDataTag());
        if (bytes.isEmpty())
            QVERIFY(QDir().mkpath(name));
        else
            writeFile(name, bytes);
        Document doc(kMain);
        doc.loadDefaults();
        QSignalSpy replaced(&doc, &Document::replaced);
        const Document::LoadResult r = doc.open(name);
        QTEST(r.failure, "failure");
        QVERIFY(!r && !r.error.isEmpty() && replaced.size() == 1);
        QVERIFY(doc.isEmpty() && doc.origin() == Document::Origin::None && doc.path().isEmpty());
        QCOMPARE(doc.store().image.configBlock(), QByteArray(144, '\0'));
        QCOMPARE(doc.caption(), kMain + " - Data Buffer Empty");
    }
};

QTEST_GUILESS_MAIN(TestDocument)
#include "tst_document.moc"
