#pragma once
// A meter with plausible contents, for the demonstration mode of the program and the zr347-sim
// tool: identity, a running clock, readings that grow, peaks, a year of monthly records, an event
// journal whose ring has wrapped (with a few empty slots), half-hour records around a power cut
// (current, stale and empty slots), a tariff schedule, holidays and transfers, modem and ДДМ data.

#include "sim/meter.h"
#include "sim/sim_port.h"

#include <QString>
#include <memory>

namespace zr::sim
{

// The name under which the demonstration meter appears among the ports.
inline const QString kDemoPortName = QStringLiteral("DEMO");

// A demonstration meter whose clock starts at `clock` (a meter timestamp) and runs with `elapsed`.
// Address 0, 4800 bit/s, empty password, factory number 347015.
std::unique_ptr<Meter> MakeDemoMeter(uint32_t clock, ElapsedMs elapsed = {});
// Its clock starts at the PC's local time.
std::unique_ptr<Meter> MakeDemoMeter();

// A port to a demonstration meter of its own.
SimPort* CreateDemoPort(QObject* parent = nullptr);

} // namespace zr::sim
