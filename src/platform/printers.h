#pragma once
// The printers the system offers.

namespace zr::platform
{

// At least one printer is installed.
bool PrintersInstalled();

} // namespace zr::platform
