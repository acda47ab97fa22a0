#include "meter/device_state.h"

#include "link/function_code.h"
#include "link/meter_link.h"

namespace zr::meter
{

using namespace zr::link;

DeviceState::DeviceState(QObject* parent) : QObject(parent) {}

void DeviceState::attach(MeterLink& link)
{
    Q_ASSERT(!m_link);
    m_link = &link;
    const auto on = [&link](FunctionCode code, auto handler) {
        link.RegisterDecoder(code, std::move(handler));
    };
    on(ReadVersion, [this](const QByteArray& f) {
        Take(DecodeVersion(f), &DeviceState::versionRead);
    });
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
    on(ReadIndication, [this](const QByteArray& f) {
        Take(DecodeIndication(f), &DeviceState::indicationRead);
    });
    on(ReadReading, [this](const QByteArray& f) {
        // Outside the idle cycle a reading without a decoder of its own belongs to no one.
        if (m_link->idleReading())
            Take(DecodeIdleReading(f), &DeviceState::idleReadingRead);
    });
    on(ReadDdmStatus, [this](const QByteArray& f) {
        Take(DecodeDdmStatus(f), &DeviceState::ddmStatusRead);
    });
    on(ReadCounters, [this](const QByteArray& f) {
        Take(DecodeRunningTime(f), &DeviceState::runningTimeRead);
    });
    on(ReadIntegrationTime, [this](const QByteArray& f) {
        Take(DecodeIntegration(f), &DeviceState::integrationRead);
    });
    on(ReadBillingDay, [this](const QByteArray& f) {
        Take(DecodeBilling(f), &DeviceState::billingRead);
    });
    on(ReadDdmNumbers, [this](const QByteArray& f) {
        Take(DecodeDdmNumbers(f), &DeviceState::ddmNumbersRead);
    });
}

template <typename Result>
void DeviceState::Take(const Result& result, void (DeviceState::*report)(const Result&))
{
    if (!result.ok()) {
        m_link->LogMessage(result.error);
        return;
    }
    Keep(result);
    emit(this->*report)(result);
}

void DeviceState::Keep(const VersionInfo& info)
{
    m_values.apply(info);
    emit changed();
}

void DeviceState::Keep(const DdmStatusInfo& info)
{
    m_values.apply(info);
    emit changed();
}

void DeviceState::Keep(const FactoryNumberInfo& info)
{
    m_values.apply(info);
    m_link->setFactoryNumber(info.number);
    emit changed();
}

void DeviceState::Keep(const ClockInfo& info)
{
    m_values.apply(info);
    m_tariffText = info.tariffText;
    m_link->setCurrentTariffText(m_tariffText);
    emit changed();
}

void DeviceState::Keep(const RunningTimeInfo& info)
{
    m_values.apply(info);
    m_link->setRunningTime(info.runningSeconds);
    emit changed();
}

void DeviceState::reset()
{
    m_values.reset();
    m_tariffText.clear();
    if (m_link) {
        m_link->setFactoryNumber(0);
        m_link->setCurrentTariffText(m_tariffText);
    }
    emit changed();
}

} // namespace zr::meter
