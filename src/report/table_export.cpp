#include "report/table_export.h"

#include "report/csv_table.h"
#include "report/xls_workbook.h"

#include <QSaveFile>

namespace zr::report
{

ExportFormat FormatForPath(const QString& path)
{
    return path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) ? ExportFormat::Csv
                                                                      : ExportFormat::Xls;
}

QString ExportTable(const QString& path, const ReportTable& table, ExportFormat format,
                    const QLocale& locale)
{
    std::optional<QByteArray> bytes =
        format == ExportFormat::Csv ? BuildCsv(table) : BuildXlsFile(table, locale);
    if (!bytes)
        return kExportWarning;
    // QSaveFile refuses an existing target it may not write, and its rename fails on a file that
    // another program holds open, so both end here with the old file untouched.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() || !file.commit())
        return kExportWarning;
    return {};
}

} // namespace zr::report
