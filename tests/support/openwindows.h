#pragma once
// The program's windows as a person has them open, built in the language installed now,
// against an emulated controller and a settings store of the test's own.
#include "alarms/frmalarms.h"
#include "editor/parametereditor.h"
#include "emulator/emulatedport.h"
#include "gpo/frmgpo.h"
#include "shell/mainwindow.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"
#include "vss_alarm/frmalarmvss.h"

#include <QTemporaryDir>

// The window reads and writes the settings store and the recent files: a private one.
inline void usePrivateSettings()
{
    static QTemporaryDir home;
    QVERIFY(home.isValid());
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath("data").toUtf8());
    qputenv("HOME", home.filePath("home").toUtf8());
}

struct Windows {
    // allShown: every alarm on, with the inputs that show the pressure and AFR boxes.
    explicit Windows(bool allShown = false) : store(prepared(allShown)) {}
    ParameterStore store;
    ScriptedPrompter prompter;
    EmulatedController controller;
    EmulatedPort port{controller};
    frmRevora_Main main{prompter, port, {QStringLiteral("Velmont Sensors")}};
    frmGPO gpo{store.params, prompter};
    frmAlarmVSS vss{store.params, prompter};
    frmAlarms alarms{store.params, prompter};
    ParameterEditor editor{store, prompter};
    void editorMode(bool multiStage, bool gearDetect)
    {
        store.params.MultiStageShift = multiStage;
        store.params.VSSGearDetect = gearDetect;
        editor.refresh();
    }

    static ParameterStore prepared(bool allShown)
    {
        ParameterStore s = defaultsStore();
        if (allShown) {
            ParameterSet& p = s.params;
            p.Alarm1Enable = p.Alarm2Enable = p.GPOEnable = p.AlarmVSSEnable = true;
            p.Alarm1Input = 2;  // MAP
            p.Alarm2Input = 1;
            p.AlarmVSSColor = 0x0000FF;  // red in the low byte
        }
        return s;
    }
};
