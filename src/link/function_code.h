#pragma once
// The meter's function codes, named after their operations. A request's first byte and a valid
// response's first byte hold one of these; an error response sets bit 7 on top.

#include <cstdint>

namespace zr::link
{

enum FunctionCode : uint8_t {
    ReadVersion = 0,
    ReadNumber = 1,
    WriteNumber = 2,
    WriteLinkParameters = 3,
    ReadClock = 4,
    WriteClock = 5,
    ReadLimitCoefficient = 6,
    WriteLimitCoefficient = 7,
    ReadSchedule = 8,
    WriteSchedule = 9,
    ReadPlcAddress = 10,
    WritePlcAddress = 11,
    ReadPower = 12,
    ReadIndication = 13,
    WriteIndication = 14,
    ReadReading = 15,
    ReadDdmStatus = 16,
    ReadCounters = 17,
    ReadYearJournal = 18,
    ReadEventJournal = 19,
    EnterPassword = 20,
    WritePassword = 21,
    ReadIntegrationTime = 30,
    WriteIntegrationTime = 31,
    ReadRoute = 32,
    WriteRoute = 33,
    ReadBillingDay = 34,
    WriteBillingDay = 35,
    ResetBillingReadings = 36,
    ReadHolidays = 38,
    WriteHolidays = 39,
    ReadTransfers = 40,
    WriteTransfers = 41,
    ReadHalfHours = 42,
    ReadPeaks = 43,
    ReadDdmNumbers = 44,
    WriteDdmNumbers = 45,
};

// Set on top of the request's code in an error response.
constexpr uint8_t kErrorFlag = 0x80;

} // namespace zr::link
