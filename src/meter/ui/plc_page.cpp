#include "meter/ui/plc_page.h"

#include "link/function_code.h"
#include "link/meter_link.h"
#include "meter/plc.h"
#include "meter/ui/widgets.h"

namespace zr::meter
{

PlcPage::PlcPage(QWidget* parent) : QWidget(parent)
{
    ui.setupUi(this);
    SetupReportList(ui.ListRoute,
                    {QStringLiteral("№"), QStringLiteral("Адрес"), QStringLiteral("Номер")}, false);
    // The meter holds exactly four routes; their rows exist before anything is read.
    for (int route = 0; route < kPlcRoutes; ++route)
        new QTreeWidgetItem(ui.ListRoute, {QString::number(route), QString(), QString()});
    MakeParentColoured(ui.EditGroup);
    MakeParentColoured(ui.EditAddress);
}

void PlcPage::attach(link::MeterLink& link, DeviceState&)
{
    link_ = &link;
    link.RegisterDecoder(link::ReadPlcAddress, [this](const QByteArray& frame) {
        const PlcAddressInfo info = DecodePlcAddress(frame);
        if (!info.ok()) {
            link_->LogMessage(info.error);
            return;
        }
        ui.EditGroup->setText(info.groupText);
        ui.EditAddress->setText(info.addressText);
    });
    link.RegisterDecoder(link::ReadRoute, [this](const QByteArray& frame) {
        const PlcRouteInfo info = DecodePlcRoute(frame);
        if (!info.ok()) {
            link_->LogMessage(info.error);
            return;
        }
        if (!info.hasRow)
            return;
        QTreeWidgetItem* row = ui.ListRoute->topLevelItem(info.route);
        row->setText(1, info.addressText);
        row->setText(2, info.numberText);
    });
    connect(ui.BtnWriteAddress, &QPushButton::clicked, this, &PlcPage::BtnWriteAddressClick);
    connect(ui.BtnWriteRoute, &QPushButton::clicked, this, &PlcPage::BtnWriteRouteClick);
    connect(ui.ButtonDelRoute, &QPushButton::clicked, this, &PlcPage::ButtonDelRouteClick);
}

void PlcPage::setMeterControlsEnabled(bool enabled)
{
    for (QWidget* button : {ui.BtnWriteAddress, ui.BtnWriteRoute, ui.ButtonDelRoute})
        button->setEnabled(enabled);
}

void PlcPage::BtnWriteAddressClick()
{
    const int group = ui.SpinGroup->value();
    const int address = ui.SpinAddress->value();
    Queue(BuildPlcAddressWrite(group, address), PlcAddressLogText(group, address));
}

void PlcPage::BtnWriteRouteClick()
{
    const int route = ui.SpinRoute->value();
    const int repeater = ui.SpinAddrRep->value();
    const QString number = ui.EditNumb->text();
    Queue(BuildRouteWrite(route, repeater, number), RouteWriteLogText(route, repeater, number));
}

void PlcPage::ButtonDelRouteClick()
{
    const int route = ui.SpinRoute->value();
    Queue(BuildRouteDeletion(route), RouteDeletionLogText(route));
}

void PlcPage::Queue(const RequestBatch& batch, const QString& event)
{
    if (!link_)
        return;
    if (!batch.ok()) {
        emit refused(batch.refusal);
        return;
    }
    // The log tells what was written, whatever the fields show by the time the answer arrives;
    // the request carries its own kind, so no route-deletion mark is needed.
    for (int i = 0; i < batch.frames.size(); ++i) {
        if (i + 1 < batch.frames.size())
            link_->Enqueue(batch.frames[i]);
        else
            link_->Enqueue(batch.frames[i],
                           [this, event](const QByteArray&) { emit operationLogged(event); });
    }
}

} // namespace zr::meter
