#include "sim/demo.h"

#include "meter/encodings.h"

#include <QDateTime>
#include <cmath>

namespace zr::sim
{

namespace
{

constexpr uint32_t kDay = 86400;
// The power cut of the half-hour profile, in half-hours before the current one.
constexpr uint32_t kOutageStart = 7;
constexpr uint32_t kOutageEnd = 3;

// A household load: low at night, peaks in the morning and the evening.
uint32_t LoadAt(uint32_t time)
{
    const double hour = (time % kDay) / 3600.0;
    const double morning = std::exp(-std::pow(hour - 8, 2) / 4);
    const double evening = std::exp(-std::pow(hour - 20, 2) / 6);
    return uint32_t(600 + 2400 * morning + 3600 * evening);
}

QByteArray Bytes(std::initializer_list<uint8_t> bytes)
{
    QByteArray out;
    for (uint8_t b : bytes)
        out.append(char(b));
    return out;
}

void FillReadings(MeterState& s)
{
    for (int p = 0; p < kPhases; ++p) {
        for (int t = 0; t < kTariffs; ++t) {
            const double base = t < 2 ? 4200.0 / (t + 1) : 35.0 * (kTariffs - t);
            s.energy[p][t] = base * (1 + 0.07 * p) + 0.125 * t;
            s.billingEnergy[p][t] = s.energy[p][t] * 0.93;
        }
    }
}

// The journal is a ring that has wrapped: 1850 events so far, the newest 250 in the first slots
// over the oldest. A few slots lost their records.
void FillEvents(MeterState& s, uint32_t now)
{
    constexpr int kRecorded = 1850;
    constexpr uint8_t kStatuses[] = {0, 0, 0, 1, 2, 0, 0x30, 0, 64, 0, 255, 0x09};
    constexpr uint32_t kStep = 6 * 3600;
    s.events.assign(kEventSlots, Event{});
    for (int n = kRecorded - kEventSlots + 1; n <= kRecorded; ++n) {
        const uint32_t back = uint32_t(kRecorded + 1 - n) * kStep;
        Event& e = s.events[size_t((n - 1) % kEventSlots)];
        e.number = uint16_t(n);
        e.time = now > back ? now - back : 0;
        e.tariff = uint8_t(n % 3);
        e.reading = 1000.0 + 1.75 * n;
        e.status = kStatuses[n % std::size(kStatuses)];
        e.runningTime = 3600u * 24 * 300 + uint32_t(n) * kStep;
        e.present = n % 200 != 137;
    }
}

// Every slot holds a record of the last 4096 half-hours, except around a power cut a few hours
// ago: the meter recorded nothing for an hour and a half, so those slots still hold the records
// of 4096 half-hours earlier, and the half-hour the cut interrupted was erased.
void FillHalfHours(MeterState& s, uint32_t now)
{
    const uint32_t current = now / kSecondsPerHalfHour;
    const auto record = [](uint32_t h) {
        return HalfHour{true, h, LoadAt(h * kSecondsPerHalfHour) * 2};
    };
    for (uint32_t h = current > kHalfHourSlots ? current - kHalfHourSlots : 0; h < current; ++h)
        s.halfHours[h % kHalfHourSlots] = record(h);
    if (current < kHalfHourSlots + kOutageStart)
        return;
    s.halfHours[(current - kOutageStart) % kHalfHourSlots] = HalfHour{};
    for (uint32_t h = current - kOutageStart + 1; h < current - kOutageEnd; ++h)
        s.halfHours[h % kHalfHourSlots] = record(h - kHalfHourSlots);
}

void FillJournals(MeterState& s, uint32_t now)
{
    const QDate today = meter::DecodeMeterTimestamp(now).date();
    for (int m = 0; m < kMonths; ++m) {
        MonthRecord& r = s.yearly[m];
        // Months before the current one are this year's, the others last year's.
        const int year = today.year() - (m + 1 < today.month() ? 0 : 1);
        r.present = year >= 2000;
        r.year = uint8_t((year - 2000) % 100);
        for (int t = 0; t < kTariffs; ++t)
            r.readings[t] = s.billingEnergy[0][t] * (0.5 + m / 24.0);
        const QDate peakDay(2000 + r.year, m + 1, 12);
        r.peak = {*meter::EncodeMeterTimestamp(peakDay.startOfDay(Qt::UTC)) + 19 * 3600,
                  uint32_t(5200 + 97 * m)};
        r.runningTime = 86400u * (400 + 30 * m);
    }

    FillEvents(s, now);
    FillHalfHours(s, now);
}

void FillSchedule(MeterState& s)
{
    // Night tariff 2 from 23:00, day tariff 1 from 07:00 on working days, tariff 3 above 10 kW;
    // weekends and holidays on tariff 2 all day.
    s.zones[0] = Bytes({0x21, 0x00, 0x00, 0x0A, 0xFF, 0xFF, 0x0F});
    s.zones[1] = Bytes({0x20, 0x07, 0x00, 0x0A, 0x1F, 0xFF, 0x0F});
    s.zones[2] = Bytes({0x21, 0x23, 0x00, 0x0A, 0x1F, 0xFF, 0x0F});
    s.holidays = Bytes({0x01, 0x01, 0x07, 0x01, 0x08, 0x03, 0x01, 0x05, 0x09, 0x05, 0x12, 0x06});
    s.holidays.resize(kHolidayTableSize, '\0');
    s.transfers = Bytes({0x05, 0x01, 0x26, 0x06, 0x31, 0x12, 0x26, 0x08});
    s.transfers.resize(kTransferTableSize, '\0');
    s.coefficient = 1;
}

} // namespace

std::unique_ptr<Meter> MakeDemoMeter(uint32_t clock, ElapsedMs elapsed)
{
    auto meter = std::make_unique<Meter>(clock, 3600u * 24 * 712 + 4321, std::move(elapsed));
    MeterState& s = meter->state();
    s.factoryNumber = 347015;
    s.billingDay = 1;
    s.billingHour = 0;
    s.corrections = 3;
    s.indication = 0x19;
    s.integration = 29;
    s.powerW = LoadAt(clock);
    FillReadings(s);
    s.peak = {clock - 5 * kDay, 8640};
    s.billingPeak = {clock - 40 * kDay, 7920};
    FillJournals(s, clock);
    FillSchedule(s);
    s.plcGroup = 70;
    s.plcAddress = 15;
    s.routes[0] = {true, 7, 123456};
    s.routes[2] = {true, 12, 347001};
    s.ddmNumbers = {100234, 100235, 100236};
    s.ddmMode = 0;
    s.ddmStatus = {{{0, clock - 3600}, {1, clock - 7200}, {0, 0}}};
    return meter;
}

std::unique_ptr<Meter> MakeDemoMeter()
{
    const QDateTime now = QDateTime::currentDateTime();
    return MakeDemoMeter(meter::EncodeMeterTimestamp(now).value_or(0));
}

SimPort* CreateDemoPort(QObject* parent)
{
    return new SimPort(MakeDemoMeter(), parent);
}

} // namespace zr::sim
