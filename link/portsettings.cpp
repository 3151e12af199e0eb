#include "link/portsettings.h"
#include "link/say.h"
#include "core/settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace portsettings {

std::optional<int> parsePortNumber(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 3)
        return std::nullopt;
    for (QChar c : t)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    const int n = t.toInt();
    if (n < kFirstPort || n > kLastPort)
        return std::nullopt;
    return n;
}

QString comName(int n) { return QStringLiteral("Com%1").arg(n); }

std::optional<int> loadPortNumber(QString* error)
{
    const std::optional<QString> stored = settings::commPort();
    if (!stored)
        return kFirstPort;
    if (const auto n = parsePortNumber(*stored))
        return n;
    if (error)
        *error = LinkSay::tr("The stored port \"%1\" (CommPort in %2) is not a port number from %3 to %4.\r\n\r\n"
                         "Ignore uses Com%3; then choose the controller's port in Communications > Port Setup.")
                     .arg(*stored, settings::location())
                     .arg(kFirstPort)
                     .arg(kLastPort);
    return std::nullopt;
}

void savePortNumber(int n) { settings::setCommPort(n); }

QString deviceForPort(int n)
{
#ifdef Q_OS_WIN
    // The \\.\ form opens every port; plain COM10 and above would be files.
    return QStringLiteral("\\\\.\\COM%1").arg(n);
#else
    const QString mapped = settings::portDevice(n);
    if (!mapped.isEmpty())
        return mapped;
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
#endif

}

bool devicePresent(const QString& device)
{
#ifdef Q_OS_WIN
    QString name = device.trimmed();
    if (name.startsWith(QLatin1String("\\\\.\\")))
        name = name.mid(4);
    wchar_t target[1024];
    return !name.isEmpty() && QueryDosDeviceW(reinterpret_cast<const wchar_t*>(name.utf16()), target, 1024) != 0;
#else
    return QFileInfo::exists(device);
#endif
}

bool mapPortDevice(int n, const QString& device, QString* error)
{
    QString where;
    if (settings::setPortDevice(n, device, &where))
        return true;
    if (error)
        *error = LinkSay::tr("Cannot write Com%1 to the settings in %2. Check that the folder is writable.")
                     .arg(n)
                     .arg(where);
    return false;
}

void unmapPortDevice(int n, const QString& device) { settings::removePortDevice(n, device); }

QString resolvePortArgument(const QString& text, QString* error)
{
    const QString t = text.trimmed();
    if (t.startsWith(QLatin1String("com"), Qt::CaseInsensitive) && !t.contains(QLatin1Char('/'))) {
        if (auto n = parsePortNumber(t.mid(3)))
            return deviceForPort(*n);
        if (error)
#ifdef Q_OS_WIN
            *error = LinkSay::tr("'%1' is not a port: use Com1 to Com255 or a device name such as \\\\.\\COM3.")
                         .arg(text);
#else
            *error = LinkSay::tr("'%1' is not a port: use Com1 to Com255 or a device path such as /dev/ttyUSB0.")
                         .arg(text);
#endif
        return QString();
    }
    if (t.isEmpty()) {
        if (error)
#ifdef Q_OS_WIN
            *error = LinkSay::tr("No port given: use Com1 to Com255 or a device name such as \\\\.\\COM3.");
#else
            *error = LinkSay::tr("No port given: use Com1 to Com255 or a device path such as /dev/ttyUSB0.");
#endif
        return t;
    }
#ifndef Q_OS_WIN
    // A path means what it says, as every other path on the command line: a
    // relative one starts in the working folder. (Handed on as it is, the serial
    // layer would look for it under /dev.)
    if (QDir::isRelativePath(t))
        return QDir::cleanPath(QDir::current().absoluteFilePath(t));
#endif
    return t;
}

QString portLabel(const PortRecord& r)
{
    if (!r.exists)
        return LinkSay::tr("%1 (not found)").arg(r.byIdPath.isEmpty() ? r.device : r.byIdPath);
    QString about = r.description;
    if (!r.manufacturer.isEmpty())
        about = about.isEmpty() ? r.manufacturer : QStringLiteral("%1 (%2)").arg(about, r.manufacturer);
    QString label = about.isEmpty() ? r.device : QStringLiteral("%1 \u2014 %2").arg(r.device, about);
    if (r.latencyMs >= 0)
        label += LinkSay::tr(", latency timer %1 ms").arg(r.latencyMs);
    return label;
}

