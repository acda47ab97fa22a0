#pragma once
// The common shape of the response decoders.

#include "meter/encodings.h"

#include <QByteArray>

namespace zr::meter
{

// Reads the fields of a complete response frame with `read`, then keeps them only if every byte
// was there; otherwise the result carries nothing but the reader's error.
template <typename Result, typename Read> Result Decode(const QByteArray& frame, Read read)
{
    FieldReader reader = FieldReader::Response(frame);
    Result result;
    read(reader, result);
    if (!reader.ok()) {
        result = Result();
        result.error = reader.error();
    }
    return result;
}

} // namespace zr::meter
