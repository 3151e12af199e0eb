#include "link/serialport.h"
#include "link/say.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMetaObject>
#include <QSerialPortInfo>
#include <QThread>
#include <cerrno>
#include <cstdlib>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#ifdef Q_OS_LINUX
// termbits.h, not termios.h: only the kernel's own header has termios2, the
// one structure that tells the real rate behind a custom (BOTHER) speed.
#include <asm/termbits.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

namespace {
// How far the kernel's rate may be from 56000 before the controller cannot
// understand it any more (a UART copes with about 2 %; adapters that divide
// their clock land within a fraction of that when they support the rate at all).
constexpr double kBaudTolerance = 0.02;
// Longest blocking wait between two looks at the line-error counters.
constexpr int kCounterPollMs = 50;
}  // namespace

SerialPort::SerialPort(QObject* parent) : QObject(parent)
{
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialPort::onError, Qt::DirectConnection);
}

SerialPort::~SerialPort()
{
    close();
}

void SerialPort::setPortName(const QString& name)
{
    if (m_port.isOpen())
        return;  // takes effect at the next open
    m_name = name;
    m_port.setPortName(name);
}

QString SerialPort::noPermissionText(const QString& port, const QString& group, const QString& user)
{
    return LinkSay::tr("Your user account may not use the serial port %1. Serial ports are for the members "
                   "of the group \"%2\"; add your account to it with\n    sudo usermod -aG %2 %3\nthen log "
                   "out and in again.")
        .arg(port, group, user);
}

QString SerialPort::openErrorText(QSerialPort::SerialPortError error, const QString& port, const QString& detail,
                                  const QString& choosePortHint)
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return LinkSay::tr("The serial port %1 does not exist. Check that the adapter is plugged in and "
                       "choose the right port %2.")
            .arg(port, choosePortHint);
    case QSerialPort::PermissionError: {
#ifdef Q_OS_UNIX
        // Qt reports a port that is busy and one we may not use with the same
        // code; the file's own permissions tell them apart.
        const QByteArray path = QFile::encodeName(port);
        struct stat st;
        if (::access(path.constData(), R_OK | W_OK) != 0 && errno == EACCES && ::stat(path.constData(), &st) == 0) {
            // The group that may read and write the device; "dialout", the serial
            // ports' group on Debian, when the device's own group may not.
            const bool groupMay = (st.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
            const struct group* g = groupMay ? ::getgrgid(st.st_gid) : nullptr;
            const struct passwd* pw = ::getpwuid(::geteuid());
            const QString user = pw ? QString::fromLocal8Bit(pw->pw_name) : qEnvironmentVariable("USER");
            return noPermissionText(port, g ? QString::fromLocal8Bit(g->gr_name) : QStringLiteral("dialout"), user);
        }
#endif
        return LinkSay::tr("The serial port %1 cannot be opened: it may be in use by another program "
                       "(close that program and try again), or your user account may not be allowed "
                       "to use serial ports (on Linux, ask for your account to be added to the "
                       "\"dialout\" group, then log out and in again).")
            .arg(port);
    }
    default:
        return LinkSay::tr("The serial port %1 cannot be opened (%2). Check the adapter and the port "
                       "chosen %3.")
            .arg(port, detail, choosePortHint);
    }
}

bool SerialPort::open(QString* error)
{
    if (m_port.isOpen())
        return true;
    const QString name = m_name;
    if (name.isEmpty()) {
        if (error)
            *error = LinkSay::tr("No serial port chosen. Choose one %1.").arg(choosePortHint());
        return false;
    }
    m_lost = false;
    m_wasLost = false;
    m_hasCounters = false;
    m_configuring = true;
    m_port.setBaudRate(kBaudRate);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    // A stable name (/dev/serial/by-id/...) is a link to the device of the day;
    // Qt's lock file wants the device itself.
    const QFileInfo link(name);
    m_port.setPortName(link.isSymLink() && link.exists() ? link.canonicalFilePath() : name);
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_configuring = false;
        if (error)
            *error = openErrorText(m_port.error(), name, m_port.errorString(), choosePortHint());
        m_port.clearError();
        return false;
    }
    // A pseudo-terminal refuses the modem lines ("Inappropriate ioctl for
    // device"); that is no reason not to talk over it.
    m_port.setDataTerminalReady(true);
    m_port.setRequestToSend(false);
    m_port.clearError();
    m_configuring = false;

