#pragma once
// An Excel 97 (BIFF8) workbook holding one table, written without a template.

#include "report/report_table.h"

#include <QByteArray>
#include <QLocale>
#include <optional>

namespace zr::report
{

// Three sheets "Лист1", "Лист2", "Лист3"; default font Arial 10 with the Cyrillic character set;
// every sheet prints its name as page header and "Страница " with the page number as footer,
// centred in Times New Roman 12. The first sheet holds the title in A1 and the table from row 2.
// A cell whose text reads as a real number in `locale` becomes a number, any other a text;
// empty cells stay blank. Strings are UTF-16, so no shared string table is needed.
QByteArray BuildWorkbookStream(const ReportTable& table, const QLocale& locale);

// The workbook stream inside its compound-file container: the bytes of an .xls file. Empty when
// the table does not fit a sheet (65536 rows, 256 columns) or the container.
std::optional<QByteArray> BuildXlsFile(const ReportTable& table, const QLocale& locale = QLocale());

// The number a cell text reads as in the locale: decimal separator of the locale, no group
// separators, finite. Empty for any other text (dates, times, hexadecimal, words).
std::optional<double> CellNumber(const QString& text, const QLocale& locale);

} // namespace zr::report
