#pragma once
// The idle poll cycle: the request of each of its 17 steps, sent whenever the queue drains.

#include <QByteArray>
#include <QString>

namespace zr::link
{

constexpr int kIdleSteps = 17;

// Frame without checksum for step 0-16 (taken modulo 17). tariffText is the current-tariff field:
// step 7 reads that tariff (its number minus one, 0 when the field holds no integer).
QByteArray IdleRequest(unsigned step, const QString& tariffText);

} // namespace zr::link