#ifdef Q_OS_LINUX
    const int fd = static_cast<int>(m_port.handle());
    struct termios2 tio;
    if (::ioctl(fd, TCGETS2, &tio) == 0) {
        const qint64 got = static_cast<qint64>(tio.c_ospeed);
        if (got > 0 && std::abs(got - kBaudRate) > kBaudRate * kBaudTolerance) {
            close();
            if (error)
                *error = LinkSay::tr("The serial adapter on %1 did not accept 56000 baud (it runs at %2 "
                                 "baud), and the controller only talks at 56000 baud. Use an adapter "
                                 "that supports this rate.")
                             .arg(name)
                             .arg(got);
            return false;
        }
    }
    // Every byte of the protocol waits for its reply, so a USB adapter that holds
    // replies back for its latency timer (16 ms by default) costs that on every
    // round trip. The driver lowers it to 1 ms in low-latency mode. A
    // pseudo-terminal or a built-in UART refuses or ignores the request: that is fine.
    struct serial_struct serial;
    if (::ioctl(fd, TIOCGSERIAL, &serial) == 0 && !(serial.flags & ASYNC_LOW_LATENCY)) {
        serial.flags |= ASYNC_LOW_LATENCY;
        (void)::ioctl(fd, TIOCSSERIAL, &serial);
    }
    struct serial_icounter_struct ic;
    if (::ioctl(fd, TIOCGICOUNT, &ic) == 0) {
        m_hasCounters = true;
        m_counters = {ic.frame, ic.overrun, ic.buf_overrun, ic.parity, ic.brk};
    }
#endif
    return true;
}

void SerialPort::close()
{
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
    m_lost = false;
}

bool SerialPort::isOpen() const
{
    return m_port.isOpen() && !m_lost;
}

void SerialPort::onError(QSerialPort::SerialPortError error)
{
    if (m_configuring)
        return;
    switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
        // The device went away (unplugged adapter, closed terminal). Qt keeps
        // the port open and repeats the error on every notification, so the
        // port is closed at once: the running transaction then fails through
        // its deadline and the person sees one prompt, not a flood. Closed
        // from the event loop, not from inside Qt's own notification.
        if (!m_lost) {
            m_lost = true;
            m_wasLost = true;
            QMetaObject::invokeMethod(this, [this] { dropIfLost(); }, Qt::QueuedConnection);
        }
        break;
    default:
        // NoError on open and TimeoutError on every timed-out wait are not line errors.
        break;
    }
}

bool SerialPort::dropIfLost()
{
    if (!m_lost)
        return false;
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
    return true;
}

void SerialPort::pollLineCounters()
{
#ifdef Q_OS_LINUX
    if (!m_hasCounters || !m_port.isOpen())
        return;
    struct serial_icounter_struct ic;
    if (::ioctl(static_cast<int>(m_port.handle()), TIOCGICOUNT, &ic) != 0)
        return;
    const std::array<int, 5> now{ic.frame, ic.overrun, ic.buf_overrun, ic.parity, ic.brk};
    static constexpr LineError kinds[5] = {LineError::Framing, LineError::Overrun, LineError::RxOverflow,
                                           LineError::Parity, LineError::Break};
    const std::array<int, 5> before = m_counters;
    m_counters = now;
    for (int i = 0; i < 5; ++i) {
        // One report per kind and look, however many the burst held.
        if (now[i] != before[i] && m_port.isOpen())
            reportLineError(kinds[i]);
    }
#endif
}

