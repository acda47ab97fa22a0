#pragma once
// The half-hour power profile of one day (function 42): the 48 requests, the interval each
// answer stands for, and the data of the list ListHalf and the chart ChartHalf.

#include "meter/device_info.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>
#include <cstdint>

namespace zr::meter
{

constexpr int kHalfHoursPerDay = 48;

// The read of one day. A day before 2000-01-01 has no half-hour number: the read is refused
// with `error` and carries no requests.
struct HalfHourRead {
    QString error;
    qint64 h0 = 0;              // the day's first half-hour number
    QList<QByteArray> requests; // function 42 for the slots of h0 .. h0 + 47
    QString title;              // the chart's title: the day in the short date format
    bool ok() const { return error.isEmpty(); }
};
HalfHourRead HalfHourBatch(const QDate& day, const QLocale& locale = QLocale());

// One answer: one item of ListHalf and one bar of ChartHalf.
struct HalfHourItem : DecodeResult {
    uint16_t slot = 0;    // the echoed slot
    bool stored = false;  // the slot holds a record (length byte 10)
    bool current = false; // ... and the record belongs to the requested day
    uint32_t number = 0;  // the record's half-hour number, when stored
    uint32_t value = 0;   // the record's value (kW x 2000), when stored
    qint64 halfHour = 0;  // the interval shown: a half-hour number of the requested day's range
    QDateTime start;      // the interval's start; the bar stands here
    QString caption;      // "d-mmm-yy  hh:nn - hh:nn"
    QString power; // "Мощность, кВт": the value with 3 decimals; empty unless current
    double kilowatts = 0; // the bar's height: 0 unless current
    QString label;        // the bar's label: "hh:nn" of the start
};
// h0 is the read's first half-hour number. The interval of an old or empty slot is the first
// half-hour number from h0 on that lies in the slot; only the slot's low 12 bits count, as in
// the meter, so an echo above 4095 still names one interval.
HalfHourItem DecodeHalfHour(const QByteArray& frame, qint64 h0, const QLocale& locale = QLocale());

} // namespace zr::meter
