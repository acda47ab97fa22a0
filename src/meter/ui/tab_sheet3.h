#pragma once
// Tab "Показания": energy readings per tariff and per phase, peak powers.

#include "ui_tab_sheet3.h"

#include <QWidget>

namespace zr::meter
{

class TabSheet3 : public QWidget
{
    Q_OBJECT
public:
    explicit TabSheet3(QWidget* parent = nullptr);

    // Empties the data cells of both grids and the four peak fields.
    void ClearData();

    Ui::TabSheet3 ui;
};

} // namespace zr::meter
