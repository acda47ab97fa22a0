#pragma once
// Tab "Установка": the settings to write into the meter.

#include "ui_tab_sheet1.h"

#include <QDateTime>
#include <QWidget>

namespace zr::meter
{

class TabSheet1 : public QWidget
{
    Q_OBJECT
public:
    explicit TabSheet1(QWidget* parent = nullptr);

    // Pickers the user has not touched follow the given clock; touched ones keep their value.
    void FollowClock(const QDateTime& now);
    bool DateEdited() const { return dateEdited_; }
    bool TimeEdited() const { return timeEdited_; }
    void ClearEditedMarks();
    // The factory number may be typed only in master mode; otherwise it reads as a plain value.
    void SetNumberEditable(bool editable);

    Ui::TabSheet1 ui;

private:
    bool dateEdited_ = false;
    bool timeEdited_ = false;
};

} // namespace zr::meter
