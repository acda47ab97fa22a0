#include "shell/operating_modes.h"

#include <QDir>

namespace zr::shell
{

namespace
{

QString FileIn(const QString& directory, const char* name)
{
    return QDir::toNativeSeparators(QDir(directory).filePath(QString::fromLatin1(name)));
}

} // namespace

OperatingModes DecideModes(bool markerPresent, bool masterPresent, bool noUserPresent)
{
    OperatingModes modes;
    modes.production = markerPresent;
    modes.master = masterPresent || markerPresent;
    modes.newPasswordAllowed = !noUserPresent;
    return modes;
}

QString ProductionMarkerPath(const QString& workingDirectory)
{
    return FileIn(workingDirectory, "SettingSql.zur");
}

QString HelpPath(const QString& workingDirectory)
{
    return FileIn(workingDirectory, "Setting_Zr_347.chm");
}

QString OperationLogPath(const QString& workingDirectory)
{
    return FileIn(workingDirectory, "Setting_Zr_347.log");
}

} // namespace zr::shell
