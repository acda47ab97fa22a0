#pragma once
// Tab "О счетчике": the meter's identity and state, all read-only, refreshed by the idle poll
// cycle. The page decodes those responses itself and keeps the values other features need.

#include "link/meter_link.h"
#include "meter/device_info.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QTableWidget;

namespace zr::meter
{

class TabAbout : public QWidget
{
    Q_OBJECT
public:
    explicit TabAbout(QWidget* parent = nullptr);

    // Registers the decoders of functions 0, 1, 4, 8 (checksum form), 12, 13, 15 (idle form),
    // 16, 17, 30, 34 and 44 with the link, and feeds it the factory number and running time.
    // numberControls (SpinEdit_Number and BitBtn1) may be used only while the meter has no
    // factory number.
    void Attach(link::MeterLink& link, const QList<QWidget*>& numberControls);
    // Function 15 answers outside the idle poll cycle belong to the readings command.
    void SetReadingsDecoder(link::MeterLink::Decoder decoder) { readings_ = std::move(decoder); }
    // Function 8 answers other than the schedule checksum belong to the schedule transfer.
    void SetScheduleDecoder(link::MeterLink::Decoder decoder) { schedule_ = std::move(decoder); }

    // The decoded values other features read (password insertion, production records).
    const MeterState& Values() const { return values_; }

    // Display reset: empties the type, every field and the data cells of GridDdm, and forgets
    // the values (the running-time counter excepted).
    void ClearData();
    // The clock drift is a production-line figure, shown only there.
    void SetDeltaVisible(bool visible);

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
    // Shows a decoded result; a response too short for its layout changes nothing and is
    // reported in the traffic log.
    template <typename Result>
    void Show(const Result& result, void (TabAbout::*show)(const Result&));
    void ShowVersion(const VersionInfo& info);
    void ShowFactoryNumber(const FactoryNumberInfo& info);
    void ShowClock(const ClockInfo& info);
    void ShowPower(const PowerInfo& info);
    void ShowIndication(const IndicationInfo& info);
    void ShowIdleReading(const TariffReadingInfo& info);
    void ShowDdmStatus(const DdmStatusInfo& info);
    void ShowRunningTime(const RunningTimeInfo& info);
    void ShowIntegration(const IntegrationInfo& info);
    void ShowBilling(const BillingInfo& info);
    void ShowDdmNumbers(const DdmNumbersInfo& info);
    void ShowScheduleChecksum(const QByteArray& frame);
    void SetCell(int row, int phase, const QString& text);

    QList<QLineEdit*> fields_;
    QLabel* deltaLabel_ = nullptr;
    link::MeterLink* link_ = nullptr;
    QList<QWidget*> numberControls_;
    link::MeterLink::Decoder readings_;
    link::MeterLink::Decoder schedule_;
    MeterState values_;
};

} // namespace zr::meter
