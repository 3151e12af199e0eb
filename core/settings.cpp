#include "core/settings.h"

#include "core/appinfo.h"

#include <QSettings>

namespace settings {

namespace {

// The port entries keep the names the first program gave them; the rest are ours.
const char* const kCommPort = "Properties/CommPort";
const char* const kCommDevice = "Properties/CommDevice";
const char* const kPortsGroup = "Ports";
const char* const kComPrefix = "Com";
const char* const kRecentFiles = "RecentFiles/Files";
const char* const kLastFolder = "RecentFiles/LastFolder";
const char* const kBackUpFirst = "Upload/BackUpFirst";

QString key(const char* k) { return QLatin1String(k); }
QString portKey(int number) { return QStringLiteral("%1/%2%3").arg(key(kPortsGroup), key(kComPrefix)).arg(number); }

// Every program uses the organisation and application "Revora_Shift", so the
// emulator's mappings are the window's and the command-line tool's too.
QSettings store() { return QSettings(appinfo::settingsOrganization(), appinfo::settingsApplication()); }

void write(const QString& k, const QVariant& value)
{
    QSettings s = store();
    s.setValue(k, value);
    s.sync();
}

}  // namespace

QString location() { return store().fileName(); }

std::optional<QString> commPort()
{
    const QVariant v = store().value(key(kCommPort));
    if (!v.isValid())
        return std::nullopt;
    return v.toString();
}

void setCommPort(int number) { write(key(kCommPort), QString::number(number)); }

QString commDevice() { return store().value(key(kCommDevice)).toString().trimmed(); }

void setCommDevice(const QString& device)
{
    QSettings s = store();
    if (device.isEmpty())
        s.remove(key(kCommDevice));
    else
        s.setValue(key(kCommDevice), device);
    s.sync();
}

QString portDevice(int number) { return store().value(portKey(number)).toString().trimmed(); }

bool setPortDevice(int number, const QString& device, QString* error)
{
    QSettings s = store();
    s.setValue(portKey(number), device);
    s.sync();
    if (s.status() == QSettings::NoError)
        return true;
    if (error)
        *error = s.fileName();
    return false;
}

void removePortDevice(int number, const QString& device)
{
    QSettings s = store();
    if (s.value(portKey(number)).toString() == device)
        s.remove(portKey(number));
    s.sync();
}

QMap<QString, QString> portDevices()
{
    QSettings s = store();
    QMap<QString, QString> map;
    s.beginGroup(key(kPortsGroup));
    for (const QString& k : s.childKeys()) {
        const QString device = s.value(k).toString().trimmed();
        if (k.startsWith(key(kComPrefix)) && !device.isEmpty())
            map.insert(k.mid(int(qstrlen(kComPrefix))), device);
    }
    return map;
}

QStringList recentFiles() { return store().value(key(kRecentFiles)).toStringList(); }
void setRecentFiles(const QStringList& files) { write(key(kRecentFiles), files); }
QString lastFolder() { return store().value(key(kLastFolder)).toString(); }
void setLastFolder(const QString& folder) { write(key(kLastFolder), folder); }
bool backUpBeforeUpload() { return store().value(key(kBackUpFirst), true).toBool(); }
void setBackUpBeforeUpload(bool on) { write(key(kBackUpFirst), on); }

}  // namespace settings
