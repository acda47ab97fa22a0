#include "meter/device_state.h"

#include "link/function_code.h"
#include "link/meter_link.h"

namespace zr::meter
{

using namespace zr::link;

DeviceState::DeviceState(QObject* parent) : QObject(parent) {}

void DeviceState::attach(MeterLink& link)
{
    Q_ASSERT(!link_);
    link_ = &link;
    const auto on = [&link](FunctionCode code, auto handler) {
        link.RegisterDecoder(code, std::move(handler));
    };
    on(ReadVersion,
       [this](const QByteArray& f) { Take(DecodeVersion(f), &DeviceState::versionRead); });
    on(ReadNumber, [this](const QByteArray& f) {
        Take(DecodeFactoryNumber(f), &DeviceState::factoryNumberRead);
    });
    on(ReadClock, [this](const QByteArray& f) { Take(DecodeClock(f), &DeviceState::clockRead); });
    on(ReadSchedule, [this](const QByteArray& f) {
        const ScheduleChecksumInfo info = DecodeScheduleChecksum(f);
        if (info.present)
            Take(info, &DeviceState::scheduleChecksumRead);
    });
    on(ReadPower, [this](const QByteArray& f) { Take(DecodePower(f), &DeviceState::powerRead); });
    on(ReadIndication,
       [this](const QByteArray& f) { Take(DecodeIndication(f), &DeviceState::indicationRead); });
    on(ReadReading, [this](const QByteArray& f) {
        // Outside the idle cycle a reading without a decoder of its own belongs to no one.
        if (link_->idleReading())
            Take(DecodeIdleReading(f), &DeviceState::idleReadingRead);
    });
    on(ReadDdmStatus,
       [this](const QByteArray& f) { Take(DecodeDdmStatus(f), &DeviceState::ddmStatusRead); });
    on(ReadCounters,
       [this](const QByteArray& f) { Take(DecodeRunningTime(f), &DeviceState::runningTimeRead); });
    on(ReadIntegrationTime,
       [this](const QByteArray& f) { Take(DecodeIntegration(f), &DeviceState::integrationRead); });
    on(ReadBillingDay,
       [this](const QByteArray& f) { Take(DecodeBilling(f), &DeviceState::billingRead); });
    on(ReadDdmNumbers,
       [this](const QByteArray& f) { Take(DecodeDdmNumbers(f), &DeviceState::ddmNumbersRead); });
}

template <typename Result>
void DeviceState::Take(const Result& result, void (DeviceState::*report)(const Result&))
{
    if (!result.ok()) {
        link_->LogMessage(result.error);
        return;
    }
    Keep(result);
    emit(this->*report)(result);
}

void DeviceState::Keep(const VersionInfo& info)
{
    values_.apply(info);
    emit changed();
}

void DeviceState::Keep(const DdmStatusInfo& info)
{
    values_.apply(info);
    emit changed();
}

void DeviceState::Keep(const FactoryNumberInfo& info)
{
    values_.apply(info);
    numberText_ = info.text;
    link_->setFactoryNumber(info.number);
    emit changed();
}

void DeviceState::Keep(const ClockInfo& info)
{
    values_.apply(info);
    tariffText_ = info.tariffText;
    link_->setCurrentTariffText(tariffText_);
    emit changed();
}

void DeviceState::Keep(const RunningTimeInfo& info)
{
    values_.apply(info);
    link_->setRunningTime(info.runningSeconds);
    emit changed();
}

void DeviceState::reset()
{
    values_.reset();
    tariffText_.clear();
    numberText_.clear();
    if (link_) {
        link_->setFactoryNumber(0);
        link_->setCurrentTariffText(tariffText_);
    }
    emit changed();
}

} // namespace zr::meter
