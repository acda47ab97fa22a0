#include "schedule/ui/tab_holidays.h"

#include "meter/ui/widgets.h"

#include <QDate>
#include <QHeaderView>

namespace zr::schedule
{

TabHolidays::TabHolidays(QWidget* parent) : QWidget(parent)
{
    ui.setupUi(this);
    meter::SetupReportList(ui.ListCel, {QStringLiteral("Месяц"), QStringLiteral("День")}, true);
    ui.ListCel->setColumnWidth(0, 100);
    meter::SetupReportList(ui.ListTransfer, {QStringLiteral("День"), QStringLiteral("По графику")},
                           true);
    ui.ListTransfer->setColumnWidth(0, 120);
    ui.ListTransfer->setColumnWidth(1, 120);
    for (QTreeWidget* list : {ui.ListCel, ui.ListTransfer})
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ui.GroupBox6->setFixedWidth(241);
    ui.GroupBox7->setFixedWidth(288);
    // A transfer lies ahead; the earliest date offered is the day the program started.
    ui.DTPTrans->setMinimumDate(QDate::currentDate());
}

} // namespace zr::schedule
