#pragma once
// A table printed as a ruled listing over as many pages as it needs.

#include "report/report_table.h"

#include <QDateTime>

class QPrinter;

namespace zr::report
{

// Columns as wide as their widest text in bold 10-point plus a margin; a table wider than the
// page switches the printer to landscape (and leaves it so); a table narrower than four fifths
// of the page is widened by 6/5 until it is not. The first page starts with `printedAt` and the
// title, every further page with its number "- N -" and the title; the header row repeats on
// every page. All pages form one print job. False when the printer cannot be started.
bool PrintListing(QPrinter& printer, const ReportTable& table,
                  const QDateTime& printedAt = QDateTime::currentDateTime());

// The date line of the first page: "11 декабря 2026 г. 09:05:03".
QString ListingDateText(const QDateTime& printedAt);

} // namespace zr::report
