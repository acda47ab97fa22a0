#pragma once
// The yearly journal: one record per month, read month by month (function 18).

#include "meter/device_info.h"

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

namespace zr::meter
{

constexpr int kJournalMonths = 12;
constexpr int kYearJournalColumns = 13; // GridJournal columns, the month's name in column 0

// Function 18 for the months 0 (January) to 11, in that order.
QList<QByteArray> YearJournalBatch();

// Short month names of GridJournal's column 0, January first: "янв." ... "дек.".
QStringList JournalMonthNames();

struct YearJournalMonth : DecodeResult {
    int month = 0;         // byte 2
    int row = -1;          // GridJournal row month + 1; -1: no cell changes
    bool recorded = false; // the month has a record: every column of the row is filled
    QStringList cells;     // columns 0..12 when recorded; column 0 only otherwise
    int progress = 0;      // GaugeJournal position, 1..12
    QString trafficLogLine; // for a month of 12 or more: "Некорректный месяц журнала"
    uint8_t year = 0; // year - 2000 as the meter sends it (BCD)
    std::array<double, 8> readings{};
    uint32_t peakWatts = 0;
    QDateTime peakTime;
    uint32_t runningSeconds = 0;
};
YearJournalMonth DecodeYearJournalMonth(const QByteArray& frame, const QLocale& locale = QLocale());

} // namespace zr::meter
