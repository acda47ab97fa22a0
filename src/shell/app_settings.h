#pragma once
// The settings the program keeps between runs: read once when the main window is created, written
// once when it closes. On Windows they live in the registry key HKEY_CURRENT_USER
// "SOFTWARE\Quenvoll\ZR-347" (integers and booleans as DWORD); elsewhere in the per-user
// settings file of the same organisation and application.

#include "production/db_options.h"

#include <QSettings>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>

namespace zr::shell
{

inline const QString kSettingsOrganisation = QStringLiteral("Quenvoll");
inline const QString kSettingsApplication = QStringLiteral("ZR-347");

// The user's own settings store in the platform's native format.
std::unique_ptr<QSettings> UserSettings();

struct AppSettings {
    // The ports to preselect: the port number under Windows rules, otherwise the port's name.
    QString meterPort = QStringLiteral("1");
    QString scannerPort = QStringLiteral("2");
    int baudIndex = 0;   // ComboBaud position, 0..3; -1 leaves the list without a selection
    int timeoutMs = 500; // SpinTimer, 200..10000
    // Access flags, by their presence only; never written.
    bool master = false;
    bool noUser = false;
    std::array<int, 3> ddmNumbers{}; // SpinDDM_A/B/C, 0..16777215
    bool scanner = false;            // CheckScaner
    // The production database, under the group "Database"; only an administrator edits these.
    production::DbOptions database;
};

struct LoadedSettings {
    AppSettings values;
    // One sentence per stored value of the wrong type (its default was used instead).
    QStringList problems;
};

// Reads every value; a missing one keeps its default, one out of range is brought into range.
// `windowsPortRules`: the ports are stored as numbers (Windows) rather than as names.
LoadedSettings LoadAppSettings(QSettings& settings, bool windowsPortRules);

// Writes the values back: a port only when there is one (not 0, not empty), the device numbers
// only in production mode and each only when above 0, a database option only when it differs from
// its default.
void SaveAppSettings(QSettings& settings, const AppSettings& values, bool productionMode,
                     bool windowsPortRules);

} // namespace zr::shell
