#pragma once
// A request frame without its checksum: function code, length byte, payload.

#include "link/function_code.h"

#include <QByteArray>

namespace zr::meter
{

inline QByteArray Request(link::FunctionCode function, const QByteArray& payload = {})
{
    QByteArray out;
    out.append(char(function));
    out.append(char(2 + payload.size()));
    return out + payload;
}

} // namespace zr::meter
