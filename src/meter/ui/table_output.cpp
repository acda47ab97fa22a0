#include "meter/ui/table_output.h"

#include "report/landscape_print.h"
#include "report/listing_printer.h"
#include "report/table_export.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTableWidget>
#include <QTreeWidget>
#include <QUrl>

namespace zr::meter
{

namespace
{

QString AskExportPath(QWidget* parent)
{
    QString filter = report::kXlsFilter;
    QString path = QFileDialog::getSaveFileName(
        parent, QString(), QString(),
        report::kXlsFilter + QStringLiteral(";;") + report::kCsvFilter, &filter);
    // The extension of the chosen filter when the user typed none.
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += filter == report::kCsvFilter ? QStringLiteral(".csv") : QStringLiteral(".xls");
    return path;
}

// One printer for the whole run: a listing too wide for portrait leaves it in landscape, and
// the user's choices in the dialog carry over to the next printout.
QPrinter& SharedPrinter()
{
    static QPrinter printer;
    return printer;
}

} // namespace

OutputHooks& Output()
{
    static OutputHooks hooks{
        AskExportPath,
        [](QWidget* parent, QPrinter& printer) {
            QPrintDialog dialog(&printer, parent);
            return dialog.exec() == QDialog::Accepted;
        },
        [](const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); },
        [](QWidget* parent, const QString& caption, const QString& text) {
            QMessageBox::warning(parent, caption, text);
        },
        [] { return 0; },
    };
    return hooks;
}

QString NumberTitle(const QString& separator)
{
    const int number = Output().numberField();
    return number >= 1 ? QStringLiteral("Счетчик № %1").arg(number) + separator : QString();
}

report::ReportTable TableOfGrid(const QTableWidget& grid, const QString& title)
{
    report::ReportTable table;
    table.title = title;
    const auto text = [&grid](int row, int column) {
        const QTableWidgetItem* cell = grid.item(row, column);
        return cell ? cell->text() : QString();
    };
    for (int column = 0; column < grid.columnCount(); ++column)
        table.captions << text(0, column);
    for (int row = 1; row < grid.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < grid.columnCount(); ++column)
            cells << text(row, column);
        table.rows << cells;
    }
    return table;
}

report::ReportTable TableOfList(const QTreeWidget& list, const QString& title)
{
    report::ReportTable table;
    table.title = title;
    const QTreeWidgetItem* header = list.headerItem();
    for (int column = 0; column < list.columnCount(); ++column)
        table.captions << header->text(column);
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list.topLevelItem(i);
        QStringList cells;
        for (int column = 0; column < list.columnCount(); ++column)
            cells << item->text(column);
        table.rows << cells;
    }
    return table;
}

void ExportWithDialog(QWidget* parent, const report::ReportTable& table)
{
    const QString path = Output().chooseExportPath(parent);
    if (path.isEmpty())
        return;
    const QString warning = report::ExportTable(path, table, report::FormatForPath(path));
    if (!warning.isEmpty()) {
        Output().warn(parent, report::kExportWarningCaption, warning);
        return;
    }
    Output().openFile(path);
}

void PrintWithDialog(QWidget* parent, const report::ReportTable& table)
{
    QPrinter& printer = SharedPrinter();
    if (Output().choosePrinter(parent, printer))
        report::PrintListing(printer, table);
}

void PrintPictureWithDialog(QWidget* parent, const std::function<void(QPainter&, QRect)>& paint)
{
    QPrinter& printer = SharedPrinter();
    if (Output().choosePrinter(parent, printer))
        report::PrintInLandscape(printer, paint);
}

} // namespace zr::meter
