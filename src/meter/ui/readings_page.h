#pragma once
// Tab "Показания": energy readings per tariff and per phase, peak powers.

#include "meter/readings.h"
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
    void attach(link::MeterLink& link, DeviceState& device) override;

signals:
    // The meter acknowledged an operation the operation log records.
    void operationLogged(const QString& text);

private:
    void BtnReadCounterClick();
    void BtnResetDayHourClick();
    void BtnExportClick();
    void ShowReading(const QByteArray& frame);
    void ShowPeaks(const QByteArray& frame);

    Ui::ReadingsPage ui;
    link::MeterLink* link_ = nullptr;
    PhaseSums phaseSums_;
};

} // namespace zr::meter
