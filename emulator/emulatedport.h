#pragma once
// The port interface backed by an emulated controller in the same process: every
// byte written goes to the controller over a modelled line. With the controller's
// default (instant) line model its answer is readable at once.
#include "emulator/controller.h"
#include "emulator/line.h"
#include "link/port.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <functional>

class EmulatedPort : public Port {
public:
    // The controller must outlive the port.
    explicit EmulatedPort(EmulatedController& controller) : controller_(controller), line_(controller)
    {
        clock_.start();
    }

    // Recorded only: the emulated line is the same whatever the name.
    void setPortName(const QString& name) override { portName_ = name; }
    QString portName() const { return portName_; }
    bool open(QString* error) override;
    void close() override;
    bool isOpen() const override { return open_; }
    bool wasLost() const override { return lost_; }
    int bytesWaiting() override { return open_ ? line_.arrived(nowNs()) : 0; }
    int readByte() override;
    bool writeByte(uint8_t byte) override;
    void discardInput() override { line_.discardArrived(nowNs()); }
    // Sleeps until the bytes have come over the modelled line or `msecs` have
    // passed. On the instant line answers come at once, so a wait that is not
    // already satisfied can only time out: it sleeps the whole `msecs` (callers
    // use short deadlines in tests).
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
    qint64 nowNs() const { return clock_.nsecsElapsed(); }

    EmulatedController& controller_;
    ModelledLine line_;  // the controller's answers on their way and not yet read
    QElapsedTimer clock_;
    QByteArray written_;
    QString openError_;
    QString portName_;
    bool open_ = false;
    bool lost_ = false;
    int openCount_ = 0;
};
