#include "meter/ui/readings_page.h"

#include "link/meter_link.h"
#include "meter/ui/table_output.h"
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

    connect(ui.BtnReadCounter, &QPushButton::clicked, this, &ReadingsPage::BtnReadCounterClick);
    connect(ui.BtnResetDayHour, &QPushButton::clicked, this, &ReadingsPage::BtnResetDayHourClick);
    connect(ui.BtnExport, &QPushButton::clicked, this, &ReadingsPage::BtnExportClick);
}

void ReadingsPage::attach(link::MeterLink& link, DeviceState&)
{
    link_ = &link;
}

void ReadingsPage::BtnReadCounterClick()
{
    // Function 15 answers fill the grids from here on, not the idle fields.
    link_->clearIdleReading();
    clearData();
    for (const QByteArray& frame : ReadingsBatch()) {
        if (uint8_t(frame[0]) == link::ReadReading)
            link_->Enqueue(frame, [this](const QByteArray& f) { ShowReading(f); });
        else
            link_->Enqueue(frame, [this](const QByteArray& f) { ShowPeaks(f); });
    }
}

void ReadingsPage::ShowReading(const QByteArray& frame)
{
    const GridReading reading = DecodeGridReading(frame);
    if (!reading.ok()) {
        link_->LogMessage(reading.error);
        return;
    }
    if (reading.target == ReadingTarget::Tariff)
        ui.GridValueTarif->item(reading.row, reading.column)->setText(reading.text);
    else if (reading.target == ReadingTarget::Phase)
        ui.GridActive->item(reading.row, reading.column)->setText(phaseSums_.add(reading));
}

void ReadingsPage::ShowPeaks(const QByteArray& frame)
{
    const PeaksInfo peaks = DecodePeaks(frame);
    if (!peaks.ok()) {
        link_->LogMessage(peaks.error);
        return;
    }
    if (!peaks.shown)
        return;
    ui.EditPeak->setText(peaks.peakText);
    ui.EditTimePeak->setText(peaks.peakTimeText);
    ui.EditPeak_1->setText(peaks.billingPeakText);
    ui.EditTimePeak_1->setText(peaks.billingPeakTimeText);
}

void ReadingsPage::BtnResetDayHourClick()
{
    // No confirmation: the button says what it does.
    const QList<QByteArray> batch = ResetBillingReadingsBatch();
    for (int i = 0; i + 1 < batch.size(); ++i)
        link_->Enqueue(batch[i]);
    link_->Enqueue(batch.last(), [this](const QByteArray&) {
        emit operationLogged(ResetBillingReadingsLogText());
    });
}

void ReadingsPage::BtnExportClick()
{
    ExportWithDialog(this, TableOfGrid(*ui.GridValueTarif, NumberTitle(QString())));
}

void ReadingsPage::clearData()
{
    ClearDataCells(ui.GridValueTarif);
    ClearDataCells(ui.GridActive);
    for (QLineEdit* field : {ui.EditPeak, ui.EditTimePeak, ui.EditPeak_1, ui.EditTimePeak_1})
        field->clear();
    phaseSums_.clear();
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
