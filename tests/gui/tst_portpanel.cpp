// The port setup panel: the stored port at start-up, the list, Refresh and the choice it hands on.
#include "windowfixture.h"

class TestPortPanel : public WindowTest {
    Q_OBJECT

private slots:
    // The stored port is used and shown; nothing stored is Com1, written back as a selection by hand is.
    void storedPort_data()
    {
        QTest::addColumn<QString>("stored");  // null: nothing stored
        QTest::addColumn<int>("number");
        QTest::newRow("nothing") << QString() << 1;
        QTest::newRow("255") << "255" << 255;
    }
    void storedPort()
    {
        QFETCH(QString, stored);
        QFETCH(int, number);
        if (!stored.isNull())
            settingsStore().setValue("Properties/CommPort", stored);
        Fixture fx;
        QCOMPARE(fx.window->linkState().PortNumber, number);
        QCOMPARE(settingsStore().value("Properties/CommPort").toString(), QString::number(number));
        QCOMPARE(fx.window->fraPortSelect->cboPort->currentText(), QString("Com%1").arg(number));
        QVERIFY(fx.window->fraStart->lblStartPort->text().startsWith(
            QString("Downloads use Com%1 (/dev/ttyS%2)").arg(number).arg(number - 1)));
    }

    // A stored port that is no port number goes to the error prompt. Retry reads it again, Ignore goes on with
    // Com1 and stores it, Abort leaves it stored for the person to mend and uses Com1 meanwhile.
    void badStoredPort_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("kept");  // in the settings afterwards
        QTest::addColumn<int>("number");
        QTest::newRow("abc, Abort") << "abc" << int(PromptAnswer::Abort) << "abc" << 1;
        QTest::newRow("+5, Ignore") << "+5" << int(PromptAnswer::Ignore) << "1" << 1;
        QTest::newRow("300, Retry after mending") << "300" << int(PromptAnswer::Retry) << "9" << 9;
        QTest::newRow("0, Abort") << "0" << int(PromptAnswer::Abort) << "0" << 1;
    }
    void badStoredPort()
    {
        QFETCH(QString, stored);
        QFETCH(int, answer);
        settingsStore().setValue("Properties/CommPort", stored);
        ScriptedPrompter prompter;
        prompter.expectError("The stored port \"" + stored + "\" (CommPort in " + settingsStore().fileName()
                                 + ") is not a port number from 1 to 255.\r\n\r\nIgnore uses Com1; then choose the "
                                   "controller's port in Communications > Port Setup.",
                             PromptAnswer(answer));
        if (answer == int(PromptAnswer::Retry))
            prompter.mend = [] { settingsStore().setValue("Properties/CommPort", "9"); };
        EmulatedController controller;
        EmulatedPort port(controller);
        frmRevora_Main w(prompter, port);
        QVERIFY_PROMPTS(prompter);
        QTEST(settingsStore().value("Properties/CommPort").toString(), "kept");
        QTEST(w.linkState().PortNumber, "number");
        QCOMPARE(w.fraPortSelect->cboPort->currentText(), QString("Com%1").arg(w.linkState().PortNumber));
        QCOMPARE(w.windowTitle(), kMain + "[*]");  // the rest of the start-up went on
    }

    // The system's ports come first, kept by their stable name; a choice is stored and closes the port (the next
    // transfer opens the new one), stays when unplugged, and a Com entry goes back to the number.
    void listAndChoice()
    {
        settingsStore().setValue("Ports/Com7", "/dev/pts/9");  // the emulator's terminal
        Fixture fx;
        frmRevora_Main& w = *fx.window;
        PortPanel& panel = *w.fraPortSelect;
        const QString byId = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0";
        QList<portsettings::PortRecord> present{{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", byId, true}};
        panel.setScanner([&](const QString&) { return present; });
        QVERIFY(fx.show());
        const QSize size = w.size();
        fx.run(w.mnuPortSetup);
        QVERIFY(!panel.isHidden() && panel.lblPortDevice->text().startsWith("/dev/ttyS0 ("));
        QVERIFY(fx.port.open(nullptr));
        panel.cboPort->setCurrentIndex(0);
        QVERIFY(w.linkState().DevicePath == byId && portsettings::loadPortChoice() == byId && !fx.port.isOpen());
        QVERIFY(w.fraStart->lblStartPort->text().contains("/dev/ttyUSB0"));
        present.clear();
        panel.cmdPortRefresh->click();
        QCOMPARE(panel.cboPort->currentText(), byId + " (not found)");
        QCOMPARE(Fixture().window->fraPortSelect->cboPort->currentText(), byId + " (not found)");
        panel.cboPort->setCurrentIndex(1 + 6);
        QVERIFY(w.linkState().PortNumber == 7 && w.linkState().DevicePath.isEmpty());
        QVERIFY(w.fraStart->lblStartPort->text().contains("/dev/pts/9") && panel.lblPortDevice->text().contains("/dev/pts/9"));
        panel.cmdPortSelectOK->click();
        QVERIFY(panel.isHidden());
        QTRY_COMPARE(w.size(), size);  // the panel gave its room back
    }

    // A stored adapter that is missing while exactly one other adapter is plugged in: the start panel offers
    // it, nothing is sent to it until taken, and taking it chooses it. A slow adapter's advice is in the panel.
    void adapterOffered_data()
    {
        QTest::addColumn<int>("adapters");
        QTest::addColumn<bool>("offered");
        QTest::newRow("one adapter") << 1 << true;
        QTest::newRow("two adapters: the person chooses") << 2 << false;
    }
    void adapterOffered()
    {
        QFETCH(int, adapters);
        QFETCH(bool, offered);
        const QString gone = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_GONE-if00-port0";
        portsettings::savePortChoice(gone);
        const QString byId = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0";
        QList<portsettings::PortRecord> present{{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", byId, true, 16}};
        if (adapters == 2)
            present.append({"/dev/ttyUSB1", "CP2102", "Silicon Labs", QString(), true, 1});
        Fixture fx;
        frmRevora_Main& w = *fx.window;
        QVERIFY(fx.show());
        w.fraPortSelect->setScanner([&](const QString&) { return present; });
        QCOMPARE(!w.fraStart->cmdUseOfferedPort->isHidden(), offered);
        QCOMPARE(w.linkState().DevicePath, gone);
        QCOMPARE(fx.port.openCount(), 0);
        fx.run(w.mnuPortSetup);
        QVERIFY(!w.fraPortSelect->lblLatency->isHidden());
        QCOMPARE(w.fraPortSelect->lblLatency->text(), portsettings::latencyAdvice(present));
        if (!offered)
            return;
        QCOMPARE(w.fraStart->cmdUseOfferedPort->text(), "Use " + portsettings::portLabel(present.first()));
        w.fraStart->cmdUseOfferedPort->click();
        QCOMPARE(w.linkState().DevicePath, byId);
        QCOMPARE(portsettings::loadPortChoice(), byId);
        QCOMPARE(w.fraPortSelect->cboPort->currentText(), portsettings::portLabel(present.first()));
        QCOMPARE(fx.port.openCount(), 0);
        // The adapter is taken: nothing more to offer, even after the list is read again.
        QVERIFY(w.fraStart->cmdUseOfferedPort->isHidden());
        w.fraPortSelect->cmdPortRefresh->click();
        QVERIFY(w.fraStart->cmdUseOfferedPort->isHidden());
    }
};

QTEST_MAIN(TestPortPanel)
#include "tst_portpanel.moc"
