#pragma once
// The meter clock's drift in seconds per day since its last programming, averaged over the
// measurements of the current meter, and the success of a programming judged from it.

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <optional>

namespace zr::production
{

class Drift
{
public:
    // Adds one measurement from the meter's time and the computer's time now, when the meter was
    // last programmed more than half a day ago (an invalid date: never); false when none is taken.
    bool Measure(const QDateTime& meter, const QDateTime& now, const QDateTime& lastProgrammed);
    int count() const { return count_; }
    double average() const { return count_ ? sum_ / count_ : 0.0; }
    // EditDelta: the average with 2 decimals, empty before the first measurement.
    QString text(const QLocale& locale = QLocale()) const;
    void reset();

private:
    double sum_ = 0;
    int count_ = 0;
};

// EditDelta's text as a number; empty when it is not one (for example empty).
std::optional<double> DeltaValue(const QString& text, const QLocale& locale = QLocale());

// A meter up to 1 s/day fast or 3 s/day slow passes; an empty drift counts as 0.
bool DriftSuccess(std::optional<double> secPerDay);

} // namespace zr::production
