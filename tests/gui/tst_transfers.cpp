// Download, upload and compare as the window runs them: progress, the document told what the controller holds.
#include "core/datapaths.h"
#include "windowfixture.h"

class TestTransfers : public WindowTest {
    Q_OBJECT

private slots:
    // Commands wait while a download runs; closing or a stop signal during the read stops it as Esc does, and
    // leaves the window empty (start panel, nothing to edit). An Esc pressed while nothing ran stops nothing.
    void stopDuringDownload_data()
    {
        QTest::addColumn<bool>("closing");  // else a stop signal alone
        QTest::newRow("closing") << true;
        QTest::newRow("stop signal") << false;
    }
    void stopDuringDownload()
    {
        QFETCH(bool, closing);
        Fixture fx;
        QVERIFY(fx.show());
        frmRevora_Main* w = fx.window.get();
        QTest::keyClick(w, Qt::Key_Escape);
        QVERIFY(!w->linkState().UserAbort);
        fx.prompter.expectBox(kFirmware, kDownloadTitle, PromptButtons::OK, PromptIcon::Exclamation, PromptAnswer::OK);
        fx.prompter.expect("Download failed.", kDownloadTitle);
        bool disabledWhileRunning = false, stillOpen = false;
        connect(w->fraProgress1->prgProgress1, &QProgressBar::valueChanged, w, [&](int value) {
            disabledWhileRunning = !w->mnuOpenFile->isEnabled() && !w->mnuUpload->isEnabled()
                                   && !w->fraPortSelect->cboPort->isEnabled() && w->transfers->running();
            if (value == 20 && closing)
                stillOpen = !w->close() && w->isVisible();
            else if (value == 20)
                w->transfers->stopBySignal(15);
        });
        fx.run(w->mnuDownload);
        QVERIFY(fx.image() == QByteArray(144, '\0') && fx.title() == kMain + " - Data Buffer Empty" && fx.showsEmpty());
        QVERIFY(!fx.port.isOpen() && !w->linkState().UserAbort);  // the read loop clears the abort
        QVERIFY(w->mnuOpenFile->isEnabled() && w->fraPortSelect->cboPort->isEnabled() && fx.ed().isEnabled());
        QVERIFY(disabledWhileRunning && stillOpen == closing);
        QVERIFY(fx.controller.address() < 40);  // stopped at the next byte: nothing more was asked for
        QTRY_COMPARE(w->isVisible(), !closing);
    }

    // Nothing answering: the refusal names the port and where to choose another.
    void noControllerOnThePort()
    {
        Fixture fx;
        QVERIFY(fx.show());
        fx.controller.addFailure(emu::Failure{emu::FailureKind::Silent, -1});
        fx.window->setLinkTiming(LinkTiming{5, 0});
        fx.prompter.expectBox("Cannot establish RS-232 link. Check cable and controller power.\nNo controller answered "
                              "on the serial port /dev/ttyS0. If it is connected to another port, choose that one "
                              "under Communications > Port Setup.",
                              kDownloadTitle, PromptButtons::OK, PromptIcon::Exclamation, PromptAnswer::OK);
        fx.run(fx.window->mnuDownload);
    }

    // A stop signal during programming lets the block be written whole, says so, then closes the window.
    void signalDuringProgramming()
    {
        Fixture fx(Defaults);
        QVERIFY(fx.show());
        frmRevora_Main* w = fx.window.get();
        fx.type("txtLaunchRPM", "4400");
        connect(w->fraProgress1->prgProgress1, &QProgressBar::valueChanged, w, [&](int value) {
            if (w->fraProgress1->title() == "Programming EEPROM" && value == 30) {
                w->transfers->stopBySignal(15);
                w->close();
            }
        });
        fx.prompter.expectBox("Upload stopped: the controller holds the whole new configuration, but it was not "
                              "verified and the controller was not reset. Upload again to verify it and restart the "
                              "controller.",
                              "Upload To EEPROM", PromptButtons::OK, PromptIcon::Information, PromptAnswer::OK);
        fx.prompter.expectBox(QString(), "Exit", PromptButtons::SaveDiscardCancel, PromptIcon::Exclamation,
                              PromptAnswer::Discard);
        w->mnuUpload->trigger();
        QCOMPARE(fx.controller.configBlock(), fx.image());  // the whole new block, 4400 in it
        QCOMPARE(fx.image().mid(32 - 16, 2), QByteArray("\x30\x11"));
        QCOMPARE(fx.controller.resetCount(), 0);
        QTRY_VERIFY(!w->isVisible());
        QVERIFY_PROMPTS(fx.prompter);
    }

