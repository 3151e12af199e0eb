#pragma once
// A view that records what a transfer showed, and a link on the emulated
// controller with short deadlines.
#include "emulator/controller.h"
#include "emulator/emulatedport.h"
#include "link/link.h"
#include "support/scriptedprompter.h"

#include <QList>
#include <QStringList>

class RecordingView : public LinkView {
public:
    void showProgress(const QString& caption) override
    {
        events << QStringLiteral("show:") + caption;
        progressVisible = true;
        values.clear();
    }
    void setProgress(int percent) override { values << percent; }
    void hideProgress() override
    {
        events << QStringLiteral("hide");
        progressVisible = false;
    }
    void hideParameterFrames() override { framesVisible = false; }
    void setCaption(const QString& c) override { caption = c; }
    void refreshEditor() override { framesVisible = true; }

    QStringList events;
    QList<int> values;  // of the last progress display
    bool progressVisible = false;
    bool framesVisible = true;
    QString caption;
};

// Everything a test of the link needs: the controller answers at once and a
// silent reply is given up after a few milliseconds.
struct Rig {
    EmulatedController controller;
    EmulatedPort port{controller};
    ScriptedPrompter prompter;
    RecordingView view;
    LinkState state;
    ControllerLink link{port, prompter, view, state, LinkTiming{25, 0, 2}};  // deadline, pause, slice (ms)
    int reads = 0;

    // Esc pressed while the n-th byte of a block is read (or, with 0x16, written).
    void escAt(int n, uint8_t command = 0x15)
    {
        port.onWrite = [this, n, command](uint8_t b) { state.UserAbort |= b == command && ++reads == n; };
    }

    void fail(const QString& mode)
    {
        QString error;
        const auto failure = emu::parseFailure(mode, &error);
        if (!failure)
            qFatal("unknown failure mode %s: %s", qPrintable(mode), qPrintable(error));
        controller.addFailure(*failure);
    }
};
