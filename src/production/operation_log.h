#pragma once
// The operation log: one line per acknowledged write, tagged with the meter's factory number and
// the time, in a Windows-1251 text file with CR LF line ends, and the viewer's selection of the
// lines of one meter.

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>

namespace zr::production
{

// The number as EditNumber shows it, "[", the locale's short date and long time, "] ", the event.
QString OperationLogLine(const QString& numberText, const QDateTime& now, const QString& event,
                         const QLocale& locale = QLocale());

// Appends `line` and CR LF to the file at `path` (created when missing). Earlier lines are never
// rewritten, so a failure in the middle of a write cannot lose them. Returns the reason when the
// line was not written completely, empty on success.
QString AppendOperationLog(const QString& path, const QString& line);

// The lines of the meter numbered `filter`: those whose first six characters are the filter
// zero-filled to six digits, each from its seventh character on, in file order. A meter without a
// number logs "0[" and never matches; a filter of seven digits or more matches nothing.
QStringList FilterOperationLog(const QByteArray& fileBytes, int filter);

// The viewer's reading of the file: nothing when the file does not exist; the reason in *error
// when it exists but cannot be read.
QStringList ReadOperationLog(const QString& path, int filter, QString* error = nullptr);

} // namespace zr::production
