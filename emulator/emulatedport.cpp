#include "emulator/emulatedport.h"
#include "link/sleep.h"

#include <algorithm>
#include <chrono>

bool EmulatedPort::open(QString* error)
{
    QString why = openError_;
    if (why.isEmpty() && controller_.isUnplugged())
        why = QStringLiteral("The serial port %1 does not exist. Check that the adapter is plugged in.").arg(portName_);
    if (!why.isEmpty()) {
        if (error)
            *error = why;
        return false;
    }
    open_ = true;
    lost_ = false;
    ++openCount_;
    line_.clear();
    return true;
}

void EmulatedPort::close()
{
    // Whatever the controller said and nobody read is lost with the port.
    open_ = false;
    line_.clear();
}

int EmulatedPort::readByte()
{
    if (!open_)
        return -1;
    const QByteArray b = line_.take(nowNs(), 1);
    return b.isEmpty() ? -1 : uint8_t(b[0]);
}

bool EmulatedPort::writeByte(uint8_t byte)
{
    if (!open_)
        return false;
    written_.append(char(byte));
    if (onWrite)
        onWrite(byte);
    line_.send(byte, nowNs());
    if (controller_.isUnplugged()) {
        close();  // the device went away under the open port
        lost_ = true;
    }
    return true;
}

bool EmulatedPort::waitForBytes(int count, int msecs)
{
    using namespace std::chrono;
    const qint64 deadline = nowNs() + qint64(std::max(msecs, 0)) * 1000000;
    for (;;) {
        if (!open_)
            return false;
        if (line_.arrived(nowNs()) >= count)
            return true;
        // Sleeps until the next byte is due, or to the deadline when none is on its way.
        const qint64 now = nowNs();
        const qint64 next = line_.nextArrivalNs(now);
        const qint64 until = next >= 0 ? std::min(next, deadline) : deadline;
        if (now >= deadline)
            return false;
        if (until > now)
            linksleep::sleepFor(nanoseconds(until - now));
    }
}

void EmulatedPort::raiseLineError(LineError error)
{
    if (open_)
        reportLineError(error);
}
