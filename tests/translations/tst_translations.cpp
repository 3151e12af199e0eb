// The window's language: German where the person reads German, the program's own English texts elsewhere.
#include "core/errortrap.h"
#include "editor/shiftchart.h"
#include "link/link.h"
#include "report/content.h"
#include "support/openwindows.h"
#include "translations/translations.h"

#include <QAccessible>
#include <QtTest>
#include <QtWidgets>

class TestTranslations : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { usePrivateSettings(); }

    // A sample of every window's captions, the chart, the printed sheet, messages (the core's and the link's among
    // them) and Qt's own button text. Qt's German comes only with the program's: a French desktop gets English.
    void captions_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QStringList>("prompts");  // GPI message and title, error title, warning, refusal, caption
        const QStringList german{"&Download vom EEPROM", "GPO-Parameter", "VSS-Alarm aktivieren", "Farbe Alarm 2",
                                 "Schaltpunkt 3. Gang", "Launch: 4000 U/min", "Abbrechen", "1000 bis 20000 U/min",
                                 "Parameter Alarm 1", "Alarm 1 Eingang Analog 0-5 V"};
        const QStringList english{"&Download From EEPROM", "GPO Parameters", "Enable VSS Alarm", "Alarm 2 Color",
                                  "Gear 3 Shift", "Launch: 4000 RPM", "Cancel", "1000 to 20000 RPM",
                                  "Alarm 1 Parameters", "Alarm 1 Analog 0-5V Input"};
        const QStringList promptsGerman{
            "GPO deaktiviert. Die gewählte Gangerkennung des mehrstufigen Schaltblitzes benötigt den GPI-Eingang.",
            "GPO-Parameter bearbeiten", "Fehler", "Der Wert muss größer oder gleich 1000 sein", "Launch-Drehzahl",
            "Download nicht möglich, solange das Steuergerät scharf geschaltet ist.", "Download vom EEPROM",
            "Datenpuffer leer"};
        const QStringList promptsEnglish{QString::fromLatin1(frmGPO::kGPIRequired), "Edit GPO Parameters", "Error",
                                         "Value must be greater than or equal to 1000", "Launch RPM",
                                         "Cannot download while controller is armed.", "Download From EEPROM",
                                         "Data Buffer Empty"};
        QTest::newRow("German") << "de_DE" << german << promptsGerman;
        QTest::newRow("English") << "en_US" << english << promptsEnglish;
        QTest::newRow("French, untranslated") << "fr_FR" << english << promptsEnglish;
    }
    void captions()
    {
        QFETCH(QString, locale);
        QFETCH(QStringList, prompts);
        const Translations language{QLocale(locale)};
        Windows w;
        w.store.params.LaunchRPM = 4000;
        w.editorMode(true, false);
        QStringList captions{w.main.mnuDownload->text(), w.gpo.windowTitle(),
                             QAccessible::queryAccessibleInterface(w.vss.chkAlarmVSSEnable)->text(QAccessible::Name),
                             w.alarms.lblAlarm2Color->text(), w.editor.findChild<QLabel*>("lblGear3")->text(),
                             w.editor.shiftChart->accessibleDescription().section("; ", -1),
                             QDialogButtonBox(QDialogButtonBox::Cancel).buttons().value(0)->text(),
                             w.editor.txtLaunchRPM->toolTip()};
        const QStringList sheet = report::toPlainText(QList<report::Page>{report::page2(w.store.params, {})}).split('\n');
        captions << sheet.value(2).trimmed() << sheet.value(5).trimmed();
        QTEST(captions, "captions");
        w.prompter.expectBox(prompts[0], prompts[1], PromptButtons::OK, PromptIcon::None, PromptAnswer::OK);
        QVERIFY(!frmGPO::canOpen(w.store.params, w.prompter));
        w.prompter.expectBox("x", prompts[2], PromptButtons::AbortRetryIgnore, PromptIcon::Critical, PromptAnswer::Abort);
        HandleError(w.prompter, "x");
        w.prompter.expectBox(prompts[3], prompts[4], PromptButtons::OK, PromptIcon::Exclamation, PromptAnswer::OK);
        w.editor.txtLaunchRPM->setText("50");
        w.editor.txtLaunchRPM->setModified(true);
        QTest::keyClick(w.editor.txtLaunchRPM, Qt::Key_Return);
        w.controller.setStatus(2);
        w.main.setLinkTiming(LinkTiming{30, 0});
        w.prompter.expectBox(prompts[5], prompts[6], PromptButtons::OK, PromptIcon::Exclamation, PromptAnswer::OK);
        w.main.mnuDownload->trigger();
        QCOMPARE(w.main.windowTitle().remove("[*]").section(" - ", -1), prompts[7]);
        QVERIFY_PROMPTS(w.prompter);
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
