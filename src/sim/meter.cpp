#include "sim/meter.h"

#include "link/line_speed.h"

#include "link/frame.h"
#include "link/password.h"
#include "meter/encodings.h"
#include "sim/scheduled_tariff.h"

#include <QDate>
#include <QElapsedTimer>
#include <algorithm>
#include <memory>

namespace zr::sim
{

namespace
{

enum class Kind { Read, Write, Password };

// Decimal value of a BCD byte whose nibbles are both digits and which lies in lo..hi; -1 otherwise.
int StrictBcd(uint8_t b, int lo, int hi)
{
    if ((b >> 4) > 9 || (b & 0x0F) > 9)
        return -1;
    const int v = meter::FromBcd(b);
    return v >= lo && v <= hi ? v : -1;
}

uint8_t U8(const QByteArray& bytes, int pos)
{
    return uint8_t(bytes[pos]);
}

} // namespace

QByteArray ErrorResponse(uint8_t function, uint8_t errorCode)
{
    QByteArray body;
    body.append(char(uint8_t(function + 128)));
    body.append(char(3));
    body.append(char(errorCode));
    return frame::AppendCrc(body);
}

// The body of a response (code, length, payload; the checksum is appended last), or an error.
struct Meter::Reply {
    uint8_t error = 0;
    QByteArray payload;

