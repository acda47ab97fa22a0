#pragma once
// Tab "Параметры PLC": group, address and retransmission routes of the power-line modem.

#include "ui_tab_plc.h"

#include <QWidget>

namespace zr::meter
{

class TabPlc : public QWidget
{
    Q_OBJECT
public:
    explicit TabPlc(QWidget* parent = nullptr);

    Ui::TabPlc ui;
};

} // namespace zr::meter