int usbLatencyTimer(const QString& device, const QString& sysfsRoot)
{
    const QFileInfo info(device);
    const QString name = QFileInfo(info.isSymLink() ? info.canonicalFilePath() : device).fileName();
    if (name.isEmpty())
        return -1;
    QFile file(QStringLiteral("%1/bus/usb-serial/devices/%2/latency_timer").arg(sysfsRoot, name));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    bool ok = false;
    const int ms = file.read(16).trimmed().toInt(&ok);
    return ok && ms >= 0 ? ms : -1;
}

QString latencyAdvice(const QList<PortRecord>& records)
{
    QStringList slow;
    QString command;
    for (const PortRecord& r : records) {
        if (r.latencyMs <= 1)
            continue;
        const QString name = QFileInfo(r.device).fileName();
        slow << QStringLiteral("%1 (%2 ms)").arg(r.device).arg(r.latencyMs);
        command = QStringLiteral("echo 1 | sudo tee /sys/bus/usb-serial/devices/%1/latency_timer").arg(name);
    }
    if (slow.isEmpty())
        return QString();
    return LinkSay::tr("The USB adapter %1 holds every reply up to its latency timer, which makes a transfer "
                   "much slower; the program asks for low-latency mode when it opens the port, and where "
                   "the driver keeps the timer this lowers it to 1 ms until the adapter is replugged:\n    %2")
        .arg(slow.join(QStringLiteral(", ")), command);
}

std::optional<PortRecord> adapterToOffer(const QString& storedChoice, const QList<PortRecord>& records)
{
    const auto isUsb = [](const PortRecord& r) {
        const QString name = QFileInfo(r.device).fileName();
        return r.exists && (r.byIdPath.contains(QLatin1String("/usb-")) || name.startsWith(QLatin1String("ttyUSB"))
                            || name.startsWith(QLatin1String("ttyACM")));
    };
    std::optional<PortRecord> only;
    for (const PortRecord& r : records) {
        if (r.exists && !storedChoice.isEmpty() && (r.device == storedChoice || r.byIdPath == storedChoice))
            return std::nullopt;  // the stored port is here
        if (isUsb(r)) {
            if (only)
                return std::nullopt;  // more than one: the person chooses
            only = r;
        }
    }
    // A ComN choice is present when its device is.
    if (storedChoice.startsWith(QLatin1String("Com"))) {
        const std::optional<int> n = parsePortNumber(storedChoice.mid(3));
        if (n && devicePresent(deviceForPort(*n)))
            return std::nullopt;
    }
    return only;
}

QList<PortEntry> portEntries(const QList<PortRecord>& records, const QMap<int, QString>& mapped)
{
    QList<PortEntry> list;
    for (const PortRecord& r : records)
        list << PortEntry{r.byIdPath.isEmpty() ? r.device : r.byIdPath, portLabel(r)};
    for (int n = kFirstPort; n <= kLastPort; ++n) {
        const QString com = comName(n);
        const QString device = mapped.value(n);
        list << PortEntry{com, device.isEmpty() ? com : QStringLiteral("%1 \u2014 %2").arg(com, device)};
    }
    return list;
}

QMap<int, QString> mappedPorts()
{
    QMap<int, QString> map;
    const QMap<QString, QString> stored = settings::portDevices();
    for (auto it = stored.cbegin(); it != stored.cend(); ++it)
        if (const auto n = parsePortNumber(it.key()))
            map.insert(*n, it.value());
    return map;
}

QString loadPortChoice(int number)
{
    const QString device = settings::commDevice();
    return device.isEmpty() ? comName(number) : device;
}

QString loadPortChoice() { return loadPortChoice(loadPortNumber().value_or(kFirstPort)); }

void savePortChoice(const QString& name)
{
    const QString t = name.trimmed();
    const auto n = t.startsWith(QLatin1String("com"), Qt::CaseInsensitive) ? parsePortNumber(t.mid(3)) : std::nullopt;
    settings::setCommDevice(n ? QString() : t);
    if (n)
        savePortNumber(*n);
}

}  // namespace portsettings