    static Reply Ok(QByteArray payload = {}) { return {0, std::move(payload)}; }
    static Reply Fail(uint8_t error) { return {error, {}}; }
};

struct Meter::Handler {
    uint8_t function;
    Kind kind;
    uint8_t length;      // request length byte
    uint8_t otherLength; // a second accepted form, or 0
    Reply (Meter::*handle)(const QByteArray& request);
};

const Meter::Handler* Meter::FindHandler(uint8_t function)
{
    static const Handler kHandlers[] = {
        {0, Kind::Read, 2, 0, &Meter::readVersion},
        {1, Kind::Read, 2, 0, &Meter::readNumber},
        {2, Kind::Write, 5, 0, &Meter::writeNumber},
        {3, Kind::Write, 4, 0, &Meter::writeLink},
        {4, Kind::Read, 2, 0, &Meter::readClock},
        {5, Kind::Write, 7, 0, &Meter::writeClock},
        {6, Kind::Read, 2, 0, &Meter::readCoefficient},
        {7, Kind::Write, 3, 0, &Meter::writeCoefficient},
        {8, Kind::Read, 2, 3, &Meter::readSchedule},
        {9, Kind::Write, 2, 10, &Meter::writeSchedule},
        {10, Kind::Read, 2, 0, &Meter::readPlc},
        {11, Kind::Write, 4, 0, &Meter::writePlc},
        {12, Kind::Read, 2, 0, &Meter::readPower},
        {13, Kind::Read, 2, 0, &Meter::readIndication},
        {14, Kind::Write, 3, 0, &Meter::writeIndication},
        {15, Kind::Read, 3, 0, &Meter::readReading},
        {16, Kind::Read, 2, 0, &Meter::readDdmStatus},
        {17, Kind::Read, 2, 0, &Meter::readCounters},
        {18, Kind::Read, 3, 0, &Meter::readYearly},
        {19, Kind::Read, 4, 0, &Meter::readEvent},
        {20, Kind::Password, 8, 0, &Meter::enterPassword},
        {21, Kind::Write, 8, 0, &Meter::writePassword},
        {30, Kind::Read, 2, 0, &Meter::readIntegration},
        {31, Kind::Write, 3, 0, &Meter::writeIntegration},
        {32, Kind::Read, 3, 0, &Meter::readRoute},
        {33, Kind::Write, 7, 3, &Meter::writeRoute},
        {34, Kind::Read, 2, 0, &Meter::readBilling},
        {35, Kind::Write, 4, 0, &Meter::writeBilling},
        {36, Kind::Write, 2, 0, &Meter::resetBilling},
        {38, Kind::Read, 3, 0, &Meter::readHoliday},
        {39, Kind::Write, 2, 5, &Meter::writeHoliday},
        {40, Kind::Read, 3, 0, &Meter::readTransfer},
        {41, Kind::Write, 2, 7, &Meter::writeTransfer},
        {42, Kind::Read, 4, 0, &Meter::readHalfHour},
        {43, Kind::Read, 2, 0, &Meter::readPeaks},
        {44, Kind::Read, 2, 0, &Meter::readDdmNumbers},
        {45, Kind::Write, 12, 0, &Meter::writeDdmNumbers},
    };
    for (const Handler& h : kHandlers) {
        if (h.function == function)
            return &h;
    }
    return nullptr;
}

Meter::Meter(uint32_t clock, uint32_t runningTime, ElapsedMs elapsed)
    : elapsed_(std::move(elapsed)), clockBase_(clock), runningBase_(runningTime)
{
    if (!elapsed_) {
        auto timer = std::make_shared<QElapsedTimer>();
        timer->start();
        elapsed_ = [timer] { return timer->elapsed(); };
    }
    clockRef_ = runningRef_ = advancedTo_ = elapsed_();
    currentHalfHour_ = clock / kSecondsPerHalfHour;
}

uint32_t Meter::clock() const
{
    return clockBase_ + uint32_t((elapsed_() - clockRef_) / 1000);
}

void Meter::setClock(uint32_t clock)
{
    advance();
    clockBase_ = clock;
    clockRef_ = elapsed_();
    // A jump of the clock completes no half-hour.
    currentHalfHour_ = clock / kSecondsPerHalfHour;
}

uint32_t Meter::runningTime() const
{
    return runningBase_ + uint32_t((elapsed_() - runningRef_) / 1000);
}

void Meter::advance()
{
    const qint64 now = elapsed_();
    if (now <= advancedTo_)
        return;
    const double hours = double(now - advancedTo_) / 3.6e6;
    advancedTo_ = now;
    const double kwhPerPhase = state_.powerW / 1000.0 / kPhases * hours;
    for (auto& phase : state_.energy)
        phase[state_.tariff % kTariffs] += kwhPerPhase;
    const uint32_t time = clock();
    if (state_.powerW > state_.peak.watts)
        state_.peak = {time, state_.powerW};
    const uint32_t half = time / kSecondsPerHalfHour;
    if (half > currentHalfHour_) {
        const uint32_t first =
            std::max(currentHalfHour_, half - std::min<uint32_t>(half, kHalfHourSlots));
        for (uint32_t h = first; h < half; ++h)
            state_.halfHours[h % kHalfHourSlots] = {true, h, state_.powerW * 2};
    }
    currentHalfHour_ = half;
}

uint16_t Meter::scheduleChecksum() const
{
    QByteArray all;
    for (const QByteArray& zone : state_.zones)
        all += zone;
    all += state_.holidays;
    all += state_.transfers;
    all.append(char(state_.coefficient));
    return frame::Crc16(all.constData(), int(all.size()));
}

QByteArray Meter::answer(const QByteArray& request)
{
    if (request.size() < 2 || uint8_t(request[1]) < 2)
        return {};
    const uint8_t function = U8(request, 0);
    const int length = U8(request, 1);
    if (!frame::CrcValid(request))
        return ErrorResponse(function, kWrongChecksum);
    const Handler* handler = FindHandler(function);
    if (!handler)
        return ErrorResponse(function, kUnknownFunction);
    if (request.size() != length + 2 ||
        (length != handler->length && length != handler->otherLength))
        return ErrorResponse(function, kWrongLength);

    advance();
    followSchedule();
    switch (handler->kind) {
    case Kind::Read:
        // Every write batch opens with reads and a password entry, so a read ends the access
        // an earlier entry granted.
        access_ = false;
        break;
    case Kind::Write:
        if (!access_)
            return ErrorResponse(function, kAccessDenied);
        break;
    case Kind::Password:
        break;
    }
    const Reply reply = (this->*handler->handle)(request.left(length));
    if (reply.error)
        return ErrorResponse(function, reply.error);
    QByteArray body;
    body.append(char(function));
    body.append(char(2 + reply.payload.size()));
    body += reply.payload;
    return frame::AppendCrc(body);
}

double Meter::reading(uint8_t selector) const
{
    const int tariff = selector & 7;
    const auto& table = (selector & 8) ? state_.billingEnergy : state_.energy;
    const int phase = (selector >> 4) & 3;
    if (phase > 0)
        return table[phase - 1][tariff];
    double sum = 0;
    for (const auto& p : table)
        sum += p[tariff];
    return sum;
}

// Function 0: minor and major version, the device type as a three-byte BCD number.
Meter::Reply Meter::readVersion(const QByteArray&)
{
    QByteArray p;
    p.append(char(state_.versionMinor));
    p.append(char(state_.versionMajor));
    uint32_t type = state_.typeCode;
    for (int i = 0; i < 3; ++i, type /= 100)
        p.append(char(meter::ToBcd(int(type % 100))));
    return Reply::Ok(p);
}

Meter::Reply Meter::readNumber(const QByteArray&)
{
    reportedNumber_ = state_.factoryNumber;
    QByteArray p;
    meter::AppendU24(p, state_.factoryNumber);
    return Reply::Ok(p);
}

// A factory number, once written, stays.
Meter::Reply Meter::writeNumber(const QByteArray& request)
{
    if (state_.factoryNumber != 0)
        return Reply::Fail(kMemoryProtected);
    state_.factoryNumber = meter::FieldReader(request).u24(2);
    return Reply::Ok();
}

// Acknowledged at the old address and speed; the new ones hold from the next byte on.
Meter::Reply Meter::writeLink(const QByteArray& request)
{
    const int baud = link::BaudForIndex(U8(request, 3));
    if (baud == 0)
        return Reply::Fail(kWrongData);
    state_.address = U8(request, 2);
    state_.baud = baud;
    return Reply::Ok();
}

// Without a zone begun today the tariff stays as it was.
void Meter::followSchedule()
{
    const std::optional<schedule::Zone> zone =
        ZoneInForce(state_, meter::DecodeMeterTimestamp(clock()));
    if (zone)
        state_.tariff = uint8_t(TariffUnderLoad(*zone, state_.powerW, state_.coefficient) - 1);
}

// Without a set clock the flag byte travels alone.
Meter::Reply Meter::readClock(const QByteArray&)
{
    QByteArray p;
    p.append(
        char((state_.summerTime ? 0x80 : 0) | (state_.clockFaults & 0x70) | (state_.tariff & 7)));
    if (!(state_.clockFaults & 0x40))
        meter::AppendU32(p, clock());
    return Reply::Ok(p);
}

Meter::Reply Meter::writeClock(const QByteArray& request)
{
    state_.summerTime = U8(request, 2) & 0x80;
    setClock(meter::FieldReader(request).u32(3));
    state_.clockFaults &= ~0x40;
    ++state_.corrections;
    return Reply::Ok();
}

Meter::Reply Meter::readCoefficient(const QByteArray&)
{
    return Reply::Ok(QByteArray(1, char(state_.coefficient)));
}

Meter::Reply Meter::writeCoefficient(const QByteArray& request)
{
    if (U8(request, 2) == 0)
        return Reply::Fail(kWrongData);
    state_.coefficient = U8(request, 2);
    return Reply::Ok();
}

// Short form: the schedule checksum; with an index: that zone record, or the index alone.
Meter::Reply Meter::readSchedule(const QByteArray& request)
{
    QByteArray p;
    if (request.size() == 2) {
        meter::AppendU16(p, scheduleChecksum());
        return Reply::Ok(p);
    }
    const uint8_t index = U8(request, 2);
    p.append(char(index));
    p += state_.zones[index];
    return Reply::Ok(p);
}

// Short form: schedule reset; long form: zone record at an index.
Meter::Reply Meter::writeSchedule(const QByteArray& request)
{
    if (request.size() == 2) {
        state_.zones.fill(QByteArray());
        return Reply::Ok();
    }
    const QByteArray record = request.mid(3, 7);
    if (StrictBcd(U8(record, 1), 0, 23) < 0 || StrictBcd(U8(record, 2), 0, 59) < 0)
        return Reply::Fail(kWrongData);
    state_.zones[U8(request, 2)] = record;
    return Reply::Ok();
}

Meter::Reply Meter::readPlc(const QByteArray&)
{
    QByteArray p;
    p.append(char(state_.plcGroup));
    p.append(char(state_.plcAddress));
    return Reply::Ok(p);
}

Meter::Reply Meter::writePlc(const QByteArray& request)
{
    state_.plcGroup = U8(request, 2);
    state_.plcAddress = U8(request, 3);
    return Reply::Ok();
}

Meter::Reply Meter::readPower(const QByteArray&)
{
    QByteArray p;
    meter::AppendU24(p, state_.powerW);
    return Reply::Ok(p);
}

Meter::Reply Meter::readIndication(const QByteArray&)
{
    return Reply::Ok(QByteArray(1, char(state_.indication)));
}

// Five indication items, one bit each.
Meter::Reply Meter::writeIndication(const QByteArray& request)
{
    if (U8(request, 2) > 0x1F)
        return Reply::Fail(kWrongData);
    state_.indication = U8(request, 2);
    return Reply::Ok();
}

// Selector: tariff in bits 0..2, billing date in bit 3, phase in bits 4..5 (0 = all phases).
Meter::Reply Meter::readReading(const QByteArray& request)
{
    const uint8_t selector = U8(request, 2);
    if (selector >= 64)
        return Reply::Fail(kWrongData);
    QByteArray p;
    p.append(char(selector));
    p.append('\0');
    meter::AppendU32(p, meter::EncodeMeterFloat(reading(selector)));
    return Reply::Ok(p);
}

Meter::Reply Meter::readDdmStatus(const QByteArray&)
{
    QByteArray p;
    for (const DdmStatus& s : state_.ddmStatus) {
        p.append(char(s.status));
        meter::AppendU32(p, s.time);
    }
    return Reply::Ok(p);
}

Meter::Reply Meter::readCounters(const QByteArray&)
{
    reportedRunning_ = runningTime();
    QByteArray p;
    meter::AppendU32(p, reportedRunning_);
    p.append(char(state_.corrections));
    return Reply::Ok(p);
}

Meter::Reply Meter::readYearly(const QByteArray& request)
{
    const uint8_t month = U8(request, 2);
    if (month >= kMonths)
        return Reply::Fail(kWrongData);
    QByteArray p(1, char(month));
    const MonthRecord& m = state_.yearly[month];
    if (m.present) {
        p.append(char(meter::ToBcd(m.year)));
        for (double r : m.readings)
            meter::AppendU32(p, meter::EncodeMeterFloat(r));
        meter::AppendU32(p, m.peak.time);
        meter::AppendU24(p, m.peak.watts);
        meter::AppendU32(p, m.runningTime);
    }
    return Reply::Ok(p);
}

Meter::Reply Meter::readEvent(const QByteArray& request)
{
    const uint16_t index = meter::FieldReader(request).u16(2);
    if (index >= kEventSlots)
        return Reply::Fail(kWrongData);
    QByteArray p;
    meter::AppendU16(p, index);
    if (index < state_.events.size() && state_.events[index].present) {
        const Event& e = state_.events[index];
        meter::AppendU16(p, e.number);
        meter::AppendU32(p, e.time);
        p.append(char(e.tariff));
        meter::AppendU32(p, meter::EncodeMeterFloat(e.reading));
        p.append(char(e.status));
        meter::AppendU32(p, e.runningTime);
    }
    return Reply::Ok(p);
}

// The password bytes arrive scrambled with the factory number and running time last reported.
Meter::Reply Meter::enterPassword(const QByteArray& request)
{
    access_ = link::ScramblePassword(request.mid(2, kPasswordBytes), reportedNumber_,
                                     reportedRunning_) == state_.password;
    return access_ ? Reply::Ok() : Reply::Fail(kAccessDenied);
}

Meter::Reply Meter::writePassword(const QByteArray& request)
{
    state_.password =
        link::ScramblePassword(request.mid(2, kPasswordBytes), reportedNumber_, reportedRunning_);
    return Reply::Ok();
}

Meter::Reply Meter::readIntegration(const QByteArray&)
{
    return Reply::Ok(QByteArray(1, char(state_.integration)));
}

// Minutes 1..60, sent as minutes - 1.
Meter::Reply Meter::writeIntegration(const QByteArray& request)
{
    if (U8(request, 2) > 59)
        return Reply::Fail(kWrongData);
    state_.integration = U8(request, 2);
    return Reply::Ok();
}

Meter::Reply Meter::readRoute(const QByteArray& request)
{
    const uint8_t index = U8(request, 2);
    if (index >= kRoutes)
        return Reply::Fail(kWrongData);
    QByteArray p(1, char(index));
    const Route& r = state_.routes[index];
    if (r.present) {
        p.append(char(r.address));
        meter::AppendU24(p, r.number);
    }
    return Reply::Ok(p);
}

// Long form: write the route; short form: delete it.
Meter::Reply Meter::writeRoute(const QByteArray& request)
{
    const uint8_t index = U8(request, 2);
    if (index >= kRoutes)
        return Reply::Fail(kWrongData);
    if (request.size() == 3)
        state_.routes[index] = Route{};
    else
        state_.routes[index] = {true, U8(request, 3), meter::FieldReader(request).u24(4)};
    return Reply::Ok();
}

Meter::Reply Meter::readBilling(const QByteArray&)
{
    QByteArray p;
    p.append(char(meter::ToBcd(state_.billingHour)));
    p.append(char(meter::ToBcd(state_.billingDay)));
    return Reply::Ok(p);
}

Meter::Reply Meter::writeBilling(const QByteArray& request)
{
    const int hour = StrictBcd(U8(request, 2), 0, 23);
    const int day = StrictBcd(U8(request, 3), 1, 31);
    if (hour < 0 || day < 0)
        return Reply::Fail(kWrongData);
    state_.billingHour = uint8_t(hour);
    state_.billingDay = uint8_t(day);
    return Reply::Ok();
}

// Clears the readings and the peak stored for the billing date.
Meter::Reply Meter::resetBilling(const QByteArray&)
{
    state_.billingEnergy = {};
    state_.billingPeak = {};
    return Reply::Ok();
}

// Entries of the packed tables are stored as they travel; a zero day marks a free entry.
Meter::Reply Meter::readHoliday(const QByteArray& request)
{
    const uint8_t index = U8(request, 2);
    if (index >= kMaxHolidays)
        return Reply::Fail(kWrongData);
    QByteArray p(1, char(index));
    if (state_.holidays[2 * index] != 0)
        p += state_.holidays.mid(2 * index, 2);
    return Reply::Ok(p);
}

Meter::Reply Meter::writeHoliday(const QByteArray& request)
{
    if (request.size() == 2) {
        state_.holidays.fill('\0');
        return Reply::Ok();
    }
    const uint8_t index = U8(request, 2);
    if (index >= kMaxHolidays || StrictBcd(U8(request, 3), 1, 31) < 0 ||
        StrictBcd(U8(request, 4), 1, 12) < 0)
        return Reply::Fail(kWrongData);
    state_.holidays.replace(2 * index, 2, request.mid(3, 2));
    return Reply::Ok();
}

Meter::Reply Meter::readTransfer(const QByteArray& request)
{
    const uint8_t index = U8(request, 2);
    if (index >= kMaxTransfers)
        return Reply::Fail(kWrongData);
    QByteArray p(1, char(index));
    if (state_.transfers[4 * index] != 0)
        p += state_.transfers.mid(4 * index, 4);
    return Reply::Ok(p);
}

Meter::Reply Meter::writeTransfer(const QByteArray& request)
{
    if (request.size() == 2) {
        state_.transfers.fill('\0');
        return Reply::Ok();
    }
    const uint8_t index = U8(request, 2);
    const int day = StrictBcd(U8(request, 3), 1, 31);
    const int month = StrictBcd(U8(request, 4), 1, 12);
    const int year = StrictBcd(U8(request, 5), 0, 99);
    const uint8_t dayType = U8(request, 6);
    if (index >= kMaxTransfers || year < 0 || !QDate(2000 + year, month, day).isValid() ||
        dayType < 1 || dayType > 8)
        return Reply::Fail(kWrongData);
    state_.transfers.replace(4 * index, 4, request.mid(3, 4));
    return Reply::Ok();
}

// Only the low 12 bits of the requested slot count.
Meter::Reply Meter::readHalfHour(const QByteArray& request)
{
    const uint16_t slot = meter::FieldReader(request).u16(2) % kHalfHourSlots;
    QByteArray p;
    meter::AppendU16(p, slot);
    const HalfHour& h = state_.halfHours[slot];
    if (h.present) {
        meter::AppendU24(p, h.number);
        meter::AppendU24(p, h.value);
    }
    return Reply::Ok(p);
}

Meter::Reply Meter::readPeaks(const QByteArray&)
{
    QByteArray p;
    for (const Peak& peak : {state_.peak, state_.billingPeak}) {
        meter::AppendU32(p, peak.time);
        meter::AppendU24(p, peak.watts);
    }
    return Reply::Ok(p);
}

Meter::Reply Meter::readDdmNumbers(const QByteArray&)
{
    QByteArray p;
    for (uint32_t n : state_.ddmNumbers)
        meter::AppendU24(p, n);
    p.append(char(state_.ddmMode));
    return Reply::Ok(p);
}

// Tariffing mode 0 (automatic) or a tariff 1..8.
Meter::Reply Meter::writeDdmNumbers(const QByteArray& request)
{
    if (U8(request, 11) > 8)
        return Reply::Fail(kWrongData);
    meter::FieldReader reader(request);
    for (int i = 0; i < kPhases; ++i)
        state_.ddmNumbers[i] = reader.u24(2 + 3 * i);
    state_.ddmMode = U8(request, 11);
    return Reply::Ok();
}

} // namespace zr::sim