    // Comparing reads the controller into a scratch image; the window keeps what it holds.
    void compare()
    {
        const QString title = "Compare With Controller";
        Fixture fx(Defaults);
        QByteArray block = defaultsBlock();
        block.replace(32 - 16, 2, QByteArray("\xAC\x0D"));  // launch 3500
        block[20 - 16] = char(block[20 - 16] & ~0x08);       // multi-stage off
        block[53 - 16] = char(0xA5);
        fx.controller.setConfigBlock(block);
        fx.prompter.expect(kFirmware, title).expect(QString(), title);
        fx.run(fx.window->mnuCompare);
        QVERIFY(fx.image() == defaultsBlock() && fx.title() == kMain + " - Default Values" && !fx.marked());
        QCOMPARE(fx.controller.configBlock(), block);
        const QStringList lines = fx.prompter.shown().last().split("\r\n");
        QCOMPARE(lines.mid(0, 3), (QStringList{title + ": The controller and this configuration differ in 4 places:", "",
                                               "Parameter | Controller | This configuration"}));
        for (const QString& row : {QString("Launch RPM | 3500 | 3000"), QString("Multi-Stage Shift Light | Disabled | Enabled"),
                                   QString("Offset 53 | 165 (0xa5) | %1 (0x00)").arg(int(defaultsBlock()[53 - 16]))})
            QVERIFY2(lines.contains(row), qPrintable(row + " missing in\n" + lines.join('\n')));
    }

    // The backup before an upload, into the backup folder, the changes shown, No writes nothing; switched off,
    // neither question nor file. Display Defaults drops an old user text: the upload sends the factory values.
    void uploadBackup_data()
    {
        QTest::addColumn<int>("answer");  // to "Go on?", -1: backup switched off
        QTest::newRow("off") << -1;
        QTest::newRow("declined") << int(PromptAnswer::No);
        QTest::newRow("accepted") << int(PromptAnswer::Yes);
    }
    void uploadBackup()
    {
        QFETCH(int, answer);
        const bool backUp = answer >= 0, writes = answer != int(PromptAnswer::No);
        const QByteArray before = QByteArray(144, '\x11');
        Fixture fx(Empty, backUp);
        fx.field("txtUserData")->setText("old text");
        fx.params().UserData = "old text";
        QVERIFY(fx.show());
        fx.run(fx.window->mnuDisplayDefaults);
        fx.controller.setConfigBlock(before);
        if (backUp)
            fx.prompter.expect(QString(), "Upload To EEPROM", PromptAnswer(answer));
        if (writes)
            fx.prompter.expect("Upload completed.", "Upload To EEPROM");
        fx.run(fx.window->mnuUpload);
        QCOMPARE(fx.controller.configBlock(), writes ? defaultsBlock() : before);
        QVERIFY(fx.controller.resetCount() == int(writes) && !fx.port.isOpen());
        QDir backups(datapaths::backupFolder());
        const QStringList kept = backups.entryList({"*.dat"}, QDir::Files, QDir::Name);
        QCOMPARE(kept.size(), backUp ? 1 : 0);
        if (backUp) {
            QVERIFY(fx.prompter.shown().first().contains("Gear 1 Shift RPM | "));
            QCOMPARE(readFile(backups.filePath(kept.first())), before);
            QVERIFY(backups.removeRecursively());
        }
    }
};

QTEST_MAIN(TestTransfers)
#include "tst_transfers.moc"
