#pragma once
// Field encodings of the meter's frames and the display forms of their values.
// Pure functions; nothing here keeps state between calls.
//
// Meter clock values are calendar values: the meter keeps local wall-clock time without any
// zone. They are carried in QDateTime with Qt::UTC only so that no zone or daylight-saving rule
// can shift them; only their date() and time() are meaningful.

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <cstdint>
#include <optional>

namespace zr::meter
{

// Bounded reader over a byte string. Positions count from 0 at the first byte (the function
// code of a frame). A field that does not lie entirely inside the readable range reads as 0 and
// records its first missing byte, so a decoder reads all its fields and checks ok() once.
class FieldReader
{
public:
    // Every byte of `bytes` is readable.
    explicit FieldReader(const QByteArray& bytes);
    // A complete response frame: only the bytes before the checksum are readable, and never
    // more than its length byte announces.
    static FieldReader Response(const QByteArray& frame);

    uint8_t u8(int pos);
    uint16_t u16(int pos);
    uint32_t u24(int pos);
    uint32_t u32(int pos);
    int bcd(int pos);
    // n BCD bytes, least significant digit pair first (n <= 9).
    qint64 bcdNumber(int pos, int n);
    double meterFloat(int pos);
    QDateTime timestamp(int pos);

    // Number of readable bytes.
    int size() const { return end_; }
    bool ok() const { return missing_ < 0; }
    // Position of the first byte a read needed but did not find; -1 when every read succeeded.
    int missing() const { return missing_; }
    // Says which function's response was too short and which byte was missing; empty when ok.
    QString error() const;

private:
    FieldReader(const QByteArray& bytes, int end);
    // Little-endian unsigned integer of n bytes; 0 and recorded when out of range.
    uint32_t integer(int pos, int n);
    bool inRange(int pos, int n);

    QByteArray bytes_;
    int end_;
    int missing_ = -1;
};

// Little-endian encoders; each appends value mod 2^(8·width).
void AppendU16(QByteArray& out, uint32_t value);
void AppendU24(QByteArray& out, uint32_t value);
void AppendU32(QByteArray& out, uint32_t value);

// Packed BCD byte. ToBcd is only meaningful for 0..99: callers reject other values first (a year
// after 2099 has no BCD byte). FromBcd takes nibbles above 9 at face value (0x1A -> 20).
uint8_t ToBcd(int v);
int FromBcd(uint8_t b);

// The meter's 32-bit real: exponent in the top byte, sign in bit 23, 23 fraction bits.
// Only the all-zero word is 0; every other word is a finite number.
double DecodeMeterFloat(uint32_t word);
// Nearest meter word. Magnitudes beyond the format's range saturate at the largest word;
// magnitudes below its smallest non-zero value, and NaN, give 0.
uint32_t EncodeMeterFloat(double value);

// Seconds since 2000-01-01 00:00:00 of the meter's calendar.
QDateTime DecodeMeterTimestamp(uint32_t seconds);
// Uses only the date and the time of `dateTime` (its zone is ignored), fractions of a second
// dropped. Empty for an invalid value or one outside 2000-01-01 00:00:00 .. 2136-02-07 06:28:15.
std::optional<uint32_t> EncodeMeterTimestamp(const QDateTime& dateTime);

// Half-hour numbers count 30-minute intervals from 2000-01-01 00:00; a day holds 48 of them,
// starting at FirstHalfHour(day). Days before 2000 give negative numbers.
qint64 FirstHalfHour(const QDate& day);
QDateTime HalfHourStart(uint32_t halfHour);
// The meter keeps half-hour records in 4096 slots.
uint16_t HalfHourSlot(qint64 halfHour);

// "hh:mm:ss", prefixed by "<days>д." when at least one whole day.
QString DurationText(uint32_t seconds);

// Fixed notation with `decimals` decimals, rounded once at whichever comes first: the last
// decimal or the last of `maxDigits` significant digits (places beyond it shown as zeros).
// No group separators; the locale gives the decimal point and the minus sign.
QString FormatFixed(double value, int decimals, int maxDigits, const QLocale& locale = QLocale());
// The display forms of the meter's quantities.
QString FormatReading(double value, const QLocale& locale = QLocale()); // 3 decimals, 8 digits
QString FormatHalfHourPower(uint32_t count,
                            const QLocale& locale = QLocale());         // count/2000 kW, 12 digits
QString FormatDrift(double seconds, const QLocale& locale = QLocale()); // 2 decimals, 5 digits
// Reads a text made by FormatFixed with the same locale back; empty when it is not a number.
std::optional<double> ParseFixed(const QString& text, const QLocale& locale = QLocale());

// The locale's short date, its long time (without a time-zone designator), and both.
QString FormatDate(const QDate& date, const QLocale& locale = QLocale());
QString FormatTime(const QTime& time, const QLocale& locale = QLocale());
QString FormatDateTime(const QDateTime& dateTime, const QLocale& locale = QLocale());
// Explicit formats: "05.03.26 14:07:09" (event journal), "5-<abbreviated month>-26  14:07"
// (start of a half-hour interval), "14:07" (end of an interval, chart labels).
QString FormatJournalDateTime(const QDateTime& dateTime, const QLocale& locale = QLocale());
QString FormatIntervalStart(const QDateTime& dateTime, const QLocale& locale = QLocale());
QString FormatHourMinute(const QTime& time, const QLocale& locale = QLocale());

} // namespace zr::meter
