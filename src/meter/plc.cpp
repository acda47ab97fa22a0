#include "meter/plc.h"

#include "link/function_code.h"
#include "meter/decode.h"
#include "meter/encodings.h"
#include "meter/request.h"
#include "meter/write_opening.h"

#include <optional>

namespace zr::meter
{

namespace
{

using namespace zr::link;

constexpr uint32_t kMaxRepeaterNumber = 16777215;

bool IsByte(int value)
{
    return value >= 0 && value <= 255;
}

std::optional<RequestBatch> RouteRefusal(int route)
{
    if (route < 0 || route >= kPlcRoutes)
        return RequestBatch::Refused(QStringLiteral("Номер маршрута должен быть от 0 до 3."));
    return std::nullopt;
}

RequestBatch WithOpening(QByteArray request)
{
    QList<QByteArray> frames = WriteBatchOpening();
    frames.append(std::move(request));
    return {frames, {}};
}

std::optional<uint32_t> RepeaterNumber(const QString& text)
{
    bool ok = false;
    const qlonglong n = text.trimmed().toLongLong(&ok);
    if (!ok || n < 0 || n > qlonglong(kMaxRepeaterNumber))
        return std::nullopt;
    return uint32_t(n);
}

} // namespace

PlcAddressInfo DecodePlcAddress(const QByteArray& frame)
{
    return Decode<PlcAddressInfo>(frame, [](FieldReader& r, PlcAddressInfo& v) {
        v.group = r.u8(2);
        v.address = r.u8(3);
        v.groupText = QString::number(v.group);
        v.addressText = QString::number(v.address);
    });
}

PlcRouteInfo DecodePlcRoute(const QByteArray& frame)
{
    return Decode<PlcRouteInfo>(frame, [](FieldReader& r, PlcRouteInfo& v) {
        v.route = r.u8(2);
        v.hasRow = v.route < kPlcRoutes;
        v.present = r.u8(1) == 7;
        if (v.present) {
            v.repeaterAddress = r.u8(3);
            v.repeaterNumber = r.u24(4);
            v.addressText = QString::number(v.repeaterAddress);
            v.numberText = QString::number(v.repeaterNumber);
        }
    });
}

RequestBatch BuildPlcAddressWrite(int group, int address)
{
    if (!IsByte(group) || !IsByte(address))
        return RequestBatch::Refused(
            QStringLiteral("Plc-группа и Plc-адрес должны быть от 0 до 255."));
    return WithOpening(Request(WritePlcAddress, QByteArray(1, char(group)) + char(address)));
}

RequestBatch BuildRouteWrite(int route, int repeaterAddress, const QString& numberText)
{
    if (auto refused = RouteRefusal(route))
        return *refused;
    if (!IsByte(repeaterAddress))
        return RequestBatch::Refused(
            QStringLiteral("Адрес ретранслятора должен быть от 0 до 255."));
    const std::optional<uint32_t> number = RepeaterNumber(numberText);
    if (!number)
        return RequestBatch::Refused(QStringLiteral("Номер для записи должен быть целым числом "
                                                    "от 0 до 16777215."));
    QByteArray payload = QByteArray(1, char(route)) + char(repeaterAddress);
    AppendU24(payload, *number);
    return WithOpening(Request(WriteRoute, payload));
}

RequestBatch BuildRouteDeletion(int route)
{
    if (auto refused = RouteRefusal(route))
        return *refused;
    return WithOpening(Request(WriteRoute, QByteArray(1, char(route))));
}

QString PlcAddressLogText(int group, int address)
{
    return QStringLiteral("Plc-группа=%1, Plc-адрес=%2").arg(group).arg(address);
}

QString RouteWriteLogText(int route, int repeaterAddress, const QString& numberText)
{
    return QStringLiteral("Plc-Маршрут=%1, адрес=%2, номер=").arg(route).arg(repeaterAddress) +
           numberText;
}

QString RouteDeletionLogText(int route)
{
    return QStringLiteral("Plc-Маршрут=%1 удален").arg(route);
}

} // namespace zr::meter
