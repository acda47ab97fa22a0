#include "platform/system_names.h"

#include <QSysInfo>

#ifndef Q_OS_WIN
#include <pwd.h>
#include <unistd.h>
#endif

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
    // USER is missing in services and some shells; the account itself always has a name.
    const QString user = qEnvironmentVariable("USER");
    if (!user.isEmpty())
        return user;
    const passwd* account = ::getpwuid(::geteuid());
    return account ? QString::fromLocal8Bit(account->pw_name) : QString();
#endif
}

} // namespace zr::platform
