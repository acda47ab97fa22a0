#pragma once
// The readings tab: the batch that reads the 64 readings and the peak powers, the decoders of
// their answers, the phase sums, and the reset of the billing-date readings.

#include "meter/device_info.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>
#include <array>
#include <cstdint>

namespace zr::meter
{

constexpr int kReadingRequests = 64;

// Function 15 for every selector, phase by phase (all phases first, then A, B, C), now before
// the billing date, tariff 1 to 8; then function 43.
QList<QByteArray> ReadingsBatch();

// Where a function-15 answer goes when it answers ReadingsBatch (not the idle poll).
enum class ReadingTarget {
    None,   // not a reading of the grids: nothing changes
    Tariff, // GridValueTarif cell (column, row) shows `text`
    Phase,  // `value` adds to GridActive cell (column, row 1): see PhaseSums
};
struct GridReading : DecodeResult {
    ReadingTarget target = ReadingTarget::None;
    uint8_t selector = 0;
    int column = 0; // 1..2 of GridValueTarif, 1..6 of GridActive
    int row = 0;    // 1..8 of GridValueTarif, 1 of GridActive
    double value = 0.0;
    QString text; // the reading with 3 decimals
};
// A length byte other than 8, or a selector of 64 or more (it names no cell), changes nothing.
GridReading DecodeGridReading(const QByteArray& frame, const QLocale& locale = QLocale());

// The six phase cells of GridActive, summed over the tariffs as their readings arrive. The sums
// are kept unrounded, so the cell shows the total rounded once, not eight roundings added up.
class PhaseSums
{
public:
    // Every cell empty again: a new read starts here.
    void clear();
    // Adds a Phase reading to its cell; returns the cell's new text. Other readings add nothing
    // and return an empty text.
    QString add(const GridReading& reading, const QLocale& locale = QLocale());
    // The sum of a GridActive column 1..6 (0 for a cell that received nothing).
    double sum(int column) const;
    bool filled(int column) const;

private:
    std::array<double, 6> sums_{};
    std::array<bool, 6> filled_{};
};

// Function 43. A length byte other than 16 changes nothing (`shown` false).
struct PeaksInfo : DecodeResult {
    bool shown = false;
    uint32_t peakWatts = 0;
    QDateTime peakTime;
    uint32_t billingPeakWatts = 0;
    QDateTime billingPeakTime;
    QString peakText;            // EditPeak
    QString peakTimeText;        // EditTimePeak: date and time
    QString billingPeakText;     // EditPeak_1
    QString billingPeakTimeText; // EditTimePeak_1
};
PeaksInfo DecodePeaks(const QByteArray& frame, const QLocale& locale = QLocale());

// The password opening, then function 36.
QList<QByteArray> ResetBillingReadingsBatch();
// Operation-log text for the meter's acknowledgement of function 36.
QString ResetBillingReadingsLogText();

} // namespace zr::meter
