#include "production/drift.h"

#include <cmath>

namespace zr::production
{

namespace
{

constexpr double kMsPerDay = 86400000.0;

} // namespace

bool Drift::Measure(const QDateTime& meter, const QDateTime& now, const QDateTime& lastProgrammed)
{
    if (!lastProgrammed.isValid() || !meter.isValid())
        return false;
    const double since = double(lastProgrammed.msecsTo(now)) / kMsPerDay;
    if (!(since > 0.5))
        return false;
    const double ahead = double(now.msecsTo(meter)) / kMsPerDay;
    sum_ += ahead / since * 86400.0;
    ++count_;
    return true;
}

QString Drift::text(const QLocale& locale) const
{
    if (count_ == 0)
        return QString();
    const double value = average();
    // Five significant digits at most: beyond that the value is written in exponent form.
    if (std::fabs(value) >= 99999.5)
        return locale.toString(value, 'E', 4);
    const int whole = std::fabs(value) < 1 ? 1 : int(std::floor(std::log10(std::fabs(value)))) + 1;
    const double scale = std::pow(10.0, std::min(2, 5 - whole));
    return locale.toString(std::round(value * scale) / scale, 'f', 2);
}

void Drift::reset()
{
    sum_ = 0;
    count_ = 0;
}

std::optional<double> DeltaValue(const QString& text, const QLocale& locale)
{
    bool ok = false;
    const double value = locale.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool DriftSuccess(std::optional<double> secPerDay)
{
    const double v = secPerDay.value_or(0.0);
    return v <= 1.0 && v >= -3.0;
}

} // namespace zr::production
