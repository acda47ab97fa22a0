#include "sim/demo.h"

#include "meter/encodings.h"

#include <QDateTime>
#include <cmath>

namespace zr::sim
{

namespace
{

constexpr uint32_t kDay = 86400;

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

    constexpr uint8_t kStatuses[] = {0, 0, 0, 1, 2, 0, 0x30, 0, 64, 0, 255, 0x09};
    s.events.clear();
    const uint32_t step = 6 * 3600;
    for (int i = 0; i < kEventSlots; ++i) {
        const uint32_t back = uint32_t(kEventSlots - i) * step;
        Event e;
        e.number = uint16_t(i + 1);
        e.time = now > back ? now - back : 0;
        e.tariff = uint8_t(i % 3);
        e.reading = 1000.0 + 1.75 * i;
        e.status = kStatuses[i % std::size(kStatuses)];
        e.runningTime = 3600u * 24 * 300 + uint32_t(i) * step;
        s.events.push_back(e);
    }

    const uint32_t current = now / kSecondsPerHalfHour;
    for (uint32_t h = current > kHalfHourSlots ? current - kHalfHourSlots : 0; h < current; ++h)
        s.halfHours[h % kHalfHourSlots] = {true, h, LoadAt(h * kSecondsPerHalfHour) * 2};
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
