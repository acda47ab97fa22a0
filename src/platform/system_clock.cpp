#include "platform/system_clock.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <time.h>
#endif

namespace zr::platform
{

namespace
{

bool SetSystemClock(const QDateTime& local)
{
    if (!local.isValid())
        return false;
#ifdef Q_OS_WIN
    const QDate d = local.date();
    const QTime t = local.time();
    SYSTEMTIME st{};
    st.wYear = WORD(d.year());
    st.wMonth = WORD(d.month());
    st.wDay = WORD(d.day());
    st.wHour = WORD(t.hour());
    st.wMinute = WORD(t.minute());
    st.wSecond = WORD(t.second());
    st.wMilliseconds = WORD(t.msec());
    return SetLocalTime(&st) != 0;
#else
    const qint64 ms = local.toMSecsSinceEpoch();
    timespec ts{};
    ts.tv_sec = time_t(ms / 1000);
    ts.tv_nsec = long(ms % 1000) * 1000000L;
    return ::clock_settime(CLOCK_REALTIME, &ts) == 0;
#endif
}

ClockSetter& Setter()
{
    static ClockSetter setter = SetSystemClock;
    return setter;
}

} // namespace

bool SetLocalClock(const QDateTime& local)
{
    return Setter()(local);
}

ClockSetter SetClockSetter(ClockSetter setter)
{
    ClockSetter previous = std::move(Setter());
    Setter() = setter ? std::move(setter) : ClockSetter(SetSystemClock);
    return previous;
}

} // namespace zr::platform
