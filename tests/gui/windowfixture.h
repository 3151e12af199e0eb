// A main window with its own prompts, emulated controller and settings store, for the window's part tests.
#pragma once

#include "core/document.h"
#include "editor/parametereditor.h"
#include "emulator/controller.h"
#include "emulator/emulatedport.h"
#include "link/link.h"
#include "shell/mainwindow.h"
#include "shell/portpanel.h"
#include "shell/recentfiles.h"
#include "shell/startpanel.h"
#include "shell/transfers.h"
#include "support/openwindows.h"

#include <QtTest>
#include <QtWidgets>

inline const QString kMain = QStringLiteral("Revora Shift Version 1.0");
inline const QString kOpenTitle = QStringLiteral("Open Data File");
inline const QString kDownloadTitle = QStringLiteral("Download From EEPROM");
inline const QString kFirmware = QStringLiteral("Firmware ID: Revora Shift Light v1.0");
inline const QString kOverwrite = QStringLiteral("Data buffer not empty. OK to overwrite?");

inline QSettings settingsStore() { return QSettings(QStringLiteral("Revora_Shift"), QStringLiteral("Revora_Shift")); }

// The base of every window test program: a private settings store, emptied for each test, and a files folder.
class WindowTest : public QObject {
    Q_OBJECT
protected:
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase() { usePrivateSettings(); }
    void init() { settingsStore().clear(); }
};

enum Start { Empty, Defaults };

struct Fixture {
    ScriptedPrompter prompter;
    EmulatedController controller;
    EmulatedPort port{controller};
    std::unique_ptr<frmRevora_Main> window;

    explicit Fixture(Start start = Empty, bool backUp = false)
        : window(std::make_unique<frmRevora_Main>(prompter, port, QStringList{"Velmont Sensors", "Line 2"}))
    {
        window->setLinkTiming(LinkTiming{30, 0});
        if (!backUp)  // the upload as it always was, unless a test asks for the backup
            window->mnuBackupBeforeUpload->setChecked(false);
        controller.setFirmwareId("Revora Shift Light v1.0");
        controller.setConfigBlock(defaultsBlock());
        if (start == Defaults)
            window->mnuDisplayDefaults->trigger();
    }
    bool show()
    {
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get());
    }
    ParameterEditor& ed() { return *window->editor(); }
    ParameterSet& params() { return window->store().params; }
    QByteArray image() { return window->store().image.configBlock(); }
    QLineEdit* field(const QString& name) { return window->findChild<QLineEdit*>(name); }
    QString title() { return window->windowTitle().remove("[*]"); }
    bool marked() { return window->isWindowModified(); }
    void open(const QString& file)
    {
        prompter.expect(QString(), kOpenTitle);
        window->openDataFile(file);
    }
    // Runs a menu command; every prompt scripted so far must have come.
    void run(QAction* command)
    {
        command->trigger();
        QVERIFY_PROMPTS(prompter);
    }
    void warns(const QString& text, const QString& title)
    {
        prompter.expectBox(text, title, PromptButtons::OK, PromptIcon::Exclamation, PromptAnswer::OK);
    }
    // Types into a field and leaves it, as a person does; its validation comes right after.
    void type(const QString& name, const QString& text)
    {
        field(name)->setFocus();
        field(name)->selectAll();
        QTest::keyClicks(field(name), text);
        field("txtVSSFreq" == name ? "txtLaunchRPM" : "txtVSSFreq")->setFocus();
        QCoreApplication::processEvents();
    }
    // What the window shows while nothing is loaded: the start panel, and no frame that can be edited.
    bool showsEmpty()
    {
        return !window->fraStart->isHidden() && ed().fraScaleFactors->isHidden() && ed().fraShiftSetup->isHidden()
               && !ed().fraMultiStageShiftSetup->isEnabled();
    }
};
