#pragma once
// Tab "О счетчике": the meter's identity and state, all read-only.

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QTableWidget;

namespace zr::meter
{

// Items of both indication check lists, in bit order.
QStringList IndicationItems();

class TabAbout : public QWidget
{
    Q_OBJECT
public:
    explicit TabAbout(QWidget* parent = nullptr);

    // Empties the type, every field and the data cells of GridDdm.
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
    QList<QLineEdit*> fields_;
    QLabel* deltaLabel_ = nullptr;
};

} // namespace zr::meter
