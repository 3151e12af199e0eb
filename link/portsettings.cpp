#include "link/portsettings.h"
#include "core/settings.h"

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
        *error = QStringLiteral("The stored port \"%1\" (CommPort in %2) is not a port number from %3 to %4.\r\n\r\n"
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
    return QStringLiteral("COM%1").arg(n);
#else
    const QString mapped = settings::portDevice(n);
    if (!mapped.isEmpty())
        return mapped;
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
#endif
}

bool mapPortDevice(int n, const QString& device, QString* error)
{
    QString where;
    if (settings::setPortDevice(n, device, &where))
        return true;
    if (error)
        *error = QStringLiteral("Cannot write Com%1 to the settings in %2. Check that the folder is writable.")
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
            *error = QStringLiteral("'%1' is not a port: use Com1 to Com255 or a device path such as /dev/ttyUSB0.")
                         .arg(text);
        return QString();
    }
    if (t.isEmpty() && error)
        *error = QStringLiteral("No port given: use Com1 to Com255 or a device path such as /dev/ttyUSB0.");
    return t;
}

QString portLabel(const PortRecord& r)
{
    if (!r.exists)
        return QStringLiteral("%1 (not found)").arg(r.byIdPath.isEmpty() ? r.device : r.byIdPath);
    QString about = r.description;
    if (!r.manufacturer.isEmpty())
        about = about.isEmpty() ? r.manufacturer : QStringLiteral("%1 (%2)").arg(about, r.manufacturer);
    return about.isEmpty() ? r.device : QStringLiteral("%1 \u2014 %2").arg(r.device, about);
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
