#include "emulator/emulatedport.h"

#include <chrono>
#include <thread>

bool EmulatedPort::open(QString* error)
{
    QString why = openError_;
    if (why.isEmpty() && controller_.isDisconnected())
        why = QStringLiteral("The controller's port is gone. Check the cable and the controller's power, then try again.");
    if (!why.isEmpty()) {
        if (error)
            *error = why;
        return false;
    }
    open_ = true;
    ++openCount_;
    received_.clear();
    return true;
}

void EmulatedPort::close()
{
    // Whatever the controller said and nobody read is lost with the port.
    open_ = false;
    received_.clear();
}

int EmulatedPort::readByte()
{
    if (!open_ || received_.isEmpty())
        return -1;
    const int b = uint8_t(received_.front());
    received_.remove(0, 1);
    return b;
}

bool EmulatedPort::writeByte(uint8_t byte)
{
    if (!open_)
        return false;
    written_.append(char(byte));
    if (onWrite)
        onWrite(byte);
    received_.append(controller_.receive(byte));
    if (controller_.isDisconnected())
        close();  // the device went away under the open port
    return true;
}

bool EmulatedPort::waitForBytes(int count, int msecs)
{
    if (open_ && received_.size() >= count)
        return true;
    if (msecs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(msecs));
    return open_ && received_.size() >= count;
}

void EmulatedPort::raiseLineError(LineError error)
{
    if (open_)
        reportLineError(error);
}
