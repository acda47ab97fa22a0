#pragma once
// Readable meaning of an event-journal status byte.

#include <QStringList>
#include <cstdint>

namespace zr::meter
{

// One line per reported condition, in bit order (timer first, then phases A, B, C);
// 255 stands for a power-off record and yields only its own line.
QStringList DecodeStatus(uint8_t status);

} // namespace zr::meter
