#include "meter/ui/tab_plc.h"

#include "meter/ui/widgets.h"

namespace zr::meter
{

TabPlc::TabPlc(QWidget* parent) : QWidget(parent)
{
    ui.setupUi(this);
    SetupReportList(ui.ListRoute,
                    {QStringLiteral("№"), QStringLiteral("Адрес"), QStringLiteral("Номер")}, false);
    // The meter holds exactly four routes; their rows exist before anything is read.
    for (int route = 0; route < 4; ++route)
        new QTreeWidgetItem(ui.ListRoute, {QString::number(route), QString(), QString()});
    MakeParentColoured(ui.EditGroup);
    MakeParentColoured(ui.EditAddress);
}

} // namespace zr::meter
