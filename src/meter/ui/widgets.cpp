#include "meter/ui/widgets.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <algorithm>

namespace zr::meter
{

QColor AdjustColor(const QColor& color, int redPercent, int greenPercent, int bluePercent)
{
    const auto adjust = [](int channel, int percent) {
        return std::clamp(channel + channel * percent / 100, 0, 255);
    };
    return QColor(adjust(color.red(), redPercent), adjust(color.green(), greenPercent),
                  adjust(color.blue(), bluePercent));
}

void TintBackground(QWidget* widget, int redPercent, int greenPercent, int bluePercent)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, AdjustColor(palette.color(QPalette::Button), redPercent,
                                                   greenPercent, bluePercent));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void MakeParentColoured(QWidget* field)
{
    QPalette palette = field->palette();
    palette.setBrush(QPalette::Base, palette.brush(QPalette::Window));
    field->setPalette(palette);
}

void SetTextIfChanged(QLineEdit* field, const QString& text)
{
    if (field->text() != text)
        field->setText(text);
}

void SetTextIfChanged(QLabel* label, const QString& text)
{
    if (label->text() != text)
        label->setText(text);
}

void SetTextIfChanged(QTableWidgetItem* cell, const QString& text)
{
    if (cell->text() != text)
        cell->setText(text);
}

void SetCheckedIfChanged(QListWidgetItem* item, bool checked)
{
    const Qt::CheckState state = checked ? Qt::Checked : Qt::Unchecked;
    if (item->checkState() != state)
        item->setCheckState(state);
}

void SetupGrid(QTableWidget* grid, int columns, int rows)
{
    grid->setColumnCount(columns);
    grid->setRowCount(rows);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setFocusPolicy(Qt::NoFocus);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    const QBrush fixed = grid->palette().button();
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            auto* item = new QTableWidgetItem;
            if (row == 0 || column == 0)
                item->setBackground(fixed);
            grid->setItem(row, column, item);
        }
    }
}

void SetRowCaptions(QTableWidget* grid, int column, int firstRow, const QStringList& texts)
{
    for (int i = 0; i < texts.size(); ++i)
        grid->item(firstRow + i, column)->setText(texts[i]);
}

void SetColumnCaptions(QTableWidget* grid, int row, int firstColumn, const QStringList& texts)
{
    for (int i = 0; i < texts.size(); ++i)
        grid->item(row, firstColumn + i)->setText(texts[i]);
}

void ClearDataCells(QTableWidget* grid)
{
    for (int row = 1; row < grid->rowCount(); ++row)
        for (int column = 1; column < grid->columnCount(); ++column)
            grid->item(row, column)->setText(QString());
}

void FitGridToContents(QTableWidget* grid, int dataColumnWidth)
{
    grid->resizeColumnsToContents();
    for (int column = 1; column < grid->columnCount(); ++column)
        grid->setColumnWidth(column, std::max(grid->columnWidth(column), dataColumnWidth));
    const int frame = 2 * grid->frameWidth();
    int width = frame;
    for (int column = 0; column < grid->columnCount(); ++column)
        width += grid->columnWidth(column);
    int height = frame;
    for (int row = 0; row < grid->rowCount(); ++row)
        height += grid->rowHeight(row);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setMinimumSize(width, height);
    grid->setMaximumHeight(height);
    grid->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    grid->horizontalHeader()->setStretchLastSection(true);
}

void FitListToContents(QListWidget* list)
{
    const int frame = 2 * list->frameWidth();
    list->setFixedSize(list->sizeHintForColumn(0) + frame + 4,
                       list->sizeHintForRow(0) * list->count() + frame + 2);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void SetupReportList(QTreeWidget* list, const QStringList& columns, bool gridLines)
{
    list->setColumnCount(columns.size());
    list->setHeaderLabels(columns);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QHeaderView* header = list->header();
    for (int column = 0; column < columns.size(); ++column)
        list->setColumnWidth(column,
                             std::max(list->columnWidth(column), header->sectionSizeHint(column)));
    // An item rule of a style sheet drops the style's selection background, while the text still
    // takes the highlighted-text colour: the selection is painted by the sheet as well.
    if (gridLines)
        list->setStyleSheet(
            QStringLiteral("QTreeView::item { border-right: 1px solid palette(mid);"
                           " border-bottom: 1px solid palette(mid); }"
                           " QTreeView::item:selected { background: "
                           "palette(highlight); color: palette(highlighted-text); }"));
}

void HideSelection(QTableWidget* grid)
{
    if (grid->currentIndex().isValid() || grid->selectionModel()->hasSelection()) {
        grid->clearSelection();
        grid->setCurrentIndex(QModelIndex());
    }
}

} // namespace zr::meter
