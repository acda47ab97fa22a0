#include "meter/encodings.h"

#include "link/frame.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zr::meter
{

namespace
{

const QDate kEpoch(2000, 1, 1);
constexpr int kSecondsPerDay = 86400;
constexpr int kHalfHour = 1800;

} // namespace

FieldReader::FieldReader(const QByteArray& bytes) : FieldReader(bytes, bytes.size()) {}

FieldReader::FieldReader(const QByteArray& bytes, int end) : bytes_(bytes), end_(end) {}

FieldReader FieldReader::Response(const QByteArray& frame)
{
    // A frame too short to hold its checksum has nothing readable; without this the
    // checksum bytes would be read as data.
    const int beforeCrc = std::max(0, int(frame.size()) - 2);
    const int announced = frame.size() >= 2 ? int(uint8_t(frame[1])) : 0;
    return FieldReader(frame, std::min(beforeCrc, announced));
}

bool FieldReader::inRange(int pos, int n)
{
    if (pos >= 0 && pos + n <= end_)
        return true;
    if (missing_ < 0)
        missing_ = std::max(pos, end_);
    return false;
}

uint32_t FieldReader::integer(int pos, int n)
{
    if (!inRange(pos, n))
        return 0;
    uint32_t value = 0;
    for (int i = n - 1; i >= 0; --i)
        value = (value << 8) | uint8_t(bytes_[pos + i]);
    return value;
}

uint8_t FieldReader::u8(int pos)
{
    return uint8_t(integer(pos, 1));
}
uint16_t FieldReader::u16(int pos)
{
    return uint16_t(integer(pos, 2));
}
uint32_t FieldReader::u24(int pos)
{
    return integer(pos, 3);
}
uint32_t FieldReader::u32(int pos)
{
    return integer(pos, 4);
}
int FieldReader::bcd(int pos)
{
    return FromBcd(u8(pos));
}

qint64 FieldReader::bcdNumber(int pos, int n)
{
    if (!inRange(pos, n))
        return 0;
    qint64 value = 0;
    for (int i = n - 1; i >= 0; --i)
        value = value * 100 + FromBcd(uint8_t(bytes_[pos + i]));
    return value;
}

double FieldReader::meterFloat(int pos)
{
    return DecodeMeterFloat(u32(pos));
}
QDateTime FieldReader::timestamp(int pos)
{
    return DecodeMeterTimestamp(u32(pos));
}

QString FieldReader::error() const
{
    if (ok())
        return {};
    const uint8_t code = bytes_.isEmpty() ? 0 : uint8_t(bytes_[0]);
    return QStringLiteral("Короткий отклик на функцию %1 (%2): нет байта %3")
        .arg(code)
        .arg(zr::frame::FunctionName(code))
        .arg(missing_);
}

static void AppendLittleEndian(QByteArray& out, uint32_t value, int width)
{
    for (int i = 0; i < width; ++i)
        out.append(char(uint8_t(value >> (8 * i))));
}

void AppendU16(QByteArray& out, uint32_t value)
{
    AppendLittleEndian(out, value, 2);
}
void AppendU24(QByteArray& out, uint32_t value)
{
    AppendLittleEndian(out, value, 3);
}
void AppendU32(QByteArray& out, uint32_t value)
{
    AppendLittleEndian(out, value, 4);
}

uint8_t ToBcd(int v)
{
    return uint8_t((v / 10) * 16 + v % 10);
}

int FromBcd(uint8_t b)
{
    return (b >> 4) * 10 + (b & 0x0F);
}

double DecodeMeterFloat(uint32_t word)
{
    if (word == 0)
        return 0.0;
    const int exponent = int(word >> 24);
    const bool negative = word & 0x00800000u;
    const double magnitude =
        std::ldexp(1.0 + double(word & 0x007FFFFFu) / 8388608.0, exponent - 127);
    return negative ? -magnitude : magnitude;
}

uint32_t EncodeMeterFloat(double value)
{
    if (value == 0.0 || std::isnan(value))
        return 0;
    const uint32_t sign = value < 0 ? 0x00800000u : 0;
    constexpr uint32_t kLargest = 0xFF7FFFFFu;
    if (std::isinf(value))
        return kLargest | sign;
    int exp2 = 0;
    const double mantissa = std::frexp(std::fabs(value), &exp2); // 0.5 <= mantissa < 1
    int exponent = exp2 + 126;
    uint32_t fraction = uint32_t(std::nearbyint((2.0 * mantissa - 1.0) * 8388608.0));
    if (fraction == 0x00800000u) { // rounded up to the next power of two
        fraction = 0;
        ++exponent;
    }
    if (exponent < 0)
        return 0;
    if (exponent > 255)
        return kLargest | sign;
    return (uint32_t(exponent) << 24) | sign | fraction;
}

QDateTime DecodeMeterTimestamp(uint32_t seconds)
{
    return QDateTime(kEpoch.addDays(seconds / kSecondsPerDay),
                     QTime(0, 0).addSecs(int(seconds % kSecondsPerDay)), Qt::UTC);
}

std::optional<uint32_t> EncodeMeterTimestamp(const QDateTime& dateTime)
{
    if (!dateTime.isValid())
        return std::nullopt;
    const qint64 seconds = kEpoch.daysTo(dateTime.date()) * kSecondsPerDay +
                           dateTime.time().msecsSinceStartOfDay() / 1000;
    if (seconds < 0 || seconds > qint64(std::numeric_limits<uint32_t>::max()))
        return std::nullopt;
    return uint32_t(seconds);
}

qint64 FirstHalfHour(const QDate& day)
{
    return kEpoch.daysTo(day) * (kSecondsPerDay / kHalfHour);
}

QDateTime HalfHourStart(uint32_t halfHour)
{
    return DecodeMeterTimestamp(0).addSecs(qint64(halfHour) * kHalfHour);
}

uint16_t HalfHourSlot(qint64 halfHour)
{
    return uint16_t(((halfHour % 4096) + 4096) % 4096);
}

QString DurationText(uint32_t seconds)
{
    const QString clock = QStringLiteral("%1:%2:%3")
                              .arg(seconds % kSecondsPerDay / 3600, 2, 10, QLatin1Char('0'))
                              .arg(seconds % 3600 / 60, 2, 10, QLatin1Char('0'))
                              .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    const uint32_t days = seconds / kSecondsPerDay;
    return days ? QString::number(days) + QStringLiteral("д.") + clock : clock;
}

static int SignificantDigits(const QString& text)
{
    int count = 0;
    for (const QChar c : text) {
        if (c.isDigit() && (count > 0 || c != u'0'))
            ++count;
    }
    return count;
}

QString FormatFixed(double value, int decimals, int maxDigits, const QLocale& locale)
{
    if (!std::isfinite(value))
        return locale.toString(value);
    const double magnitude = std::fabs(value);
    QString text = QString::number(magnitude, 'f', decimals);
    if (SignificantDigits(text) > maxDigits) {
        // Round at the last significant digit instead, then write the places after it as zeros.
        const QString scientific = QString::number(magnitude, 'e', maxDigits - 1);
        QString digits = scientific.left(1) + scientific.mid(2, maxDigits - 1);
        int integerDigits = scientific.mid(scientific.indexOf(u'e') + 1).toInt() + 1;
        if (integerDigits < 1) { // below 1: leading zeros after the point
            digits.prepend(QString(1 - integerDigits, u'0'));
            integerDigits = 1;
        }
        text = digits.left(integerDigits).leftJustified(integerDigits, u'0');
        if (decimals > 0)
            text += u'.' + digits.mid(integerDigits).leftJustified(decimals, u'0');
    }
    // A value that rounds to zero shows no sign.
    if (value < 0 && SignificantDigits(text) > 0)
        text.prepend(locale.negativeSign());
    text.replace(u'.', locale.decimalPoint());
    return text;
}

QString FormatReading(double value, const QLocale& locale)
{
    return FormatFixed(value, 3, 8, locale);
}

QString FormatHalfHourPower(uint32_t count, const QLocale& locale)
{
    return FormatFixed(count / 2000.0, 3, 12, locale);
}

QString FormatDrift(double seconds, const QLocale& locale)
{
    return FormatFixed(seconds, 2, 5, locale);
}

std::optional<double> ParseFixed(const QString& text, const QLocale& locale)
{
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
    if (!ok)
        return std::nullopt;
    return value;
}

QString FormatDate(const QDate& date, const QLocale& locale)
{
    return locale.toString(date, QLocale::ShortFormat);
}

QString FormatTime(const QTime& time, const QLocale& locale)
{
    // The meter's clock has no zone, so the long format's zone designator ('t') goes, together
    // with the blanks that separate it. Quoted literal text is kept as it is.
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString kept;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't') {
            while (kept.endsWith(u' '))
                kept.chop(1);
            continue;
        }
        kept += c;
    }
    return locale.toString(time, kept.trimmed());
}

QString FormatDateTime(const QDateTime& dateTime, const QLocale& locale)
{
    return FormatDate(dateTime.date(), locale) + u' ' + FormatTime(dateTime.time(), locale);
}

QString FormatJournalDateTime(const QDateTime& dateTime, const QLocale& locale)
{
    return locale.toString(dateTime, QStringLiteral("dd.MM.yy HH:mm:ss"));
}

QString FormatIntervalStart(const QDateTime& dateTime, const QLocale& locale)
{
    return locale.toString(dateTime, QStringLiteral("d-MMM-yy  HH:mm"));
}

QString FormatHourMinute(const QTime& time, const QLocale& locale)
{
    return locale.toString(time, QStringLiteral("HH:mm"));
}

} // namespace zr::meter
