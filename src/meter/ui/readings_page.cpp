#include "meter/ui/readings_page.h"

#include "meter/ui/widgets.h"

namespace zr::meter
{

ReadingsPage::ReadingsPage(QWidget* parent) : QWidget(parent)
{
    ui.setupUi(this);
    SetupGrid(ui.GridValueTarif, 3, 9);
    QStringList tariffs;
    for (int tariff = 1; tariff <= 8; ++tariff)
        tariffs << QStringLiteral("%1 тариф").arg(tariff);
    SetRowCaptions(ui.GridValueTarif, 0, 1, tariffs);
    SetColumnCaptions(ui.GridValueTarif, 0, 1,
                      {QStringLiteral("текущие"), QStringLiteral("на РЧД")});
    FitGridToContents(ui.GridValueTarif, 120);

    SetupGrid(ui.GridActive, 7, 2);
    SetColumnCaptions(ui.GridActive, 0, 1,
                      {QStringLiteral("Фаза А"), QStringLiteral("Фаза В"), QStringLiteral("Фаза С"),
                       QStringLiteral("Фаза А РДЧ"), QStringLiteral("Фаза В РДЧ"),
                       QStringLiteral("Фаза С РДЧ")});
    FitGridToContents(ui.GridActive, 80);

    for (QLineEdit* field : {ui.EditPeak, ui.EditTimePeak, ui.EditPeak_1, ui.EditTimePeak_1})
        MakeParentColoured(field);
}

void ReadingsPage::clearData()
{
    ClearDataCells(ui.GridValueTarif);
    ClearDataCells(ui.GridActive);
    for (QLineEdit* field : {ui.EditPeak, ui.EditTimePeak, ui.EditPeak_1, ui.EditTimePeak_1})
        field->clear();
}

void ReadingsPage::setMeterControlsEnabled(bool enabled)
{
    ui.BtnReadCounter->setEnabled(enabled);
    ui.BtnResetDayHour->setEnabled(enabled);
}

void ReadingsPage::hideGridSelections()
{
    HideSelection(ui.GridValueTarif);
    HideSelection(ui.GridActive);
}

} // namespace zr::meter
