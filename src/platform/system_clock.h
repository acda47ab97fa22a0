#pragma once
// Setting the computer's local clock. Tests install their own setter so the machine's clock is
// never changed by a test run.

#include <QDateTime>
#include <functional>

namespace zr::platform
{

using ClockSetter = std::function<bool(const QDateTime& local)>;

// Sets the local clock to the given local date-time; false when the system refused.
bool SetLocalClock(const QDateTime& local);

// Installs another setter (tests); returns the one it replaces.
ClockSetter SetClockSetter(ClockSetter setter);

} // namespace zr::platform
