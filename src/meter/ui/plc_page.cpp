#include "meter/ui/plc_page.h"

#include "meter/ui/widgets.h"

namespace zr::meter
{

PlcPage::PlcPage(QWidget* parent) : QWidget(parent)
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

void PlcPage::setMeterControlsEnabled(bool enabled)
{
    for (QWidget* button : {ui.BtnWriteAddress, ui.BtnWriteRoute, ui.ButtonDelRoute})
        button->setEnabled(enabled);
}

} // namespace zr::meter
