#include "platform/memory.h"

#include <QFile>
#include <QList>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace zr::platform
{

MemoryFigures ParseMemInfo(const QByteArray& text)
{
    MemoryFigures figures;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> words = line.simplified().split(' ');
        if (words.size() < 2)
            continue;
        bool ok = false;
        const qint64 value = words[1].toLongLong(&ok);
        if (!ok)
            continue;
        if (words[0] == "MemTotal:")
            figures.totalKb = value;
        else if (words[0] == "MemAvailable:")
            figures.availableKb = value;
    }
    return figures;
}

MemoryFigures PhysicalMemory()
{
#ifdef Q_OS_WIN
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (!GlobalMemoryStatusEx(&status))
        return {};
    return {qint64(status.ullTotalPhys / 1024), qint64(status.ullAvailPhys / 1024)};
#else
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    return meminfo.open(QIODevice::ReadOnly) ? ParseMemInfo(meminfo.readAll()) : MemoryFigures{};
#endif
}

} // namespace zr::platform
