#include "platform/system_names.h"

#include <QSysInfo>

namespace zr::platform
{

QString ComputerName()
{
    return QSysInfo::machineHostName();
}

QString LoginName()
{
#ifdef Q_OS_WIN
    return qEnvironmentVariable("USERNAME");
#else
    return qEnvironmentVariable("USER");
#endif
}

} // namespace zr::platform
