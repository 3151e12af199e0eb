#include "link/winserialport.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <algorithm>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace {
// Longest blocking wait between two looks at the driver's error mask.
constexpr int kErrorPollMs = 50;
// A write that the driver has not taken after this long has failed (the
// QSerialPort backend waits as long for its bytes to be written).
constexpr DWORD kWriteTimeoutMs = 1000;

HANDLE handleOf(void* h) { return static_cast<HANDLE>(h); }

QString systemMessage(DWORD code)
{
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString message = n ? QString::fromWCharArray(text, int(n)).trimmed() : QStringLiteral("error %1").arg(code);
    LocalFree(text);
    if (message.endsWith(QLatin1Char('.')))
        message.chop(1);
    return message;
}
}  // namespace

WinSerialPort::~WinSerialPort()
{
    close();
}

void WinSerialPort::setPortName(const QString& name)
{
    if (m_handle)
        return;  // takes effect at the next open
    m_name = name;
}

QString WinSerialPort::devicePath(const QString& name)
{
    const QString t = name.trimmed();
    if (t.startsWith(QLatin1String("\\\\.\\")))
        return t;
    static const QRegularExpression com(QStringLiteral("^com([0-9]{1,3})$"), QRegularExpression::CaseInsensitiveOption);
    if (const auto m = com.match(t); m.hasMatch())
        return QStringLiteral("\\\\.\\COM%1").arg(m.captured(1).toInt());
    return t;
}

QString WinSerialPort::openErrorText(unsigned long code, const QString& port, const QString& choosePortHint)
{
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return QStringLiteral("The serial port %1 does not exist. Check that the adapter is plugged in and "
                              "choose the right port %2.")
            .arg(port, choosePortHint);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        // Windows gives a port to one program at a time and says "access denied"
        // to the second.
        return QStringLiteral("The serial port %1 cannot be opened: it is in use by another program "
                              "(close that program and try again).")
            .arg(port);
    default:
        return QStringLiteral("The serial port %1 cannot be opened (%2). Check the adapter and the port "
                              "chosen %3.")
            .arg(port, systemMessage(code), choosePortHint);
    }
}

QList<LineError> WinSerialPort::lineErrorsOf(unsigned long e)
{
    QList<LineError> errors;
    if (e & CE_FRAME)
        errors << LineError::Framing;
    if (e & CE_OVERRUN)
        errors << LineError::Overrun;
    if (e & CE_RXOVER)
        errors << LineError::RxOverflow;
    if (e & CE_RXPARITY)
        errors << LineError::Parity;
    if (e & CE_BREAK)
        errors << LineError::Break;
    if (e & CE_TXFULL)
        errors << LineError::TxFull;
    return errors;
}

bool WinSerialPort::open(QString* error)
{
    if (m_handle)
        return true;
    const auto fail = [&](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    if (m_name.trimmed().isEmpty())
        return fail(QStringLiteral("No serial port chosen. Choose one %1.").arg(choosePortHint()));
    const QString path = devicePath(m_name);
    const HANDLE h = CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), GENERIC_READ | GENERIC_WRITE, 0,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return fail(openErrorText(GetLastError(), m_name, choosePortHint()));
    m_handle = h;
    m_wasLost = false;
    m_pending.clear();
    m_actualBaud = 0;
    m_interval = m_constant = 1;

    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    bool ok = GetCommState(h, &dcb);
    if (ok) {
        dcb.BaudRate = kBaudRate;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        dcb.fBinary = TRUE;
        dcb.fParity = FALSE;
        dcb.fOutxCtsFlow = FALSE;
        dcb.fOutxDsrFlow = FALSE;
        dcb.fDtrControl = DTR_CONTROL_ENABLE;  // the controller's interface is powered from DTR
        dcb.fDsrSensitivity = FALSE;
        dcb.fOutX = FALSE;  // XON and XOFF are data bytes of the image
        dcb.fInX = FALSE;
        dcb.fErrorChar = FALSE;
        dcb.fNull = FALSE;  // NUL bytes are data too
        dcb.fRtsControl = RTS_CONTROL_DISABLE;
        // Errors are collected by ClearCommError; with abort on, every error
        // would fail the reads until then.
        dcb.fAbortOnError = FALSE;
        ok = SetCommState(h, &dcb);
    }
    if (!ok) {
        close();
        return fail(QStringLiteral("The serial port %1 did not accept 56000 baud, 8 data bits, no parity "
                                   "(%2), and the controller only talks that way. Use an adapter that supports "
                                   "this rate.")
                        .arg(m_name, systemMessage(GetLastError())));
    }
    DCB set{};
    set.DCBlength = sizeof set;
    if (GetCommState(h, &set))
        m_actualBaud = set.BaudRate;
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;  // reads return at once; waits set their own
    timeouts.WriteTotalTimeoutConstant = kWriteTimeoutMs;
    SetCommTimeouts(h, &timeouts);
    m_interval = MAXDWORD;
    m_constant = 0;
    PurgeComm(h, PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR);
    DWORD ignored = 0;
    ClearCommError(h, &ignored, nullptr);  // errors from before the open are not ours
    return true;
}

void WinSerialPort::close()
{
    if (m_handle)
        CloseHandle(handleOf(m_handle));
    m_handle = nullptr;
    m_pending.clear();
}

bool WinSerialPort::isOpen() const
{
    return m_handle != nullptr;
}

void WinSerialPort::lose()
{
    // The device went away (unplugged adapter): closed at once and marked lost,
    // so that the running transaction ends as a lost port with nothing asked.
    m_wasLost = true;
    close();
}

