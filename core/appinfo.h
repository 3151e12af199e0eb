#pragma once
// The program's name, version and settings store, defined once. The version
// comes from the project's version in CMake (revora_version.h is generated).
#include "revora_version.h"

#include <QString>

namespace appinfo {
// The settings store (QSettings organisation and application) and the
// application name of every program.
inline QString settingsOrganization() { return QStringLiteral("Revora_Shift"); }
inline QString settingsApplication() { return QStringLiteral("Revora_Shift"); }
inline QString applicationName() { return QStringLiteral("Revora_Shift"); }

// "1.0": the caption, the splash and every program's --version.
inline QString version() { return QStringLiteral(REVORA_VERSION_MAJOR "." REVORA_VERSION_MINOR); }
// "1.00": the About box writes the minor number with two digits.
inline QString longVersion()
{
    return QStringLiteral(REVORA_VERSION_MAJOR ".") + QStringLiteral(REVORA_VERSION_MINOR).rightJustified(2, QLatin1Char('0'));
}
}  // namespace appinfo