int SerialPort::bytesWaiting()
{
    if (dropIfLost() || !m_port.isOpen())
        return 0;
    if (m_port.bytesAvailable() == 0)
        m_port.waitForReadyRead(0);  // fetch what the kernel holds, without waiting
    if (dropIfLost() || !m_port.isOpen())
        return 0;
    return static_cast<int>(m_port.bytesAvailable());
}

int SerialPort::readByte()
{
    if (bytesWaiting() == 0)
        return -1;
    char c = 0;
    if (!m_port.getChar(&c))
        return -1;
    return static_cast<uint8_t>(c);
}

bool SerialPort::writeByte(uint8_t byte)
{
    if (dropIfLost() || !m_port.isOpen())
        return false;
    if (!m_port.putChar(static_cast<char>(byte)))
        return false;
    // Qt hands written bytes to the device from the event loop; the protocol's
    // pauses count from the moment the byte left, so push it out now.
    const bool ok = m_port.waitForBytesWritten(1000);
    dropIfLost();
    return ok;
}

void SerialPort::discardInput()
{
    if (dropIfLost() || !m_port.isOpen())
        return;
    m_port.clear(QSerialPort::Input);
    m_port.readAll();  // whatever Qt had already taken from the device
}

bool SerialPort::waitForBytes(int count, int msecs)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        pollLineCounters();
        if (dropIfLost() || !m_port.isOpen())
            return false;
        if (m_port.bytesAvailable() >= count)
            return true;
        const qint64 left = msecs - clock.elapsed();
        if (left <= 0)
            return false;
        const int slice = static_cast<int>(m_hasCounters ? std::min<qint64>(left, kCounterPollMs) : left);
        const qint64 sliceStart = clock.elapsed();
        if (!m_port.waitForReadyRead(slice)) {
            const QSerialPort::SerialPortError e = m_port.error();
            if (e != QSerialPort::NoError && e != QSerialPort::TimeoutError) {
                onError(e);
            } else if (clock.elapsed() == sliceStart && slice > 1) {
                // Woken without data or error: sleep a little rather than spin.
                QThread::msleep(1);
            }
            m_port.clearError();
        }
    }
}

namespace {
#ifdef Q_OS_LINUX
// A built-in UART the kernel registered without hardware behind it (type 0,
// "unknown") opens but never answers: not worth a place in the list.
bool isPhantomUart(const QString& device)
{
    const QString name = QFileInfo(device).fileName();
    if (!name.startsWith(QLatin1String("ttyS")))
        return false;
    QFile type(QStringLiteral("/sys/class/tty/%1/type").arg(name));
    return type.open(QIODevice::ReadOnly) && type.readAll().trimmed() == "0";
}
#endif
}  // namespace

QList<portsettings::PortRecord> scanSerialPorts(const QString& storedChoice)
{
    // The stable names, by the device each stands for today.
    QHash<QString, QString> byId;
    const QDir links(QStringLiteral("/dev/serial/by-id"));
    for (const QFileInfo& fi : links.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name))
        if (fi.isSymLink() && fi.exists())
            byId.insert(fi.canonicalFilePath(), fi.absoluteFilePath());

    QList<portsettings::PortRecord> records;
    bool choiceListed = storedChoice.isEmpty() || !storedChoice.startsWith(QLatin1Char('/'));
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        const QString device = info.systemLocation();
#ifdef Q_OS_LINUX
        if (isPhantomUart(device))
            continue;
#endif
        portsettings::PortRecord r{device, info.description(), info.manufacturer(), byId.value(device), true,
                                   portsettings::usbLatencyTimer(device)};
        choiceListed = choiceListed || storedChoice == r.device || storedChoice == r.byIdPath;
        records << r;
    }
    if (!choiceListed) {
        portsettings::PortRecord r;
        r.device = storedChoice;
        r.exists = QFileInfo::exists(storedChoice);
        if (storedChoice.startsWith(links.path() + QLatin1Char('/')))
            r.byIdPath = storedChoice;
        records << r;
    }
    return records;
}
