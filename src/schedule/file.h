#pragma once
// Schedule files (".tsc"): no header, fixed-size fields each followed by 0D 0A: the holiday table
// (32 bytes), the transfer table (64), the limit coefficient (1), then one packed zone record (7)
// per committed record. The reader goes by the fixed sizes only; separator bytes are not read,
// so 0D 0A inside a field is data.

#include "schedule/model.h"

#include <QStringList>

namespace zr::schedule
{

constexpr int kFileHeaderSize = 103; // tables and coefficient with their separators
constexpr int kFileRecordSize = kPackedZoneSize + 2;
// Far above any real schedule (every cell with a zone at every minute); a larger file is not a
// schedule and is refused before it is read into memory.
constexpr qint64 kMaxFileSize = kFileHeaderSize + qint64(kFileRecordSize) * 1440 * 12 * 8;

// The file image of the schedule. Packs the records through SaveRecords, so pending changes
// are committed here.
QByteArray BuildFileImage(Schedule& schedule);

// Applies a file image, all or nothing: on refusal returns false, says in *error what is wrong
// and where (byte offset, record or entry number), and the schedule stays as it was. A last
// record that lacks only its separator is accepted; a shorter trailing fragment is refused.
// A transfer dated after 2099 (a year byte whose digits go past 9) cannot be kept or written
// back, but says nothing wrong about the rest: only that entry is left out, and *dropped (when
// given) gets one sentence per entry left out.
bool LoadFileImage(Schedule& schedule, const QByteArray& image, QString* error,
                   QStringList* dropped = nullptr);

// Reads and applies the file at path; *error names the file and the problem.
bool LoadScheduleFile(Schedule& schedule, const QString& path, QString* error,
                      QStringList* dropped = nullptr);

// Writes to a temporary file beside path that then replaces it, so a failed write leaves any
// previous file whole. There is no limit on the number of records.
bool WriteFileImage(const QString& path, const QByteArray& image, QString* error);

} // namespace zr::schedule
