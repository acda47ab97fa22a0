#include "meter/write_opening.h"

#include "link/function_code.h"

namespace zr::meter
{

QList<QByteArray> WriteBatchOpening()
{
    using namespace zr::link;
    return {QByteArray(1, char(ReadNumber)) + char(2), QByteArray(1, char(ReadCounters)) + char(2),
            QByteArray(1, char(EnterPassword)) + char(8) + QByteArray(6, 0)};
}

} // namespace zr::meter
