#pragma once
// The port interface backed by an emulated controller in the same process: every
// byte written goes straight to the controller, and its answer is readable at once.
#include "emulator/controller.h"
#include "link/port.h"

#include <QByteArray>
#include <QString>
#include <functional>

class EmulatedPort : public Port {
public:
    // The controller must outlive the port.
    explicit EmulatedPort(EmulatedController& controller) : controller_(controller) {}

    // Recorded only: the emulated line is the same whatever the name.
    void setPortName(const QString& name) override { portName_ = name; }
    QString portName() const { return portName_; }
    bool open(QString* error) override;
    void close() override;
    bool isOpen() const override { return open_; }
    int bytesWaiting() override { return open_ ? int(received_.size()) : 0; }
    int readByte() override;
    bool writeByte(uint8_t byte) override;
    void discardInput() override { received_.clear(); }
    // Answers come at once, so a wait that is not already satisfied can only time
    // out: it sleeps the whole `msecs` (callers use short deadlines in tests).
    bool waitForBytes(int count, int msecs) override;

    EmulatedController& controller() { return controller_; }

    // Every byte that reached the line, in order, since the last clearWritten().
    QByteArray written() const { return written_; }
    void clearWritten() { written_.clear(); }
    // Called with each byte that reaches the line, before the controller sees it.
    std::function<void(uint8_t)> onWrite;

    int openCount() const { return openCount_; }
    // Makes the next opens fail with this text (a missing or busy port); an empty
    // text lets them succeed again.
    void setOpenError(const QString& error) { openError_ = error; }
    // Reports a line error to the owner, as the real port does while it waits.
    void raiseLineError(LineError error);

private:
    EmulatedController& controller_;
    QByteArray received_;  // the controller's answers not yet read
    QByteArray written_;
    QString openError_;
    QString portName_;
    bool open_ = false;
    int openCount_ = 0;
};
