#pragma once
// The power-line modem's group, address and retransmission routes (the "Параметры PLC" tab):
// the idle cycle's answers, the three write commands and their operation-log lines.

#include "meter/device_info.h"
#include "meter/request_batch.h"

#include <QByteArray>
#include <QString>

namespace zr::meter
{

constexpr int kPlcRoutes = 4;

// Function 10: EditGroup and EditAddress.
struct PlcAddressInfo : DecodeResult {
    int group = 0;
    int address = 0;
    QString groupText;
    QString addressText;
};
PlcAddressInfo DecodePlcAddress(const QByteArray& frame);

// Function 32: one row of ListRoute. An empty route (any length byte but 7) clears the row's
// cells; a route index without a row (above 3) is no error, the answer is just not shown.
struct PlcRouteInfo : DecodeResult {
    int route = 0;
    bool hasRow = false;  // route 0..3
    bool present = false; // the route is set; otherwise the cells are cleared
    int repeaterAddress = 0;
    uint32_t repeaterNumber = 0;
    QString addressText; // "Адрес" cell, empty for an empty route
    QString numberText;  // "Номер" cell, empty for an empty route
};
PlcRouteInfo DecodePlcRoute(const QByteArray& frame);

// Write group and address (SpinGroup, SpinAddress, 0..255).
RequestBatch BuildPlcAddressWrite(int group, int address);
// Write route `route` (SpinRoute 0..3) through the repeater at `repeaterAddress` (SpinAddrRep)
// with the number typed in EditNumb, a decimal integer 0..16777215; any other text is refused.
RequestBatch BuildRouteWrite(int route, int repeaterAddress, const QString& numberText);
// Delete route `route`.
RequestBatch BuildRouteDeletion(int route);

// The operation-log event texts of the acknowledgements of functions 11 and 33.
QString PlcAddressLogText(int group, int address);
QString RouteWriteLogText(int route, int repeaterAddress, const QString& numberText);
QString RouteDeletionLogText(int route);

} // namespace zr::meter
