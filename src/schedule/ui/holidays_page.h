#pragma once
// Page "Праздники и коэффициент лимита": the holiday list, the transfer list and the limit
// coefficient of the schedule. Every edit goes straight into the model; the lists show it.

#include "schedule/model.h"
#include "ui_holidays_page.h"

#include <QWidget>

namespace zr::schedule
{

class HolidaysPage : public QWidget
{
    Q_OBJECT
public:
    // Fills the default holidays once, as at start-up.
    explicit HolidaysPage(Schedule* schedule, QWidget* parent = nullptr);
    ~HolidaysPage() override;

    // Shows the model's lists and coefficient after they were replaced from outside (new, load,
    // read from the meter).
    void ShowSchedule();

    Ui::HolidaysPage ui;

private:
    void ComboMChange(int index);
    void BtnInsCelClick();
    void BtnDelCelClick();
    void BtnTempletClick();
    void DTPTransChange();
    void BtnInsTransClick();
    void BtnDelTransClick();
    // Add buttons below 16 rows, delete buttons with a selection: after any change of a list.
    void UpdateButtons();

    Schedule* schedule_;
};

} // namespace zr::schedule
