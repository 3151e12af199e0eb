#include "emulator/line.h"

#include <algorithm>

void ModelledLine::send(uint8_t byte, qint64 nowNs)
{
    const emu::LineModel& m = controller_.lineModel();
    const qint64 atController = std::max(nowNs, toControllerFreeNs_) + m.byteNs();
    toControllerFreeNs_ = atController;
    const QByteArray reply = controller_.receiveUs(byte, atController / 1000);
    if (reply.isEmpty())
        return;
    // The controller answers after its own time, one byte after the other.
    qint64 atAdapter = std::max(atController + qint64(m.answerUs) * 1000, toPcFreeNs_);
    const qint64 latencyNs = qint64(m.usbLatencyMs) * 1000000;
    for (char c : reply) {
        atAdapter += m.byteNs();
        qint64 atPc = atAdapter;
        if (latencyNs > 0) {
            // The adapter's latency timer starts with the first byte it holds; what
            // it holds when the timer runs out goes to the PC in one packet.
            if (flushAtNs_ < atAdapter)
                flushAtNs_ = atAdapter + latencyNs;
            atPc = flushAtNs_;
        }
        inFlight_.emplace_back(atPc, c);
    }
    toPcFreeNs_ = atAdapter;
}

int ModelledLine::arrived(qint64 nowNs) const
{
    int n = 0;
    for (const auto& b : inFlight_) {
        if (b.first > nowNs)
            break;
        ++n;
    }
    return n;
}

qint64 ModelledLine::nextArrivalNs(qint64 nowNs) const
{
    for (const auto& b : inFlight_)
        if (b.first > nowNs)
            return b.first;
    return -1;
}

QByteArray ModelledLine::take(qint64 nowNs, int max)
{
    QByteArray out;
    while (!inFlight_.empty() && inFlight_.front().first <= nowNs && out.size() < max) {
        out.append(inFlight_.front().second);
        inFlight_.pop_front();
    }
    return out;
}

void ModelledLine::discardArrived(qint64 nowNs)
{
    take(nowNs);
}
