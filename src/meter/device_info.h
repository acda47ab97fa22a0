#pragma once
// Decoders of the meter's identity and state responses (the "О счетчике" tab), and the decoded
// values the rest of the program needs.
//
// Each decoder takes the complete valid response frame (function code at byte 0, length byte,
// payload from byte 2, checksum last) and returns the values and the final texts to show. A
// response shorter than its layout gives a result whose `error` says which function's response
// was short and which byte was missing; such a result carries no values and must not be applied.

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

namespace zr::meter
{

struct DecodeResult {
    QString error; // empty when the response was decoded
    bool ok() const { return error.isEmpty(); }
};

// Function 0.
struct VersionInfo : DecodeResult {
    int deviceType = 0; // 0..999999
    QString version;    // EditVersion: "2.15", or "неизвест." for another device type
    QString type;       // LabelType: "ЗуР347.01", or the device type code in decimal
};
VersionInfo DecodeVersion(const QByteArray& frame);

// Function 1.
struct FactoryNumberInfo : DecodeResult {
    uint32_t number = 0;     // 0: not yet assigned
    QString text;            // EditNumber: "0", or zero-filled to 6 digits
    bool assignable = false; // SpinEdit_Number and BitBtn1 enabled: the meter has no number yet
};
FactoryNumberInfo DecodeFactoryNumber(const QByteArray& frame);

// Function 4. A length byte other than 7 carries no clock.
struct ClockInfo : DecodeResult {
    uint8_t flags = 0;
    uint8_t timerFlags = 0;    // flags & 0x60
    int tariff = 0;            // 1..8
    QString tariffText;        // EditTariff
    QString summer;            // EditSummer: "да" / "нет"
    QString test;              // EditTest: "Ok" or the clock-fault text (may be empty)
    bool clockShown = false;   // no fault bit and a clock in the response
    uint32_t clockSeconds = 0; // meter timestamp, when clockShown
    QDateTime clock;           // when clockShown
    QString date;              // EditDate: empty unless clockShown
    QString time;              // EditTime: empty unless clockShown
};
ClockInfo DecodeClock(const QByteArray& frame, const QLocale& locale = QLocale());

// Function 12.
struct PowerInfo : DecodeResult {
    uint32_t watts = 0;
    QString text; // EditPower
};
PowerInfo DecodePower(const QByteArray& frame);

// Function 13.
struct IndicationInfo : DecodeResult {
    uint8_t mask = 0;
    std::array<bool, 5> checked{}; // CheckListIndi items, in IndicationItems() order
};
IndicationInfo DecodeIndication(const QByteArray& frame);
// The items of the indication check lists; item i stands for bit i of the mask.
QStringList IndicationItems();

// Function 15 answering the idle poll cycle. A length byte other than 8, or a selector of 8 or
// more, is not an error: the field is cleared.
struct TariffReadingInfo : DecodeResult {
    bool shown = false;
    double value = 0.0;
    QString text; // EditValue: the reading with 3 decimals, or empty
};
TariffReadingInfo DecodeIdleReading(const QByteArray& frame, const QLocale& locale = QLocale());

// Function 16.
constexpr uint8_t kDdmNoSession = 128; // status code of a phase with no recorded session
struct DdmPhaseStatus {
    uint8_t code = 0;    // 0..3, or kDdmNoSession
    QString status;      // GridDdm row "Статус"
    QString lastSession; // GridDdm row "Последний сеанс": date and time, or empty
};
struct DdmStatusInfo : DecodeResult {
    std::array<DdmPhaseStatus, 3> phases; // A, B, C
};
DdmStatusInfo DecodeDdmStatus(const QByteArray& frame, const QLocale& locale = QLocale());

// Function 17.
struct RunningTimeInfo : DecodeResult {
    uint32_t runningSeconds = 0;
    uint8_t corrections = 0;
    QString work;           // EditWork: duration text
    QString correctionText; // EditNCorrect
};
RunningTimeInfo DecodeRunningTime(const QByteArray& frame);

// Function 30.
struct IntegrationInfo : DecodeResult {
    int minutes = 0; // byte + 1
    QString text;    // EditIntegra
};
IntegrationInfo DecodeIntegration(const QByteArray& frame);

// Function 34.
struct BillingInfo : DecodeResult {
    int day = 0;
    int hour = 0;
    QString dayText;  // EditDay
    QString hourText; // EditHour
};
BillingInfo DecodeBilling(const QByteArray& frame);

// Function 44.
struct DdmNumbersInfo : DecodeResult {
    std::array<uint32_t, 3> numbers{};  // phases A, B, C
    uint8_t mode = 0;                   // tariffing mode
    std::array<QString, 3> numberTexts; // GridDdm row "№ ДДМ"
    QString modeText; // GridDdm row "Тарификация", the same in all three columns: "авто" or mode
};
DdmNumbersInfo DecodeDdmNumbers(const QByteArray& frame);

// Function 8 in its checksum form (length byte 4), the idle cycle's read. Its other forms carry
// zone records for the schedule transfer: `present` stays false and nothing is to be shown.
struct ScheduleChecksumInfo : DecodeResult {
    bool present = false;
    uint16_t checksum = 0;
    QString text; // EditCheckSum
};
ScheduleChecksumInfo DecodeScheduleChecksum(const QByteArray& frame);

// GridDdm captions: columns 1..3 of row 0, and rows 1..4 of column 0.
QStringList DdmPhaseCaptions();
QStringList DdmRowCaptions();
enum DdmRow { DdmRowNumber = 1, DdmRowMode, DdmRowStatus, DdmRowSession };

// Decoded values kept for the link (password insertion) and the production records. apply()
// ignores results that carry an error.
struct MeterState {
    int deviceType = 0;
    uint32_t factoryNumber = 0;
    uint32_t runningSeconds = 0;
    uint8_t timerFlags = 0;
    std::array<uint8_t, 3> ddmStatus{};

    void apply(const VersionInfo& info);
    void apply(const FactoryNumberInfo& info);
    void apply(const ClockInfo& info);
    void apply(const DdmStatusInfo& info);
    void apply(const RunningTimeInfo& info);
    // Display reset: forgets everything but the running-time counter.
    void reset();
};

} // namespace zr::meter
