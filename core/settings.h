#pragma once
// The per-user settings store: every key the programs keep, and the group each
// lives in, in this one place. The window, the port settings and the emulator
// read and write through these functions and never name a key themselves.
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace settings {

// Where the store lives (a file on Linux), for messages that say where to look.
QString location();

// The serial port chosen, as the person picked it: the number of "Com n" as
// stored text (read as it is: whether it is a port number is the caller's to
// judge; nullopt when nothing is stored), and the device path chosen instead of a
// Com entry (empty when none).
std::optional<QString> commPort();
void setCommPort(int number);
QString commDevice();
void setCommDevice(const QString& device);  // empty removes it

// The device each "Com n" stands for on this system (the emulator maps its
// terminal here). Empty when not mapped.
QString portDevice(int number);
// False when the store cannot be written (a read-only folder); `error` then says
// where the store is.
bool setPortDevice(int number, const QString& device, QString* error = nullptr);
// Removes the mapping of Com n only while it still names `device`: another
// emulator may have taken the number since.
void removePortDevice(int number, const QString& device);
// Every mapping, by the text after "Com" in its key (whether that is a port
// number is the caller's to judge).
QMap<QString, QString> portDevices();

// The data files last opened or saved, newest first, and the folder the file
// dialogs start in.
QStringList recentFiles();
void setRecentFiles(const QStringList& files);
QString lastFolder();
void setLastFolder(const QString& folder);

// Whether an upload keeps the controller's configuration first (on unless turned off).
bool backUpBeforeUpload();
void setBackUpBeforeUpload(bool on);

}  // namespace settings
