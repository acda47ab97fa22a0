#pragma once
// Records of programmed meters: the number proposal, the last-programmed lookup, and the
// automatic and manual records, each one transaction (operation, set_zur and, for a meter that
// received its number, set_pk) that is written whole or not at all.

#include "production/identification.h"
#include "production/notice.h"
#include "production/production_db.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace zr::production
{

// The values a record writes, as the settings page shows them.
struct RecordInput {
    int numberRead = 0;  // factory number the meter reported (EditNumber); 0: it has none
    int numberField = 0; // SpinEdit_Number
    QString version;     // EditVersion
    QString elType;      // LabelType
    QString turnOn;      // EditWork
    int status = 0;      // StatusColumn() of the last timer flags and ДДМ status codes
    int ncorrect = 0;    // EditNCorrect
    int checkSum = 0;    // EditCheckSum
    double t = 0;        // EditValue
    std::optional<double> secPerDay; // DeltaValue(EditDelta)
    // Written by the settings batch; each stays empty when its check box was clear, and all are
    // left out of a manual record.
    std::optional<int> address;   // SpinNewAddr  ("Записать параметры связи")
    std::optional<QString> baud;  // ComboNewBaud ("Записать параметры связи")
    std::optional<int> indicator; // CheckSetIndi ("Установить индикацию")
    std::optional<QDateTime> dateTime; // DatePicker + TimePicker ("Установить время")
    std::optional<bool> summer;        // CheckBoxClock ("Установить время")
    std::optional<QString> pass;       // LabeledPass1 ("Записать новый пароль")
    std::optional<int> countDay, countHour; // "Установить расч. день и час"
    std::optional<int> timeInteg; // "Установить интегр. пик. мощности"
    std::optional<int> ddmA, ddmB, ddmC, modeTarif; // "Записать № и режим ДДМ"
};

// set_zur.status: timer flags + code A + 4 × code B + 16 × code C, each term and the sum mod 256.
int StatusColumn(int timerFlags, int codeA, int codeB, int codeC);

// The power-line modem group and address given with a factory number; 0 is stored as 100.
int PlmGroup(int number);
int PlmAddress(int number);

// The set_zur row of a record; a manual record (full false) leaves the settings columns NULL.
SetZurRow SetZurValues(const RecordInput& input, int operationId, bool full);

struct Proposal {
    std::optional<int> number; // the smallest registered number not yet programmed; empty: none
    Notice notice;             // a database error
};
// "+": the smallest registered number of this meter kind that has no programming operation.
Proposal ProposeNumber(ProductionDb& db);

struct LastProgrammed {
    QDateTime date; // invalid: never programmed
    Notice notice;  // a database error
};
LastProgrammed LookupLastProgrammed(ProductionDb& db, int number);

// After a settings batch: checks the number (the one the meter had, else the one it was given)
// and, for a meter given its number now, that no modem holds it yet, then writes a full record.
// Returns the message to show; empty when recorded.
Notice AutomaticRecord(ProductionDb& db, const Identity& who, const RecordInput& input);

// ActionFixDb: records the values read for the number in SpinEdit_Number.
Notice ManualRecord(ProductionDb& db, const Identity& who, const RecordInput& input);

} // namespace zr::production
