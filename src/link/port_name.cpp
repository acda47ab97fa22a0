#include "link/port_name.h"

namespace zr::link
{

int PortNumber(const QString& text)
{
    bool ok = false;
    const int number = text.mid(3).toInt(&ok);
    return ok ? number : 0;
}

} // namespace zr::link
