#pragma once
// Settings that belong to the machine rather than to one user: on Windows a key under
// HKEY_LOCAL_MACHINE (writing it needs administrator rights and fails quietly without them);
// elsewhere the current user's settings, as there is no common writable place.

#include <QSettings>
#include <memory>

namespace zr::platform
{

// The settings of `key`, a registry path below HKEY_LOCAL_MACHINE such as "SOFTWARE\Maker\App".
std::unique_ptr<QSettings> MachineSettings(const QString& key);

} // namespace zr::platform
