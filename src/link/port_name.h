#pragma once
// Port names and line speeds as the connection panel offers them.

#include <QString>

namespace zr::link
{

// The integer after the first three characters of a port text ("COM3" -> 3); 0 when there is none.
int PortNumber(const QString& text);
// The device to open for an entry of the port list: on Windows "COM" and the entry's number (1 when
// it has none); elsewhere the entry is the system name or device path itself.
QString PortOpenName(const QString& text);
// Speed of the index of the speed list (0-3: 4800, 9600, 19200, 38400); 0 for any other index.
int BaudForIndex(int index);

} // namespace zr::link
