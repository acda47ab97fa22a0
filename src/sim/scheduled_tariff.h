#pragma once
// How the simulated meter picks its current tariff from its stored schedule and its clock.

#include "schedule/model.h"
#include "sim/meter.h"

#include <QDateTime>
#include <optional>

namespace zr::sim
{

// The day type of a date: a stored transfer's for that date, else 8 on a stored holiday, else
// the weekday (1 = Monday .. 7 = Sunday).
int DayTypeOn(const QDate& date, const QByteArray& holidays, const QByteArray& transfers);

// The zone of the stored records in force at `time` (a meter clock value): the latest of the
// day's profile that has begun. Empty when the day has no zone yet (a profile that starts after
// midnight, or none at all); records that do not unpack are left out.
std::optional<schedule::Zone> ZoneInForce(const MeterState& state, const QDateTime& time);

// Tariff number 1..8 of a zone under the given load: its limit tariff while the load is above
// limit x 1000 / coefficient watts.
int TariffUnderLoad(const schedule::Zone& zone, uint32_t powerW, uint8_t coefficient);

} // namespace zr::sim
