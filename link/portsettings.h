#pragma once
// Which serial port the controller is on: the port number the person chose
// (Com1 to Com255), kept in the per-user settings store, and the device it
// stands for on this system.
#include <QList>
#include <QMap>
#include <QString>
#include <optional>

namespace portsettings {

constexpr int kFirstPort = 1;
constexpr int kLastPort = 255;

// "1" to "255" (surrounding spaces allowed); anything else is not a port number.
std::optional<int> parsePortNumber(const QString& text);

// The stored port number; 1 when nothing is stored. Stored text that is not a
// number from 1 to 255 (an edited or damaged settings file) gives nullopt, and
// `error` says what is stored, where, and what to do about it.
std::optional<int> loadPortNumber(QString* error = nullptr);
// Stores `n` as decimal text (the program only ever stores 1 to 255).
void savePortNumber(int n);

// The device that "Com n" stands for. Windows: COMn. Elsewhere: the device the
// settings store maps to Com n (section Ports, key Com<n>), else /dev/ttyS(n-1).
QString deviceForPort(int n);
// Whether the device is there now: a Windows port the system lists (COM3 or
// \\.\COM3), elsewhere a device file that exists.
bool devicePresent(const QString& device);
// Stores the device that "Com n" stands for (the emulator maps its terminal here).
// False when the settings cannot be written; `error` then says so and where.
bool mapPortDevice(int n, const QString& device, QString* error = nullptr);
// Takes the mapping away again, unless another device has taken Com n since.
void unmapPortDevice(int n, const QString& device);

// What the command-line tool's --port names: "ComN" (any letter case) is port N
// mapped as above, anything else is taken as a device path, a relative one from
// the working folder. Empty on bad ComN.
QString resolvePortArgument(const QString& text, QString* error = nullptr);

// One serial device as the system describes it.
struct PortRecord {
    QString device;        // "/dev/ttyUSB0"
    QString description;   // "FT232R USB UART"; often empty for built-in ports
    QString manufacturer;  // "FTDI"
    QString byIdPath;      // "/dev/serial/by-id/usb-FTDI_...", the name that survives replugging
    bool exists = true;    // false: a stored choice that is not plugged in now
    int latencyMs = -1;    // a USB adapter's latency timer; -1 where the system has none
};

// A USB serial adapter's latency timer in ms, read from sysfs
// (ROOT/bus/usb-serial/devices/ttyUSB0/latency_timer); -1 for devices without
// one (built-in ports, pseudo-terminals). A /dev/serial/by-id link is followed.
int usbLatencyTimer(const QString& device, const QString& sysfsRoot = QStringLiteral("/sys"));
// What to say once about the adapters in `records` whose timer stays above
// 1 ms: every reply waits that long, and the one command that lowers it. Empty
// when there is nothing to say.
QString latencyAdvice(const QList<PortRecord>& records);

// When the stored port is missing and exactly one USB adapter is plugged in:
// that adapter, to be offered (never used unasked). Nothing otherwise.
std::optional<PortRecord> adapterToOffer(const QString& storedChoice, const QList<PortRecord>& records);

// One entry of the port list.
struct PortEntry {
    QString name;   // what is stored and what --port takes: the by-id path, else the device, else "ComN"
    QString label;  // what the list shows
};

// "/dev/ttyUSB0 — FT232R USB UART (FTDI)"; a missing port says "(not found)".
QString portLabel(const PortRecord& record);
// The list: one entry per record, then Com1 to Com255; a Com n that `mapped`
// (Com number -> device) maps shows its device ("Com7 — /dev/pts/3").
QList<PortEntry> portEntries(const QList<PortRecord>& records, const QMap<int, QString>& mapped = {});
// The Com n -> device mappings of the settings store (the emulator writes one).
QMap<int, QString> mappedPorts();

// The port chosen: "ComN", or a device path (the stable by-id path where there
// is one). A Com choice is kept as the port number, as before; a path beside it.
// `number` is the Com number to name when no path is stored.
QString loadPortChoice(int number);
QString loadPortChoice();  // with the stored number, Com1 when it is unusable
QString comName(int n);    // "Com7"
void savePortChoice(const QString& name);

}  // namespace portsettings