bool WinSerialPort::poll(unsigned long* inQueue)
{
    if (!m_handle)
        return false;
    DWORD errors = 0;
    COMSTAT stat{};
    // A failed call leaves `errors` as it was: it never counts as a line error.
    // (Wine fails it once the pseudo-terminal behind a COM port hangs up, and
    // reports no line errors at all while it works.)
    if (!ClearCommError(handleOf(m_handle), &errors, &stat)) {
        lose();
        return false;
    }
    for (LineError e : lineErrorsOf(errors)) {
        reportLineError(e);
        if (!m_handle)
            return false;  // the listener closed the port
    }
    if (inQueue)
        *inQueue = stat.cbInQue;
    return true;
}

bool WinSerialPort::setReadTimeouts(unsigned long interval, unsigned long constant)
{
    if (interval == m_interval && constant == m_constant)
        return true;
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = interval;
    timeouts.ReadTotalTimeoutConstant = constant;
    timeouts.WriteTotalTimeoutConstant = kWriteTimeoutMs;
    if (!SetCommTimeouts(handleOf(m_handle), &timeouts))
        return false;
    m_interval = interval;
    m_constant = constant;
    return true;
}

bool WinSerialPort::fetch()
{
    unsigned long waiting = 0;
    if (!poll(&waiting))
        return false;
    if (waiting == 0)
        return true;
    // MAXDWORD, 0: the read takes what is there and returns at once.
    if (!setReadTimeouts(MAXDWORD, 0)) {
        lose();
        return false;
    }
    QByteArray buf(int(waiting), Qt::Uninitialized);
    DWORD got = 0;
    if (!ReadFile(handleOf(m_handle), buf.data(), waiting, &got, nullptr)) {
        lose();
        return false;
    }
    m_pending.append(buf.constData(), int(got));
    return true;
}

bool WinSerialPort::waitOneByte(int msecs)
{
    // A read of one byte with only a total timeout returns as soon as a byte
    // is there, and sleeps in the driver until then. (The "MAXDWORD, MAXDWORD,
    // n" setting would do the same on Windows, but Wine waits the whole n.)
    if (!setReadTimeouts(0, DWORD(std::max(msecs, 1)))) {
        lose();
        return false;
    }
    char c = 0;
    DWORD got = 0;
    if (!ReadFile(handleOf(m_handle), &c, 1, &got, nullptr)) {
        lose();
        return false;
    }
    if (got == 1)
        m_pending.append(c);
    return true;
}

int WinSerialPort::bytesWaiting()
{
    if (!fetch())
        return 0;
    return int(m_pending.size());
}

int WinSerialPort::readByte()
{
    if (m_pending.isEmpty() && bytesWaiting() == 0)
        return -1;
    const auto b = static_cast<uint8_t>(m_pending.at(0));
    m_pending.remove(0, 1);
    return b;
}

bool WinSerialPort::writeByte(uint8_t byte)
{
    if (!m_handle)
        return false;
    const char c = static_cast<char>(byte);
    DWORD written = 0;
    if (!WriteFile(handleOf(m_handle), &c, 1, &written, nullptr)) {
        lose();
        return false;
    }
    return written == 1;
}

void WinSerialPort::discardInput()
{
    if (!m_handle)
        return;
    PurgeComm(handleOf(m_handle), PURGE_RXABORT | PURGE_RXCLEAR);
    m_pending.clear();
}

bool WinSerialPort::waitForBytes(int count, int msecs)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (!fetch())
            return false;
        if (m_pending.size() >= count)
            return true;
        const qint64 left = msecs - clock.elapsed();
        if (left <= 0)
            return false;
        if (!waitOneByte(int(std::min<qint64>(left, kErrorPollMs))))
            return false;
    }
}

QList<portsettings::PortRecord> scanSerialPorts(const QString& storedChoice)
{
    // Every port Windows knows is a value here: its driver's device name, and
    // the port's name as data ("\\Device\\VCP0" = "COM3"). (QSettings cannot read
    // it: the value names hold backslashes.)
    QList<std::pair<int, portsettings::PortRecord>> found;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        for (DWORD i = 0;; ++i) {
            wchar_t name[256];
            wchar_t data[64];
            DWORD nameSize = 256, dataSize = sizeof data, type = 0;
            const LONG r = RegEnumValueW(key, i, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize);
            if (r == ERROR_NO_MORE_ITEMS)
                break;
            if (r != ERROR_SUCCESS || type != REG_SZ)
                continue;
            const QString com = QString::fromWCharArray(data, int(dataSize / sizeof(wchar_t))).section(QChar(0), 0, 0).trimmed();
            const auto n = com.startsWith(QLatin1String("COM"), Qt::CaseInsensitive)
                               ? portsettings::parsePortNumber(com.mid(3))
                               : std::nullopt;
            if (!n)
                continue;
            portsettings::PortRecord rec;
            rec.device = QStringLiteral("Com%1").arg(*n);  // what the program stores and the list names
            rec.description = QString::fromWCharArray(name, int(nameSize)).section(QLatin1Char('\\'), -1);
            found.append({*n, rec});
        }
        RegCloseKey(key);
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QList<portsettings::PortRecord> records;
    bool choiceListed = storedChoice.isEmpty();
    for (const auto& [n, r] : found) {
        records << r;
        choiceListed = choiceListed || storedChoice.compare(r.device, Qt::CaseInsensitive) == 0;
    }
    // A Com n not present now appears once, in the Com list below the ports.
    const bool isCom = storedChoice.startsWith(QLatin1String("com"), Qt::CaseInsensitive);
    if (!choiceListed && !isCom) {
        portsettings::PortRecord r;
        r.device = storedChoice;
        r.exists = false;
        records << r;
    }
    return records;
}
