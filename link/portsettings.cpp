#include "link/portsettings.h"
#include "core/appinfo.h"

#include <QFileInfo>
#include <QSettings>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace portsettings {

namespace {
// Every entry lives under the organisation and application "Revora_Shift"; the
// emulator writes its terminal's mapping with the very same pair.
const char* const kPortKey = "Properties/CommPort";
const char* const kDeviceKey = "Properties/CommDevice";
QString mapKey(int n) { return QStringLiteral("Ports/Com%1").arg(n); }
#ifdef Q_OS_WIN
const char* const kPortChoices = "Com1 to Com255 or a device name such as \\\\.\\COM3";
#else
const char* const kPortChoices = "Com1 to Com255 or a device path such as /dev/ttyUSB0";
#endif
}  // namespace

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

int loadPortNumber()
{
    QSettings s(appinfo::settingsOrganization(), appinfo::settingsApplication());
    return parsePortNumber(s.value(QLatin1String(kPortKey)).toString()).value_or(kFirstPort);
}

void savePortNumber(int n)
{
    QSettings s(appinfo::settingsOrganization(), appinfo::settingsApplication());
    s.setValue(QLatin1String(kPortKey), QString::number(n));
    s.sync();
}

QString deviceForPort(int n)
{
#ifdef Q_OS_WIN
    // The \\.\ form opens every port; plain COM10 and above would be files.
    return QStringLiteral("\\\\.\\COM%1").arg(n);
#else
    QSettings s(appinfo::settingsOrganization(), appinfo::settingsApplication());
    const QString mapped = s.value(mapKey(n)).toString().trimmed();
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

void mapPortDevice(int n, const QString& device)
{
    QSettings s(appinfo::settingsOrganization(), appinfo::settingsApplication());
    s.setValue(mapKey(n), device);
    s.sync();
}

QString resolvePortArgument(const QString& text, QString* error)
{
    const QString t = text.trimmed();
    if (t.startsWith(QLatin1String("com"), Qt::CaseInsensitive) && !t.contains(QLatin1Char('/'))) {
        if (auto n = parsePortNumber(t.mid(3)))
            return deviceForPort(*n);
        if (error)
            *error = QStringLiteral("'%1' is not a port: use %2.").arg(text, QLatin1String(kPortChoices));
        return QString();
    }
    if (t.isEmpty() && error)
        *error = QStringLiteral("No port given: use %1.").arg(QLatin1String(kPortChoices));
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
        const QString com = QStringLiteral("Com%1").arg(n);
        const QString device = mapped.value(n);
        list << PortEntry{com, device.isEmpty() ? com : QStringLiteral("%1 \u2014 %2").arg(com, device)};
    }
    return list;
}

QMap<int, QString> mappedPorts()
{
    QSettings s(appinfo::settingsOrganization(), appinfo::settingsApplication());
    QMap<int, QString> map;
    s.beginGroup(QStringLiteral("Ports"));
    for (const QString& key : s.childKeys()) {
        const QString device = s.value(key).toString().trimmed();
        if (!key.startsWith(QLatin1String("Com")) || device.isEmpty())
            continue;
        if (const auto n = parsePortNumber(key.mid(3)))
            map.insert(*n, device);
    }
    return map;
}

QString loadPortChoice()
{
    QSettings s(appinfo::settingsOrganization(), appinfo::settingsApplication());
    const QString device = s.value(QLatin1String(kDeviceKey)).toString().trimmed();
    return device.isEmpty() ? QStringLiteral("Com%1").arg(loadPortNumber()) : device;
}

void savePortChoice(const QString& name)
{
    QSettings s(appinfo::settingsOrganization(), appinfo::settingsApplication());
    const QString t = name.trimmed();
    const auto n = t.startsWith(QLatin1String("com"), Qt::CaseInsensitive) ? parsePortNumber(t.mid(3)) : std::nullopt;
    if (n)
        s.remove(QLatin1String(kDeviceKey));
    else
        s.setValue(QLatin1String(kDeviceKey), t);
    s.sync();
    if (n)
        savePortNumber(*n);
}

}  // namespace portsettings
