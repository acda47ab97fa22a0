#pragma once
// Tab "Показания": energy readings per tariff and per phase, peak powers.

#include "meter/ui/page.h"
#include "ui_readings_page.h"

#include <QWidget>

namespace zr::meter
{

class ReadingsPage : public QWidget, public Page
{
    Q_OBJECT
public:
    explicit ReadingsPage(QWidget* parent = nullptr);

    // Empties the data cells of both grids and the four peak fields.
    void clearData() override;
    void setMeterControlsEnabled(bool enabled) override;
    void hideGridSelections() override;

private:
    Ui::ReadingsPage ui;
};

} // namespace zr::meter
