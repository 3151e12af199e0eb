#pragma once
#include <QtGlobal>
#ifdef Q_OS_WIN
// Windows has a backend of its own on the Win32 API (no Qt Serial Port there).
#include "link/winserialport.h"
#else
// The real serial line: a QSerialPort set up the way the controller talks
// (56000 baud, 8 data bits, no parity, 1 stop bit, no flow control, DTR raised,
// NUL bytes kept, one byte per read).
#include "link/port.h"
#include "link/portsettings.h"

#include <QObject>
#include <QSerialPort>
#include <array>

class SerialPort : public QObject, public Port {
    Q_OBJECT
public:
    static constexpr qint32 kBaudRate = 56000;

    explicit SerialPort(QObject* parent = nullptr);
    ~SerialPort() override;

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

    // The plain sentence for an open failure of `port` with Qt's error code.
    // Said when the account may not use the port: the exact command that fixes it.
    static QString noPermissionText(const QString& port, const QString& group, const QString& user);
    static QString openErrorText(QSerialPort::SerialPortError error, const QString& port, const QString& detail,
                                 const QString& choosePortHint = windowChoosePortHint());

private:
    void onError(QSerialPort::SerialPortError error);
    // Closes the port if the device went away since the last call.
    bool dropIfLost();
    // Reads the kernel's line-error counters and reports what increased.
    void pollLineCounters();

    QSerialPort m_port;
    QString m_name;  // as given: Qt shortens /dev/ttyUSB0 to ttyUSB0
    bool m_configuring = false;  // errors while setting up are handled by open() itself
    bool m_lost = false;
    bool m_wasLost = false;  // m_lost, kept after the port was closed until the next open
    bool m_hasCounters = false;
    // frame, overrun, buffer overrun, parity, break
    std::array<int, 5> m_counters{};
};

// The serial ports of this system as records for the port list: the devices
// Qt finds (without the built-in UARTs that have no hardware behind them), each
// with its /dev/serial/by-id name where it has one, and `storedChoice` as a
// missing record when it is a path not present now.
QList<portsettings::PortRecord> scanSerialPorts(const QString& storedChoice = QString());
#endif
