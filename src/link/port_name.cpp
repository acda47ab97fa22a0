#include "link/port_name.h"

namespace zr::link
{

int PortNumber(const QString& text)
{
    bool ok = false;
    const int number = text.mid(3).toInt(&ok);
    return ok ? number : 0;
}

int BaudForIndex(int index)
{
    static const int kBauds[] = {4800, 9600, 19200, 38400};
    return index >= 0 && index < 4 ? kBauds[index] : 0;
}

} // namespace zr::link
