#pragma once
// Port names and line speeds as the connection panel offers them.

#include <QString>

namespace zr::link
{

// The integer after the first three characters of a port text ("COM3" -> 3); 0 when there is none.
int PortNumber(const QString& text);
// Speed of the index of the speed list (0-3: 4800, 9600, 19200, 38400); 0 for any other index.
int BaudForIndex(int index);

} // namespace zr::link
