#include "platform/machine_settings.h"

#include <QStringList>

namespace zr::platform
{

std::unique_ptr<QSettings> MachineSettings(const QString& key)
{
#ifdef Q_OS_WIN
    return std::make_unique<QSettings>(QStringLiteral("HKEY_LOCAL_MACHINE\\") + key,
                                       QSettings::NativeFormat);
#else
    // "SOFTWARE\Maker\App" becomes the user's settings of application App by organisation Maker.
    const QStringList parts = key.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       parts.value(parts.size() - 2),
                                       parts.value(parts.size() - 1));
#endif
}

} // namespace zr::platform
