#pragma once
// The meter's identity and state as the idle poll cycle reports them. Owns the kept values every
// feature reads (password scrambling, production records, drift measurement), registers the
// decoders of the idle cycle's answers with the link and feeds the link the factory number, the
// running time and the current tariff. Pages only show what it reports.

#include "meter/device_info.h"

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>

namespace zr::link
{
class MeterLink;
}

namespace zr::meter
{

class DeviceState : public QObject
{
    Q_OBJECT
public:
    explicit DeviceState(QObject* parent = nullptr);

    // Registers the decoders of functions 0, 1, 4, 8 (checksum form), 12, 13, 15 (idle form),
    // 16, 17, 30, 34 and 44. Once, for one link.
    void attach(link::MeterLink& link);

    const MeterState& values() const { return values_; }
    int deviceType() const { return values_.deviceType; }
    uint32_t factoryNumber() const { return values_.factoryNumber; }
    uint32_t runningSeconds() const { return values_.runningSeconds; }
    uint8_t timerFlags() const { return values_.timerFlags; }
    std::array<uint8_t, 3> ddmStatus() const { return values_.ddmStatus; }
    // EditTariff's text: the current tariff's number, empty until the clock has been read.
    QString currentTariffText() const { return tariffText_; }
    // EditNumber's text: "0" or six digits once the number has been read, empty before.
    QString factoryNumberText() const { return numberText_; }

    // Display reset: forgets the values (the running-time counter excepted); the link scrambles
    // with factory number 0 until the meter reports its own.
    void reset();

signals:
    // Each decoded answer, for the pages to show. A response too short for its layout is not
    // reported: it goes to the traffic log and changes nothing.
    void versionRead(const VersionInfo& info);
    void factoryNumberRead(const FactoryNumberInfo& info);
    void clockRead(const ClockInfo& info);
    void powerRead(const PowerInfo& info);
    void indicationRead(const IndicationInfo& info);
    void idleReadingRead(const TariffReadingInfo& info);
    void ddmStatusRead(const DdmStatusInfo& info);
    void runningTimeRead(const RunningTimeInfo& info);
    void integrationRead(const IntegrationInfo& info);
    void billingRead(const BillingInfo& info);
    void ddmNumbersRead(const DdmNumbersInfo& info);
    void scheduleChecksumRead(const ScheduleChecksumInfo& info);
    // The kept values or the current tariff changed (after a decoded answer or a reset).
    void changed();

private:
    // Logs a short response's error; otherwise keeps what the result carries and reports it.
    template <typename Result>
    void Take(const Result& result, void (DeviceState::*report)(const Result&));
    void Keep(const VersionInfo& info);
    void Keep(const FactoryNumberInfo& info);
    void Keep(const ClockInfo& info);
    void Keep(const DdmStatusInfo& info);
    void Keep(const RunningTimeInfo& info);
    // Answers that are only shown.
    template <typename Result> void Keep(const Result&) {}

    link::MeterLink* link_ = nullptr;
    MeterState values_;
    QString tariffText_;
    QString numberText_;
};

} // namespace zr::meter
