#pragma once
// What a request builder hands the command queue: the batch's frames without checksum, or the
// reason it refused the input (then nothing may be queued).

#include <QByteArray>
#include <QList>
#include <QString>

namespace zr::meter
{

struct RequestBatch {
    QList<QByteArray> frames;
    QString refusal; // empty when the input was taken

    bool ok() const { return refusal.isEmpty(); }
    static RequestBatch Refused(const QString& reason) { return {{}, reason}; }
};

} // namespace zr::meter
