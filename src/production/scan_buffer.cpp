#include "production/scan_buffer.h"

#include <limits>

namespace zr::production
{

namespace
{

// No label holds a code this long: a line that never ends is noise and is dropped.
constexpr int kLongestCode = 256;

ScanCode Decode(const QByteArray& raw)
{
    ScanCode code;
    int begin = 0;
    int end = int(raw.size());
    while (begin < end && quint8(raw[begin]) <= 0x20)
        ++begin;
    while (end > begin && quint8(raw[end - 1]) <= 0x20)
        --end;
    code.text = raw.mid(begin, end - begin);
    qint64 value = 0;
    for (const char c : code.text) {
        if (c < '0' || c > '9')
            return code;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<int>::max())
            return code;
    }
    code.valid = !code.text.isEmpty();
    code.number = code.valid ? int(value) : 0;
    return code;
}

} // namespace

QList<ScanCode> ScanBuffer::append(const QByteArray& bytes)
{
    buffer_ += bytes;
    QList<ScanCode> codes;
    qsizetype cr;
    while ((cr = buffer_.indexOf('\r')) >= 0) {
        const ScanCode code = Decode(buffer_.left(cr));
        buffer_.remove(0, cr + 1);
        if (!code.text.isEmpty())
            codes << code;
    }
    if (buffer_.size() > kLongestCode)
        buffer_.clear();
    return codes;
}

} // namespace zr::production
