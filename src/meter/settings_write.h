#pragma once
// The settings write of the "Установка" tab: the batch built from the ticked items, and what each
// acknowledgement means (its operation-log line and, for the link parameters and the password,
// what the PC side must switch to).

#include "meter/request_batch.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTime>
#include <array>
#include <cstdint>
#include <optional>

namespace zr::meter
{

// The items and values of the tab, as the controls hold them.
struct SettingsWriteInput {
    // The eight check boxes.
    bool writeLink = false;        // CheckAddr
    bool writeClock = true;        // CheckTime
    bool writeBilling = false;     // CheckShedule
    bool writeIndication = false;  // CheckIndi
    bool writeIntegration = false; // CheckIntegra
    bool writePassword = false;    // CheckPassword
    bool writeDdm = false;         // CheckDDM
    bool resetSchedule = false;    // CheckResetTariff

    QDate date;                       // DatePicker
    QTime time;                       // TimePicker
    bool daylightSaving = false;      // CheckBoxClock
    int billingDay = 1;               // SpinDay, 1..31
    int billingHour = 0;              // SpinHour, 0..23
    std::array<bool, 5> indication{}; // CheckSetIndi items, in IndicationItems() order
    int integrationMinutes = 1;       // SpinIntegra, 1..60
    QString newPassword;              // LabeledPass1, at most 6 characters
    // SpinEdit_Number, and the factory number the meter reported as EditNumber shows it: the
    // number is written (with the power-line group and address derived from it) only into a meter
    // that reports "0".
    int factoryNumber = 0;
    QString reportedNumber;
    std::array<qint64, 3> ddmNumbers{}; // SpinDDM_A/B/C, 0..16777215
    int ddmModeIndex = 0; // ComboTarifDDM position: 0 "авто", 1..8 a tariff, -1 a typed text
    QString ddmModeText = QStringLiteral("авто"); // ComboTarifDDM text
    int newAddress = 1;                           // SpinNewAddr, 0..255
    int newBaudIndex = 0; // ComboNewBaud position: 0..3 = 4800, 9600, 19200, 38400
};

// The opening requests, then one request per ticked item in the meter's order, the link
// parameters last. Refused, with the reason, when a value does not fit its field.
RequestBatch BuildSettingsBatch(const SettingsWriteInput& input);

// The power-line group and address that travel with a new factory number n: the hundreds and the
// units of n's last four digits, 0 sent as 100.
struct PlcGroupAddress {
    int group = 0;
    int address = 0;
};
PlcGroupAddress PlcGroupAddressForNumber(int number);

// What the window does when the meter acknowledges a write of the settings batch, built from the
// controls at the time the answer arrives.
struct SettingsAcknowledgement {
    QString logText; // the operation-log event text; empty: nothing is logged
    // After function 3: the address and speed list position the link switches to.
    std::optional<int> newAddress;
    std::optional<int> newBaudIndex;
    // After function 21: the access password of the connection panel.
    std::optional<QString> newAccessPassword;
};
// Functions 2, 3, 5, 14, 21, 31, 35 and 45; any other function gives an empty acknowledgement
// (11 belongs to the power-line parameters).
SettingsAcknowledgement AcknowledgeSettingsWrite(uint8_t function, const SettingsWriteInput& input,
                                                 const QLocale& locale = QLocale());

} // namespace zr::meter
