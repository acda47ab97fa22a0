#pragma once
// The names the production database knows this workstation and its operator by.

#include <QString>

namespace zr::platform
{

// The operating system's name of this computer.
QString ComputerName();
// The login name of the current user.
QString LoginName();

} // namespace zr::platform
