#pragma once
// Tab "Параметры PLC": group, address and retransmission routes of the power-line modem.

#include "meter/request_batch.h"
#include "meter/ui/page.h"
#include "ui_plc_page.h"

#include <QWidget>

namespace zr::meter
{

class PlcPage : public QWidget, public Page
{
    Q_OBJECT
public:
    explicit PlcPage(QWidget* parent = nullptr);
    // Registers the idle cycle's answers of functions 10 and 32.
    void attach(link::MeterLink& link, DeviceState& device) override;
    void setMeterControlsEnabled(bool enabled) override;

    // The three buttons.
    void BtnWriteAddressClick();
    void BtnWriteRouteClick();
    void ButtonDelRouteClick();

signals:
    // An acknowledged write's operation-log event.
    void operationLogged(const QString& event);
    // A value the meter cannot take; nothing was queued.
    void refused(const QString& reason);

private:
    // Queues the batch; its last request's acknowledgement logs `event`.
    void Queue(const RequestBatch& batch, const QString& event);

    Ui::PlcPage ui;
    link::MeterLink* link_ = nullptr;
};

} // namespace zr::meter
