#pragma once
// The simulated meter's engine: the meter state and the frame-level protocol from the meter's
// side. A complete request frame goes in, the response frame (or an error response, or nothing)
// comes out. No bus, no timers, no widgets.

#include "schedule/packed.h"

#include <QByteArray>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace zr::sim
{

// The schedule tables have the same sizes on both sides of the line.
using schedule::kHolidayTableSize;
using schedule::kMaxHolidays;
using schedule::kMaxTransfers;
using schedule::kMonths;
using schedule::kTariffs;
using schedule::kTransferTableSize;
using schedule::kZoneSlots;

// Monotonic milliseconds; the meter's clock and running time advance with it.
using ElapsedMs = std::function<qint64()>;

constexpr int kPhases = 3;
constexpr int kEventSlots = 1600;
constexpr int kHalfHourSlots = 4096;
constexpr int kRoutes = 4;
constexpr int kPasswordBytes = 6;
constexpr int kSecondsPerHalfHour = 1800;

// Error codes of an error response.
enum ErrorCode : uint8_t {
    kUnknownFunction = 1,
    kWrongLength = 2,
    kWrongChecksum = 3,
    kWrongData = 4,
    kMemoryProtected = 5,
    kAccessDenied = 6,
};

// Error response to `function`: code + 128, length 3, the error code, checksum.
QByteArray ErrorResponse(uint8_t function, uint8_t errorCode);

struct Peak {
    uint32_t time = 0; // meter timestamp
    uint32_t watts = 0;
};

struct MonthRecord {
    bool present = false;
    uint8_t year = 0; // year - 2000, 0..99
    std::array<double, kTariffs> readings{};
    Peak peak;
    uint32_t runningTime = 0;
};

struct Event {
    uint16_t number = 0;
    uint32_t time = 0;
    uint8_t tariff = 0; // 0 = single-tariff
    double reading = 0;
    uint8_t status = 0;
    uint32_t runningTime = 0;
    bool present = true; // false: the slot holds no record
};

struct HalfHour {
    bool present = false;
    uint32_t number = 0; // half-hours since 2000-01-01 00:00
    uint32_t value = 0;  // kilowatts x 2000
};

struct Route {
    bool present = false;
    uint8_t address = 0;
    uint32_t number = 0;
};

struct DdmStatus {
    uint8_t status = 0;
    uint32_t time = 0; // 0 = no session recorded
};

// Everything the meter stores. The clock and the running time are kept by Meter, which advances
// them with the elapsed time.
struct MeterState {
    uint8_t address = 0;
    int baud = 4800;
    uint8_t versionMinor = 0x15;                            // BCD
    uint8_t versionMajor = 0x02;                            // BCD
    uint32_t typeCode = 34701;                              // six decimal digits
    uint32_t factoryNumber = 0;                             // 0 = not yet assigned
    QByteArray password = QByteArray(kPasswordBytes, '\0'); // plain single-byte codes
    bool summerTime = false;
    uint8_t clockFaults = 0; // bits 4..6 of the flag byte; bit 6 = date and time not set
    uint8_t tariff = 0;      // current tariff index 0..7
    uint8_t billingDay = 1;
    uint8_t billingHour = 0;
    uint8_t corrections = 0;
    uint8_t indication = 0;  // bits 0..4
    uint8_t integration = 0; // minutes - 1, 0..59
    uint32_t powerW = 0;
    // kWh per phase and tariff, now and at the billing date.
    std::array<std::array<double, kTariffs>, kPhases> energy{};
    std::array<std::array<double, kTariffs>, kPhases> billingEnergy{};
    Peak peak;
    Peak billingPeak;
    std::array<MonthRecord, kMonths> yearly{};
    // Journal slot i holds events[i] (at most kEventSlots); slots beyond hold no record.
    std::vector<Event> events;
    std::vector<HalfHour> halfHours = std::vector<HalfHour>(kHalfHourSlots);
    std::array<QByteArray, kZoneSlots> zones{}; // packed zone records (7 bytes); empty = none
    QByteArray holidays = QByteArray(kHolidayTableSize, '\0');   // packed holiday table
    QByteArray transfers = QByteArray(kTransferTableSize, '\0'); // packed transfer table
    uint8_t coefficient = 1;
    uint8_t plcGroup = 0;
    uint8_t plcAddress = 0;
    std::array<Route, kRoutes> routes{};
    std::array<uint32_t, kPhases> ddmNumbers{};
    uint8_t ddmMode = 0; // 0 = automatic, 1..8 = tariff
    std::array<DdmStatus, kPhases> ddmStatus{};
};

class Meter
{
public:
    // The clock shows `clock` (a meter timestamp) and the running-time counter `runningTime`
    // now; both advance with `elapsed` (by default the time since construction).
    explicit Meter(uint32_t clock = 0, uint32_t runningTime = 0, ElapsedMs elapsed = {});

    MeterState& state() { return state_; }
    const MeterState& state() const { return state_; }

    uint32_t clock() const;
    void setClock(uint32_t clock);
    uint32_t runningTime() const;

    // Brings the readings, the peak and the half-hour records up to the elapsed time. Every
    // answer does it first.
    void advance();

    // A complete request frame (L + 2 bytes). Returns the response frame with its checksum, an
    // error response, or nothing for bytes that cannot be a frame (length byte below 2).
    QByteArray answer(const QByteArray& request);

    // True between an accepted password entry and the next read request or refused entry.
    bool accessGranted() const { return access_; }

    // CRC-16 over the stored zone records, holidays, transfers and coefficient.
    uint16_t scheduleChecksum() const;

private:
    struct Reply;
    struct Handler;
    static const Handler* FindHandler(uint8_t function);
    Reply dispatch(uint8_t function, const QByteArray& request);
    double reading(uint8_t selector) const;
    // The current tariff follows the stored schedule, the clock and the load.
    void followSchedule();

    Reply readVersion(const QByteArray& request);
    Reply readNumber(const QByteArray& request);
    Reply writeNumber(const QByteArray& request);
    Reply writeLink(const QByteArray& request);
    Reply readClock(const QByteArray& request);
    Reply writeClock(const QByteArray& request);
    Reply readCoefficient(const QByteArray& request);
    Reply writeCoefficient(const QByteArray& request);
    Reply readSchedule(const QByteArray& request);
    Reply writeSchedule(const QByteArray& request);
    Reply readPlc(const QByteArray& request);
    Reply writePlc(const QByteArray& request);
    Reply readPower(const QByteArray& request);
    Reply readIndication(const QByteArray& request);
    Reply writeIndication(const QByteArray& request);
    Reply readReading(const QByteArray& request);
    Reply readDdmStatus(const QByteArray& request);
    Reply readCounters(const QByteArray& request);
    Reply readYearly(const QByteArray& request);
    Reply readEvent(const QByteArray& request);
    Reply enterPassword(const QByteArray& request);
    Reply writePassword(const QByteArray& request);
    Reply readIntegration(const QByteArray& request);
    Reply writeIntegration(const QByteArray& request);
    Reply readRoute(const QByteArray& request);
    Reply writeRoute(const QByteArray& request);
    Reply readBilling(const QByteArray& request);
    Reply writeBilling(const QByteArray& request);
    Reply resetBilling(const QByteArray& request);
    Reply readHoliday(const QByteArray& request);
    Reply writeHoliday(const QByteArray& request);
    Reply readTransfer(const QByteArray& request);
    Reply writeTransfer(const QByteArray& request);
    Reply readHalfHour(const QByteArray& request);
    Reply readPeaks(const QByteArray& request);
    Reply readDdmNumbers(const QByteArray& request);
    Reply writeDdmNumbers(const QByteArray& request);

    MeterState state_;
    ElapsedMs elapsed_;
    uint32_t clockBase_;
    qint64 clockRef_;
    uint32_t runningBase_;
    qint64 runningRef_;
    qint64 advancedTo_;
    uint32_t currentHalfHour_; // the half-hour in progress at the last advance
    // The factory number and running time last reported (functions 1 and 17): the PC scrambles
    // the password with them, so the meter unscrambles with them too, whatever the clock did since.
    uint32_t reportedNumber_ = 0;
    uint32_t reportedRunning_ = 0;
    bool access_ = false;
};

} // namespace zr::sim
