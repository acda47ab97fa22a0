#include "meter/settings_write.h"

#include "link/cp1251.h"
#include "link/function_code.h"
#include "link/line_speed.h"
#include "link/password.h"
#include "meter/device_info.h"
#include "meter/encodings.h"
#include "meter/request.h"
#include "meter/write_opening.h"

namespace zr::meter
{

namespace
{

using namespace zr::link;

constexpr int kMaxFactoryNumber = 999999; // six digits, as the meter shows it
constexpr qint64 kMaxU24 = 16777215;
// The clock request reaches the meter a moment after the command, so the time written runs ahead.
constexpr int kClockLeadSeconds = 3;

QByteArray U24(uint32_t value)
{
    QByteArray out;
    AppendU24(out, value);
    return out;
}

bool NumberWritten(const SettingsWriteInput& in)
{
    bool ok = false;
    const int reported = in.reportedNumber.trimmed().toInt(&ok);
    return in.factoryNumber > 0 && ok && reported == 0;
}

QDateTime PickedDateTime(const SettingsWriteInput& in)
{
    return QDateTime(in.date, in.time, Qt::UTC);
}

QString BaudText(int index)
{
    const int baud = BaudForIndex(index);
    return baud ? QString::number(baud) : QString();
}

// The reason the ticked items cannot be written as they are; empty when they can.
QString Refusal(const SettingsWriteInput& in)
{
    if (in.writeClock) {
        const QDateTime picked = PickedDateTime(in);
        if (!EncodeMeterTimestamp(picked) ||
            !EncodeMeterTimestamp(picked.addSecs(kClockLeadSeconds)))
            return QStringLiteral("Время счетчика можно установить только от 01.01.2000 "
                                  "00:00:00 до 07.02.2136 06:28:12.");
    }
    if (in.writePassword) {
        if (in.newPassword.size() > kPasswordLength)
            return QStringLiteral("Новый пароль длиннее 6 символов.");
        for (QChar c : in.newPassword) {
            if (c != u'?' && Cp1251Code(c) == '?')
                return QStringLiteral("Символ «%1» нельзя записать в пароль счетчика.").arg(c);
        }
    }
    if (NumberWritten(in) && in.factoryNumber > kMaxFactoryNumber)
        return QStringLiteral("Заводской номер должен содержать не более 6 цифр.");
    if (in.writeBilling && (in.billingDay < 1 || in.billingDay > 31))
        return QStringLiteral("Расчетный день должен быть от 1 до 31.");
    if (in.writeBilling && (in.billingHour < 0 || in.billingHour > 23))
        return QStringLiteral("Расчетный час должен быть от 0 до 23.");
    if (in.writeIntegration && (in.integrationMinutes < 1 || in.integrationMinutes > 60))
        return QStringLiteral("Время интегрирования пиковой мощности должно быть от 1 до 60 мин.");
    if (in.writeDdm) {
        for (qint64 n : in.ddmNumbers) {
            if (n < 0 || n > kMaxU24)
                return QStringLiteral("Номер ДДМ должен быть от 0 до 16777215.");
        }
        if (in.ddmModeIndex < -1 || in.ddmModeIndex > 8)
            return QStringLiteral("Неизвестный режим тарификации ДДМ.");
    }
    if (in.writeLink) {
        if (in.newAddress < 0 || in.newAddress > 255)
            return QStringLiteral("Новый адрес должен быть от 0 до 255.");
        if (BaudForIndex(in.newBaudIndex) == 0)
            return QStringLiteral("Выберите новую скорость связи.");
    }
    return {};
}

} // namespace

PlcGroupAddress PlcGroupAddressForNumber(int number)
{
    const int group = (number % 10000) / 100;
    const int address = number % 100;
    return {group ? group : 100, address ? address : 100};
}

RequestBatch BuildSettingsBatch(const SettingsWriteInput& in)
{
    const QString refusal = Refusal(in);
    if (!refusal.isEmpty())
        return RequestBatch::Refused(refusal);

    RequestBatch batch{WriteBatchOpening(), {}};
    QList<QByteArray>& frames = batch.frames;
    if (in.writeClock) {
        QByteArray p(1, char(in.daylightSaving ? 0x80 : 0x00));
        AppendU32(p, *EncodeMeterTimestamp(PickedDateTime(in).addSecs(kClockLeadSeconds)));
        frames.append(Request(WriteClock, p));
    }
    if (in.writePassword)
        frames.append(Request(WritePassword, QByteArray(kPasswordLength, '\0')));
    if (NumberWritten(in)) {
        frames.append(Request(WriteNumber, U24(uint32_t(in.factoryNumber))));
        const PlcGroupAddress plc = PlcGroupAddressForNumber(in.factoryNumber);
        frames.append(Request(WritePlcAddress, QByteArray(1, char(plc.group)) + char(plc.address)));
    }
    if (in.writeBilling)
        frames.append(Request(WriteBillingDay, QByteArray(1, char(ToBcd(in.billingHour))) +
                                                   char(ToBcd(in.billingDay))));
    if (in.writeIndication) {
        uint8_t mask = 0;
        for (size_t i = 0; i < in.indication.size(); ++i)
            mask |= in.indication[i] ? uint8_t(1u << i) : 0;
        frames.append(Request(WriteIndication, QByteArray(1, char(mask))));
    }
    if (in.writeIntegration)
        frames.append(
            Request(WriteIntegrationTime, QByteArray(1, char(in.integrationMinutes - 1))));
    if (in.writeDdm) {
        QByteArray p;
        for (qint64 n : in.ddmNumbers)
            AppendU24(p, uint32_t(n));
        p.append(char(in.ddmModeIndex)); // a typed text that selects no item travels as FF
        frames.append(Request(WriteDdmNumbers, p));
    }
    if (in.resetSchedule)
        frames.append(Request(WriteSchedule));
    // Last: from its acknowledgement on the meter answers at the new address and speed only.
    if (in.writeLink)
        frames.append(Request(WriteLinkParameters,
                              QByteArray(1, char(in.newAddress)) + char(in.newBaudIndex)));
    return batch;
}

SettingsAcknowledgement AcknowledgeSettingsWrite(uint8_t function, const SettingsWriteInput& in,
                                                 const QLocale& locale)
{
    SettingsAcknowledgement ack;
    switch (function) {
    case WriteNumber:
        ack.logText = QStringLiteral("Номер=%1").arg(in.factoryNumber);
        break;
    case WriteLinkParameters:
        ack.logText = QStringLiteral("Адрес=%1 Скорость=%2")
                          .arg(in.newAddress)
                          .arg(BaudText(in.newBaudIndex));
        ack.newAddress = in.newAddress;
        ack.newBaudIndex = in.newBaudIndex;
        break;
    case WriteClock:
        ack.logText = QStringLiteral("Время=") + FormatDateTime(PickedDateTime(in), locale) +
                      (in.daylightSaving ? QStringLiteral(" Автопереход на летнее время")
                                         : QStringLiteral(" Нет автоперехода на летнее время"));
        break;
    case WriteIndication: {
        ack.logText = QStringLiteral("Режим индикации=");
        const QStringList items = IndicationItems();
        for (size_t i = 0; i < in.indication.size(); ++i) {
            if (in.indication[i])
                ack.logText += items.at(int(i)) + u' ';
        }
        break;
    }
    case WritePassword:
        ack.logText = QStringLiteral("Пароль=") + in.newPassword;
        ack.newAccessPassword = in.newPassword;
        break;
    case WriteIntegrationTime:
        // The misspelling is kept: existing logs hold this text.
        ack.logText = QStringLiteral("Время интегрирования детектора пиковой можщности=%1")
                          .arg(in.integrationMinutes);
        break;
    case WriteBillingDay:
        ack.logText = QStringLiteral("Расчетный день=%1 Расчетный час=%2")
                          .arg(in.billingDay)
                          .arg(in.billingHour);
        break;
    case WriteDdmNumbers:
        ack.logText = QStringLiteral("ДДМ=%1,%2,%3 Режим тарификации=")
                          .arg(in.ddmNumbers[0])
                          .arg(in.ddmNumbers[1])
                          .arg(in.ddmNumbers[2]) +
                      in.ddmModeText;
        break;
    default:
        break;
    }
    return ack;
}

} // namespace zr::meter
