#pragma once
// The common frame of every response decoder: read all fields, keep them only if every byte
// was there.

#include "meter/encodings.h"

#include <QByteArray>

namespace zr::meter
{

// Reads the fields with `read(reader, result)`; a response too short for them gives a default
// result whose error names the missing byte.
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
