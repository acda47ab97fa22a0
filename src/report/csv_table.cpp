#include "report/csv_table.h"

namespace zr::report
{

namespace
{

QString Quoted(const QString& cell)
{
    if (!cell.contains(';') && !cell.contains('"') && !cell.contains('\n') && !cell.contains('\r'))
        return cell;
    QString quoted = cell;
    quoted.replace('"', QStringLiteral("\"\""));
    return '"' + quoted + '"';
}

QString Line(const QStringList& cells, int columns)
{
    QStringList quoted;
    for (int c = 0; c < columns; ++c)
        quoted.append(Quoted(cells.value(c)));
    return quoted.join(';') + QStringLiteral("\r\n");
}

} // namespace

QByteArray BuildCsv(const ReportTable& table)
{
    const int columns = table.ColumnCount();
    QString text = Quoted(table.title) + QStringLiteral("\r\n");
    text += Line(table.captions, columns);
    for (const QStringList& row : table.rows)
        text += Line(row, columns);
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace zr::report
