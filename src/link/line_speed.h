#pragma once
// The meter's line speeds, in the order of every speed list (the connection panel, the menu, the
// settings page and the link-parameter byte of function 3).

#include <QStringList>

namespace zr::link
{

// Speed of an index of the list (0-3: 4800, 9600, 19200, 38400); 0 for any other index.
int BaudForIndex(int index);
// Index of a speed in the list; -1 for a speed the meter never uses.
int IndexOfBaud(int baud);
// The list's texts, as the speed lists show them.
QStringList LineSpeedTexts();

} // namespace zr::link
