#pragma once
// Which serial port the controller is on: the port number the person chose
// (Com1 to Com255), kept in the per-user settings store, and the device it
// stands for on this system.
#include <QString>
#include <optional>

namespace portsettings {

constexpr int kFirstPort = 1;
constexpr int kLastPort = 255;

// "1" to "255" (surrounding spaces allowed); anything else is not a port number.
std::optional<int> parsePortNumber(const QString& text);

// The stored port number; 1 when nothing is stored or the stored text is not a
// number from 1 to 255 (an edited or damaged settings file must not stop the program).
int loadPortNumber();
// Stores `n` as decimal text (the program only ever stores 1 to 255).
void savePortNumber(int n);

// The device that "Com n" stands for. Windows: COMn. Elsewhere: the device the
// settings store maps to Com n (section Ports, key Com<n>), else /dev/ttyS(n-1).
QString deviceForPort(int n);
// Stores the device that "Com n" stands for (the emulator maps its terminal here).
void mapPortDevice(int n, const QString& device);

// What the command-line tool's --port names: "ComN" (any letter case) is port N
// mapped as above, anything else is taken as a device path. Empty on bad ComN.
QString resolvePortArgument(const QString& text, QString* error = nullptr);

}  // namespace portsettings
