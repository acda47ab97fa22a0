#include "meter/write_opening.h"

#include "meter/request.h"

namespace zr::meter
{

QList<QByteArray> WriteBatchOpening()
{
    return {Request(link::ReadNumber), Request(link::ReadCounters),
            Request(link::EnterPassword, QByteArray(6, 0))};
}

} // namespace zr::meter
