#pragma once
// Switches off the driver's parity check on reception, so that every byte arrives unchanged
// whatever its parity bit: none dropped, none replaced or marked.

#include <QSerialPort>

namespace zr::platform
{

bool DisableInputParityCheck(QSerialPort& port);

} // namespace zr::platform
