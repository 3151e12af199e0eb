// The port setup, download, upload and compare as the window runs them.
#include "core/datapaths.h"
#include "windowfixture.h"

class TestTransfers : public WindowTest {
    Q_OBJECT

private slots:
    // Commands wait while a download runs; closing or a stop signal stops it as Esc does, leaving the window empty.
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

    // Nothing answering: the window says which port it tries, and the refusal names it and where to choose.
    void noControllerOnThePort()
    {
        Fixture fx;
        QVERIFY(fx.show());
        fx.controller.addFailure(emu::Failure{emu::FailureKind::Silent, -1});
        fx.window->setLinkTiming(LinkTiming{5, 0});
        QString seen;  // the first caption the progress frame shows
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] { seen = seen.isEmpty() ? fx.window->fraProgress1->title() : seen; });
        poll.start(0);
        fx.prompter.expectBox("Cannot establish RS-232 link. Check cable and controller power.\nNo controller answered "
                              "on the serial port /dev/ttyS0. If it is connected to another port, choose that one "
                              "under Communications > Port Setup.",
                              kDownloadTitle, PromptButtons::OK, PromptIcon::Exclamation, PromptAnswer::OK);
        fx.run(fx.window->mnuDownload);
        QCOMPARE(seen, "Connecting to /dev/ttyS0...");
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

    // The backup before an upload, the changes shown, No writes nothing; switched off, neither question nor file.
    // Display Defaults drops an old user text: the upload sends the factory values.
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

    // The stored port is used and shown, nothing stored is Com1. One that is no port number goes to the error
    // prompt: Retry reads it again, Ignore stores Com1, Abort leaves it for the person to mend, using Com1.
    void storedPort_data()
    {
        QTest::addColumn<QString>("stored");  // null: nothing stored
        QTest::addColumn<int>("answer");      // -1: no error prompt
        QTest::addColumn<QString>("kept");    // in the settings afterwards
        QTest::addColumn<int>("number");
        QTest::newRow("nothing") << QString() << -1 << "1" << 1;
        QTest::newRow("abc, Abort") << "abc" << int(PromptAnswer::Abort) << "abc" << 1;
        QTest::newRow("+5, Ignore") << "+5" << int(PromptAnswer::Ignore) << "1" << 1;
        QTest::newRow("300, Retry after mending") << "300" << int(PromptAnswer::Retry) << "9" << 9;
    }
    void storedPort()
    {
        QFETCH(QString, stored);
        QFETCH(int, answer);
        QFETCH(int, number);
        if (!stored.isNull())
            settingsStore().setValue("Properties/CommPort", stored);
        ScriptedPrompter prompter;
        if (answer >= 0)
            prompter.expectError("The stored port \"" + stored + "\" (CommPort in " + settingsStore().fileName()
                                     + ") is not a port number from 1 to 255.\r\n\r\nIgnore uses Com1; then choose "
                                       "the controller's port in Communications > Port Setup.",
                                 PromptAnswer(answer));
        if (answer == int(PromptAnswer::Retry))
            prompter.mend = [] { settingsStore().setValue("Properties/CommPort", "9"); };
        EmulatedController controller;
        EmulatedPort port(controller);
        frmRevora_Main w(prompter, port);
        QVERIFY_PROMPTS(prompter);
        QTEST(settingsStore().value("Properties/CommPort").toString(), "kept");
        QCOMPARE(w.linkState().PortNumber, number);
        QCOMPARE(w.fraPortSelect->cboPort->currentText(), QString("Com%1").arg(number));
        QVERIFY(w.fraStart->lblStartPort->text().startsWith(
            QString("Downloads use Com%1 (/dev/ttyS%2)").arg(number).arg(number - 1)));
        QCOMPARE(w.windowTitle(), kMain + "[*]");  // the rest of the start-up went on
    }

    // A stored adapter missing, another plugged in: the start panel offers it, nothing is sent to it, and taking it
    // stores it and closes the port. Unplugged, the choice stays; a Com entry goes back to the number.
    void offeredAndChosen()
    {
        settingsStore().setValue("Ports/Com7", "/dev/pts/9");  // the emulator's terminal
        portsettings::savePortChoice("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_GONE-if00-port0");
        Fixture fx;
        frmRevora_Main& w = *fx.window;
        PortPanel& panel = *w.fraPortSelect;
        const QString byId = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0";
        QList<portsettings::PortRecord> present{{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", byId, true, 16}};
        panel.setScanner([&](const QString&) { return present; });
        QVERIFY(fx.show());
        fx.run(w.mnuPortSetup);
        QVERIFY(!w.fraStart->cmdUseOfferedPort->isHidden() && fx.port.openCount() == 0);
        QVERIFY(fx.port.open(nullptr));
        w.fraStart->cmdUseOfferedPort->click();
        QVERIFY(w.linkState().DevicePath == byId && portsettings::loadPortChoice() == byId && !fx.port.isOpen());
        present.clear();
        panel.cmdPortRefresh->click();
        QCOMPARE(panel.cboPort->currentText(), byId + " (not found)");
        QCOMPARE(Fixture().window->fraPortSelect->cboPort->currentText(), byId + " (not found)");
        panel.cboPort->setCurrentIndex(1 + 6);
        QVERIFY(w.linkState().PortNumber == 7 && w.linkState().DevicePath.isEmpty());
    }
};

QTEST_MAIN(TestTransfers)
#include "tst_transfers.moc"
