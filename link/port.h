#pragma once
// Everything that touches the serial line goes through this interface. One backend
// wraps QSerialPort; tests plug in the emulated controller in-process.
#include <QCoreApplication>
#include <QString>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

// Line errors the port reports while a transfer waits (the event numbers the
// error report uses: break 1001, framing 1004, overrun 1006, receive buffer
// overflow 1008, parity 1009, transmit buffer full 1010, device control block
// error 1011).
enum class LineError {
    Break = 1001,
    Framing = 1004,
    Overrun = 1006,
    RxOverflow = 1008,
    Parity = 1009,
    TxFull = 1010,
    DeviceControlBlock = 1011,
};

class Port {
public:
    virtual ~Port() = default;

    // The device the next open() uses (a path such as /dev/ttyUSB0, or COM3 on
    // Windows). Ports that stand for one fixed device ignore it.
    virtual void setPortName(const QString& name) { (void)name; }

    // Opens the device. On failure returns false and sets `error` to a plain
    // sentence for the person (what is wrong and what to do).
    virtual bool open(QString* error) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // True when the device went away while it was open (an adapter pulled out),
    // until the next open(): a port that is gone is not worth asking again.
    virtual bool wasLost() const { return false; }

    // Number of received bytes waiting to be read.
    virtual int bytesWaiting() = 0;
    // Reads one waiting byte; -1 when none is waiting.
    virtual int readByte() = 0;
    // Writes one byte; false when the port is closed or the write failed.
    virtual bool writeByte(uint8_t byte) = 0;
    // Drops everything waiting in the receive buffer.
    virtual void discardInput() = 0;
    // Blocks until at least `count` bytes are waiting or `msecs` have passed;
    // returns true when they are there. Never spins: it sleeps on the device.
    virtual bool waitForBytes(int count, int msecs) = 0;

    // Where the person chooses another port, for the advice after a failure: the
    // window's menu, unless the program says otherwise (the command line names
    // its --port option).
    void setChoosePortHint(const QString& hint) { m_choosePortHint = hint; }
    QString choosePortHint() const { return m_choosePortHint; }
    static QString windowChoosePortHint()
    {
        return QCoreApplication::translate("link", "under Communications > Port Setup");
    }

    // Who hears the line errors detected while the port is open: the most recent
    // listener still attached. Each owner detaches only itself, so a second link
    // on the same port takes the errors over while it lives and hands them back
    // when it goes, whatever the order the two end in.
    void attachLineErrorListener(const void* owner, std::function<void(LineError)> listener)
    {
        detachLineErrorListener(owner);
        m_lineErrorListeners.emplace_back(owner, std::move(listener));
    }
    void detachLineErrorListener(const void* owner)
    {
        for (auto it = m_lineErrorListeners.begin(); it != m_lineErrorListeners.end();)
            it = it->first == owner ? m_lineErrorListeners.erase(it) : it + 1;
    }

protected:
    // Backends report each line error here.
    void reportLineError(LineError error)
    {
        if (!m_lineErrorListeners.empty()) {
            // A copy: the listener may attach or detach while it runs.
            const auto listener = m_lineErrorListeners.back().second;
            listener(error);
        }
    }

private:
    QString m_choosePortHint = windowChoosePortHint();
    std::vector<std::pair<const void*, std::function<void(LineError)>>> m_lineErrorListeners;
};
