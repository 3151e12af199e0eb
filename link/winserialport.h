#pragma once
// The real serial line on Windows, on the Win32 communications API: \\.\COMn set
// up the way the controller talks (56000 baud, 8 data bits, no parity, 1 stop
// bit, no flow control, DTR raised, NUL bytes kept). Line errors come from
// ClearCommError. Same interface and same messages as the QSerialPort backend
// used elsewhere (link/serialport.h).
#include "link/port.h"
#include "link/portsettings.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>

class WinSerialPort : public Port {
public:
    static constexpr std::int32_t kBaudRate = 56000;

    WinSerialPort() = default;
    ~WinSerialPort() override;
    WinSerialPort(const WinSerialPort&) = delete;
    WinSerialPort& operator=(const WinSerialPort&) = delete;

    // "COM3", "com3" or "\\.\COM3" (COM10 and above need the \\.\ form, so it is
    // always opened that way).
    void setPortName(const QString& name) override;
    QString portName() const { return m_name; }

    bool open(QString* error) override;
    void close() override;
    bool isOpen() const override;
    bool wasLost() const override { return m_wasLost; }
    int bytesWaiting() override;
    int readByte() override;
    bool writeByte(uint8_t byte) override;
    void discardInput() override;
    bool waitForBytes(int count, int msecs) override;

    // After open(): the rate the driver reports (0 when it cannot tell); every
    // Windows port reports its line errors.
    std::int64_t actualBaudRate() const { return m_actualBaud; }
    bool hasLineCounters() const { return isOpen(); }

    // The name CreateFile takes for a port name: "\\.\COM3".
    static QString devicePath(const QString& name);
    // The plain sentence for an open failure with the Win32 error code `code`.
    static QString openErrorText(unsigned long code, const QString& port,
                                 const QString& choosePortHint = windowChoosePortHint());
    // The line errors in a ClearCommError mask, one per kind, in a fixed order.
    static QList<LineError> lineErrorsOf(unsigned long commErrors);

private:
    // Reads the driver's error mask and queue; false (and the port closed) when
    // the device is gone.
    bool poll(unsigned long* inQueue = nullptr);
    // Moves what the driver holds into m_pending without waiting.
    bool fetch();
    // Waits up to `msecs` for one byte; false when the device is gone.
    bool waitOneByte(int msecs);
    bool setReadTimeouts(unsigned long interval, unsigned long constant);
    void lose();

    void* m_handle = nullptr;  // HANDLE; nullptr when closed
    bool m_wasLost = false;    // the device went away while open; kept until the next open
    QString m_name;
    QByteArray m_pending;  // read from the driver, not yet taken
    std::int64_t m_actualBaud = 0;
    unsigned long m_interval = 1, m_constant = 1;  // read timeouts in force (1, 1: not set yet)
};

using SerialPort = WinSerialPort;

// The serial ports Windows lists (HKLM\HARDWARE\DEVICEMAP\SERIALCOMM), as records
// for the port list; `storedChoice` as a missing record when it is a port not
// present now.
QList<portsettings::PortRecord> scanSerialPorts(const QString& storedChoice = QString());
