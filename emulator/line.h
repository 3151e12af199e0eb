#pragma once
// The serial line between the PC and the emulated controller, with its time:
// every byte takes its byte time on the wire, the controller takes its own time
// to answer, and a USB serial adapter holds replies until its latency timer runs
// out. With an all-zero model everything arrives at once (the fast tests).
#include "emulator/controller.h"

#include <QByteArray>
#include <deque>
#include <utility>

class ModelledLine {
public:
    // The controller must outlive the line; its line model is the one used.
    explicit ModelledLine(EmulatedController& controller) : controller_(controller) {}

    // The PC hands `byte` to the line at `nowNs` (any monotonic clock, the same
    // for every call). The controller takes it one byte time later (later still
    // when the line is busy with an earlier byte) and its answer is put on the way back.
    void send(uint8_t byte, qint64 nowNs);
    // How many bytes have reached the PC by `nowNs`.
    int arrived(qint64 nowNs) const;
    // Takes up to `max` bytes that have reached the PC by `nowNs`.
    QByteArray take(qint64 nowNs, int max = 1 << 30);
    // When the next byte still on its way at `nowNs` reaches the PC; -1 when none is.
    qint64 nextArrivalNs(qint64 nowNs) const;
    // Drops the bytes that have reached the PC (what discarding input does);
    // bytes still on the wire arrive later, as on a real line.
    void discardArrived(qint64 nowNs);
    // Drops everything, also what is still on its way (the port was closed).
    void clear() { inFlight_.clear(); }

private:
    EmulatedController& controller_;
    std::deque<std::pair<qint64, char>> inFlight_;  // arrival time at the PC, byte; in order
    qint64 toControllerFreeNs_ = 0;  // the PC -> controller wire is busy until then
    qint64 toPcFreeNs_ = 0;          // the controller -> PC wire is busy until then
    qint64 flushAtNs_ = -1;          // the adapter's pending flush of held bytes
};
