#pragma once
// Saving a table as a workbook or CSV file, replacing the target only when all is written.

#include "report/report_table.h"

#include <QLocale>
#include <QString>

namespace zr::report
{

enum class ExportFormat { Xls, Csv };

// The save dialog's filters, in the order offered; the first is the default.
inline const QString kXlsFilter = QStringLiteral("xls (*.xls)");
inline const QString kCsvFilter = QStringLiteral("CSV (*.csv)");

// The message box of a failed export: caption and text.
inline const QString kExportWarningCaption = QStringLiteral("Warning");
inline const QString kExportWarning = QStringLiteral(
    "Файл не может быть создан в указанной директории, или файл с таким именем сейчас открыт!");

// The format a chosen file name asks for: CSV for ".csv" (any case), the workbook otherwise.
ExportFormat FormatForPath(const QString& path);

// Writes a temporary file beside `path` and renames it over `path`, so a failure leaves neither
// a half-written file nor a damaged previous one. Returns the warning text on failure (the
// directory cannot be written, the target is open in another program or read-only, the table
// is too large for a sheet), an empty text on success.
QString ExportTable(const QString& path, const ReportTable& table, ExportFormat format,
                    const QLocale& locale = QLocale());

} // namespace zr::report
