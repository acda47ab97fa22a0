#pragma once
// Tab "Параметры PLC": group, address and retransmission routes of the power-line modem.

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
    void setMeterControlsEnabled(bool enabled) override;

private:
    Ui::PlcPage ui;
};

} // namespace zr::meter
