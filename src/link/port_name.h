#pragma once
// Port names as the connection panel offers them.

#include <QString>

namespace zr::link
{

// The integer after the first three characters of a port text ("COM3" -> 3); 0 when there is none.
int PortNumber(const QString& text);

} // namespace zr::link
