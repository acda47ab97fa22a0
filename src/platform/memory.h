#pragma once
// The machine's physical memory, for the about window.

#include <QByteArray>
#include <QtGlobal>

namespace zr::platform
{

struct MemoryFigures {
    qint64 totalKb = -1; // -1: unknown
    qint64 availableKb = -1;
};

// Total and available physical memory now; unknown figures stay -1.
MemoryFigures PhysicalMemory();
// The figures of /proc/meminfo text (Linux).
MemoryFigures ParseMemInfo(const QByteArray& text);

} // namespace zr::platform
