// The window's language: German where the person reads German, the program's own English
// texts everywhere else, and no caption cut off in either.
#include "alarms/frmalarms.h"
#include "core/errortrap.h"
#include "editor/parametereditor.h"
#include "editor/shiftchart.h"
#include "emulator/emulatedport.h"
#include "gpo/frmgpo.h"
#include "link/link.h"
#include "report/content.h"
#include "shell/mainwindow.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"
#include "translations/translations.h"
#include "vss_alarm/frmalarmvss.h"

#include <QAccessible>
#include <QtTest>
#include <QtWidgets>

namespace {

// The main window (empty: its start panel shows), the three dialogs and an editor,
// built in the language installed now.
struct Windows {
    ParameterStore store = defaultsStore();
    ScriptedPrompter prompter;
    EmulatedController controller;
    EmulatedPort port{controller};
    frmRevora_Main main{prompter, port, {QStringLiteral("Velmont Sensors")}};
    frmGPO gpo{store.params, prompter};
    frmAlarmVSS vss{store.params, prompter};
    frmAlarms alarms{store.params, prompter};
    ParameterEditor editor{store, prompter};
    QList<QWidget*> all() { return {&main, &gpo, &vss, &alarms, &editor}; }
};

}  // namespace

class TestTranslations : public QObject {
    Q_OBJECT
    QTemporaryDir m_home;

private slots:
    // The main window reads and writes the settings store: a private one.
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("XDG_CONFIG_HOME", m_home.filePath("config").toUtf8());
        qputenv("HOME", m_home.filePath("home").toUtf8());
    }

    // A sample of every window's captions, a check box named after its label, the chart's
    // description, messages through the prompter (the core's error title among them) and
    // Qt's own button text. Qt's German
    // comes only with the program's: a French desktop gets one language, English.
    void captions_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("captions");
        // The GPI message's text and title, the error prompt's title, two range warnings, a
        // refusal and the caption after it.
        QTest::addColumn<QStringList>("prompts");
        const QStringList german{"&Datei", "&Download vom EEPROM", "GPO-Parameter", "Mindestdrehzahl (100er-Schritte)", "VSS-Alarm (Geschwindigkeit)",
                                 "VSS-Alarm aktivieren", "Benutzerdefinierte Alarme", "Farbe Alarm 2",
                                 "Analogeingang 1", "Standardwerte wiederherstellen", "Schaltpunkt 3. Gang",
                                 "Gangerkennung über Geschwindigkeit (VSS)", "Launch: 4000 U/min", "Abbrechen",
                                 "1000 bis 20000 U/min", "Parameter Alarm 1", "Alarm 1 Eingang Analog 0-5 V"};
        const QStringList english{"&File", "&Download From EEPROM", "GPO Parameters", "Minimum RPM (100 RPM steps)", "VSS (Speed) Alarm",
                                  "Enable VSS Alarm", "User Defined Alarms", "Alarm 2 Color", "Analog Input 1",
                                  "Restore Defaults", "Gear 3 Shift", "VSS Based Gear Detection",
                                  "Launch: 4000 RPM", "Cancel", "1000 to 20000 RPM", "Alarm 1 Parameters",
                                  "Alarm 1 Analog 0-5V Input"};
        const QStringList promptsGerman{
            "GPO deaktiviert. Die gewählte Gangerkennung des mehrstufigen Schaltblitzes benötigt den GPI-Eingang.",
            "GPO-Parameter bearbeiten", "Fehler", "Der Wert muss größer oder gleich 1000 sein", "Launch-Drehzahl",
            "Der Wert muss größer oder gleich null sein", "TPS 0 %",
            "Download nicht möglich, solange das Steuergerät scharf geschaltet ist.", "Download vom EEPROM",
            "Datenpuffer leer"};
        const QStringList promptsEnglish{QString::fromLatin1(frmGPO::kGPIRequired), "Edit GPO Parameters", "Error",
                                         "Value must be greater than or equal to 1000", "Launch RPM",
                                         "Value must be greater than or equal to zero", "TPS Zero",
                                         "Cannot download while controller is armed.", "Download From EEPROM",
                                         "Data Buffer Empty"};
        QTest::newRow("German") << "de_DE" << "de_DE" << german << promptsGerman;
        QTest::newRow("Swiss German") << "de_CH" << "de_DE" << german << promptsGerman;
        QTest::newRow("English") << "en_US" << "" << english << promptsEnglish;
        QTest::newRow("French, untranslated") << "fr_FR" << "" << english << promptsEnglish;
        QTest::newRow("C") << "C" << "" << english << promptsEnglish;
    }
    void captions()
    {
        QFETCH(QString, locale);
        QFETCH(QStringList, prompts);
        const Translations language{QLocale(locale)};
        QTEST(language.language(), "language");
        Windows w;
        w.store.params.MultiStageShift = true;
        w.store.params.VSSGearDetect = false;
        w.store.params.LaunchRPM = 4000;
        w.editor.refresh();
        QStringList captions{w.main.mnuFile->title(), w.main.mnuDownload->text(), w.gpo.windowTitle(), w.gpo.findChild<QLabel*>("lblGPOMinRPM")->text(),
                                   w.vss.windowTitle(), QAccessible::queryAccessibleInterface(w.vss.chkAlarmVSSEnable)->text(QAccessible::Name),
                                   w.alarms.windowTitle(), w.alarms.lblAlarm2Color->text(),
                                   w.alarms.fraAlarm1Analog->title(), w.alarms.cmdRestoreDefaults->text(),
                                   w.editor.findChild<QLabel*>("lblGear3")->text(), w.editor.chkVSSGearDetect->text(),
                                   w.editor.shiftChart->accessibleDescription().section("; ", -1),
                                   QDialogButtonBox(QDialogButtonBox::Cancel).buttons().value(0)->text(),
                                   w.editor.txtLaunchRPM->toolTip()};
        // The printed sheet's second page: its first heading and the alarm's input line.
        const QStringList sheet = report::toPlainText(QList<report::Page>{report::page2(w.store.params, {})}).split('\n');
        captions << sheet.value(2).trimmed() << sheet.value(5).trimmed();
        QTEST(captions, "captions");
        w.prompter.expectBox(prompts[0], prompts[1], PromptButtons::OK, PromptIcon::None, PromptAnswer::OK);
        QVERIFY(!frmGPO::canOpen(w.store.params, w.prompter));
        w.prompter.expectBox("x", prompts[2], PromptButtons::AbortRetryIgnore, PromptIcon::Critical, PromptAnswer::Abort);
        HandleError(w.prompter, "x");
        // A field's range, in the window's language (the command-line tool keeps the English).
        w.prompter.expectBox(prompts[3], prompts[4], PromptButtons::OK, PromptIcon::Exclamation, PromptAnswer::OK);
        w.editor.txtLaunchRPM->setText("50");
        w.editor.txtLaunchRPM->setModified(true);
        QTest::keyClick(w.editor.txtLaunchRPM, Qt::Key_Return);
        w.prompter.expectBox(prompts[5], prompts[6], PromptButtons::OK, PromptIcon::Exclamation, PromptAnswer::OK);
        w.editor.txtTPSZero->setText("-1");
        w.editor.txtTPSZero->setModified(true);
        QTest::keyClick(w.editor.txtTPSZero, Qt::Key_Return);
        // The link's words, a refusal with its transfer's verb in it among them.
        w.controller.setStatus(2);
        w.main.setLinkTiming(LinkTiming{30, 0});
        w.prompter.expectBox(prompts[7], prompts[8], PromptButtons::OK, PromptIcon::Exclamation, PromptAnswer::OK);
        w.main.mnuDownload->trigger();
        QCOMPARE(w.main.windowTitle().remove("[*]").section(" - ", -1), prompts[9]);
        QVERIFY_PROMPTS(w.prompter);
    }

    // Every caption shown is as wide as its text needs, in German as in English.
    void captionsFit_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("German") << "de_DE";
        QTest::newRow("English") << "en_US";
    }
    void captionsFit()
    {
        QFETCH(QString, locale);
        const Translations language{QLocale(locale)};
        Windows w;
        w.store.params.MultiStageShift = w.store.params.VSSGearDetect = true;
        w.editor.refresh();
        QStringList cut;
        for (QWidget* window : w.all()) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            for (QWidget* c : window->findChildren<QWidget*>()) {
                const auto* label = qobject_cast<QLabel*>(c);
                const auto* button = qobject_cast<QAbstractButton*>(c);
                const auto* frame = qobject_cast<QGroupBox*>(c);
                if (!c->isVisible() || !(label || button || frame) || (label && label->wordWrap()))
                    continue;
                const QSize needed = frame ? c->minimumSizeHint() : c->sizeHint();
                if (c->width() < needed.width() || c->height() < needed.height())
                    cut << QStringLiteral("%1 %2x%3 < %4x%5").arg(c->objectName()).arg(c->width()).arg(c->height())
                               .arg(needed.width()).arg(needed.height());
            }
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join('\n')));
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
