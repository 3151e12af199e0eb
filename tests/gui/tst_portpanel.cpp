// The port setup panel: the stored port at start-up, the list, Refresh and the choice it hands on.
#include "windowfixture.h"

class TestPortPanel : public WindowTest {
    Q_OBJECT

private slots:
    // The stored port is used and shown, nothing stored is Com1. One that is no port number goes to the error
    // prompt: Retry reads it again, Ignore stores Com1, Abort leaves it for the person to mend, using Com1.
    void storedPort_data()
    {
        QTest::addColumn<QString>("stored");  // null: nothing stored
        QTest::addColumn<int>("answer");      // -1: no error prompt
        QTest::addColumn<QString>("kept");    // in the settings afterwards
        QTest::addColumn<int>("number");
        QTest::newRow("nothing") << QString() << -1 << "1" << 1;
        QTest::newRow("255") << "255" << -1 << "255" << 255;
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

    // The system's ports first, by their stable name; a choice is stored and closes the port, stays when
    // unplugged, and a Com entry goes back to the number.
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
        fx.run(w.mnuPortSetup);
        QVERIFY(fx.port.open(nullptr));
        panel.cboPort->setCurrentIndex(0);
        QVERIFY(w.linkState().DevicePath == byId && portsettings::loadPortChoice() == byId && !fx.port.isOpen());
        present.clear();
        panel.cmdPortRefresh->click();
        QCOMPARE(panel.cboPort->currentText(), byId + " (not found)");
        QCOMPARE(Fixture().window->fraPortSelect->cboPort->currentText(), byId + " (not found)");
        panel.cboPort->setCurrentIndex(1 + 6);
        QVERIFY(w.linkState().PortNumber == 7 && w.linkState().DevicePath.isEmpty());
    }

    // A stored adapter missing, another plugged in: the start panel offers it, nothing is sent to it, and
    // taking it chooses it.
    void adapterOffered()
    {
        portsettings::savePortChoice("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_GONE-if00-port0");
        const QString byId = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0";
        const QList<portsettings::PortRecord> present{{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", byId, true, 16}};
        Fixture fx;
        frmRevora_Main& w = *fx.window;
        QVERIFY(fx.show());
        w.fraPortSelect->setScanner([&](const QString&) { return present; });
        fx.run(w.mnuPortSetup);
        QVERIFY(!w.fraStart->cmdUseOfferedPort->isHidden() && fx.port.openCount() == 0);
        w.fraStart->cmdUseOfferedPort->click();
        QVERIFY(w.linkState().DevicePath == byId && portsettings::loadPortChoice() == byId);
    }
};

QTEST_MAIN(TestPortPanel)
#include "tst_portpanel.moc"
