#pragma once
// Tab "О счетчике": the meter's identity and state, all read-only, refreshed by the idle poll
// cycle. The page shows what the device state reports.

#include "meter/device_info.h"
#include "meter/ui/page.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QTableWidget;

namespace zr::meter
{

class AboutPage : public QWidget, public Page
{
    Q_OBJECT
public:
    explicit AboutPage(QWidget* parent = nullptr);

    // Shows what the device state reports.
    void attach(link::MeterLink& link, DeviceState& device) override;
    // Empties the type, every field and the data cells of GridDdm.
    void clearData() override;
    // The clock drift is a production-line figure, shown only there.
    void applyModes(const Modes& modes) override;
    void hideGridSelections() override;

    QLabel* LabelType;
    QLineEdit* EditVersion;
    QLineEdit* EditNumber;
    QLineEdit* EditDate;
    QLineEdit* EditTime;
    QLineEdit* EditTest;
    QLineEdit* EditSummer;
    QLineEdit* EditDay;
    QLineEdit* EditHour;
    QLineEdit* EditWork;
    QLineEdit* EditNCorrect;
    QLineEdit* EditIntegra;
    QLineEdit* EditCheckSum;
    QLineEdit* EditDelta;
    QLineEdit* EditPower;
    QLineEdit* EditTariff;
    QLineEdit* EditValue;
    QListWidget* CheckListIndi;
    QTableWidget* GridDdm;

private:
    void SetDeltaVisible(bool visible);
    void ShowVersion(const VersionInfo& info);
    void ShowFactoryNumber(const FactoryNumberInfo& info);
    void ShowClock(const ClockInfo& info);
    void ShowIndication(const IndicationInfo& info);
    void ShowDdmStatus(const DdmStatusInfo& info);
    void ShowRunningTime(const RunningTimeInfo& info);
    void ShowBilling(const BillingInfo& info);
    void ShowDdmNumbers(const DdmNumbersInfo& info);
    void SetCell(int row, int phase, const QString& text);

    QList<QLineEdit*> fields_;
    QLabel* deltaLabel_ = nullptr;
};

} // namespace zr::meter
