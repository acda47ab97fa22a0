#include "platform/printers.h"

#include <QPrinterInfo>

namespace zr::platform
{

bool PrintersInstalled()
{
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

} // namespace zr::platform
