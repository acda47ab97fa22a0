#include "production/operation_log.h"

#include "link/cp1251.h"
#include "meter/encodings.h"

#include <QFile>
#include <array>

namespace zr::production
{

namespace
{

constexpr int kNumberWidth = 6;

QByteArray ToCp1251(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar c : text)
        bytes.append(char(link::Cp1251Code(c)));
    return bytes;
}

// The inverse of the code page's encoder, so the two directions cannot disagree.
QString FromCp1251(const QByteArray& bytes)
{
    static const std::array<char16_t, 256> kTable = [] {
        std::array<char16_t, 256> table{};
        table.fill(u'\uFFFD');
        for (char32_t u = 0x2200; u-- > 0;) {
            const uint8_t code = link::Cp1251Code(QChar(char16_t(u)));
            if (code != '?' || u == u'?')
                table[code] = char16_t(u);
        }
        return table;
    }();
    QString text;
    text.reserve(bytes.size());
    for (char b : bytes)
        text.append(QChar(kTable[uint8_t(b)]));
    return text;
}

} // namespace

QString OperationLogLine(const QString& numberText, const QDateTime& now, const QString& event,
                         const QLocale& locale)
{
    return numberText + u'[' + meter::FormatDateTime(now, locale) + QStringLiteral("] ") + event;
}

QString AppendOperationLog(const QString& path, const QString& line)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return file.errorString();
    const QByteArray bytes = ToCp1251(line) + "\r\n";
    if (file.write(bytes) != bytes.size() || !file.flush())
        return file.errorString();
    file.close();
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    return {};
}

QStringList FilterOperationLog(const QByteArray& fileBytes, int filter)
{
    const QString number = QString::number(filter).rightJustified(kNumberWidth, u'0');
    QStringList shown;
    for (QByteArray line : fileBytes.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        const QString text = FromCp1251(line);
        if (text.left(kNumberWidth) == number)
            shown.append(text.mid(kNumberWidth));
    }
    return shown;
}

QStringList ReadOperationLog(const QString& path, int filter, QString* error)
{
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return {};
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError && error)
        *error = file.errorString();
    return FilterOperationLog(bytes, filter);
}

} // namespace zr::production
