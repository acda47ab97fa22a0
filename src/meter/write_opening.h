#pragma once
// The requests every batch that needs the meter's password starts with.

#include <QByteArray>
#include <QList>

namespace zr::meter
{

// Read the factory number, read the running-time counter, enter the password (six zero bytes,
// filled in and scrambled by the link just before the request goes on the line). The answers to
// the first two refresh the values the scrambling uses.
QList<QByteArray> WriteBatchOpening();

} // namespace zr::meter
