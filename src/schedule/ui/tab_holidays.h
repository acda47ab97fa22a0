#pragma once
// Page "Праздники и коэффициент лимита": holidays, day transfers and the limit coefficient.

#include "ui_tab_holidays.h"

#include <QWidget>

namespace zr::schedule
{

class TabHolidays : public QWidget
{
    Q_OBJECT
public:
    explicit TabHolidays(QWidget* parent = nullptr);

    Ui::TabHolidays ui;
};

} // namespace zr::schedule
