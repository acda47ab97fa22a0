#include "report/xls_workbook.h"

#include "report/compound_file.h"

#include <QtEndian>
#include <cmath>
#include <cstring>

namespace zr::report
{

namespace
{

constexpr int kMaxRows = 65536;
constexpr int kMaxColumns = 256;
constexpr int kMaxLabel = 255; // characters of a LABEL cell in Excel 97
constexpr quint16 kCellXf = 15;

// Record types.
constexpr quint16 kBof = 0x0809;
constexpr quint16 kEof = 0x000A;
constexpr quint16 kCodepage = 0x0042;
constexpr quint16 kWindow1 = 0x003D;
constexpr quint16 kDateMode = 0x0022;
constexpr quint16 kFont = 0x0031;
constexpr quint16 kXf = 0x00E0;
constexpr quint16 kStyle = 0x0293;
constexpr quint16 kBoundSheet = 0x0085;
constexpr quint16 kDimensions = 0x0200;
constexpr quint16 kHeader = 0x0014;
constexpr quint16 kFooter = 0x0015;
constexpr quint16 kLabel = 0x0204;
constexpr quint16 kNumber = 0x0203;
constexpr quint16 kWindow2 = 0x023E;

constexpr quint8 kRussianCharset = 204;

const QString kPageFont = QStringLiteral("&\"Times New Roman,Regular\"&12");

class Record
{
public:
    Record& u8(quint8 v)
    {
        data_.append(char(v));
        return *this;
    }
    Record& u16(quint16 v)
    {
        char b[2];
        qToLittleEndian(v, b);
        data_.append(b, 2);
        return *this;
    }
    Record& u32(quint32 v)
    {
        char b[4];
        qToLittleEndian(v, b);
        data_.append(b, 4);
        return *this;
    }
    Record& f64(double v)
    {
        quint64 bits;
        std::memcpy(&bits, &v, sizeof bits);
        char b[8];
        qToLittleEndian(bits, b);
        data_.append(b, 8);
        return *this;
    }
    // Characters of a Unicode string, uncompressed (option flags 1).
    Record& chars(const QString& s)
    {
        u8(1);
        for (QChar c : s)
            u16(c.unicode());
        return *this;
    }
    Record& string8(const QString& s) { return u8(quint8(s.size())).chars(s); }
    Record& string16(const QString& s) { return u16(quint16(s.size())).chars(s); }
    const QByteArray& data() const { return data_; }

private:
    QByteArray data_;
};

void Append(QByteArray& stream, quint16 type, const Record& record)
{
    char head[4];
    qToLittleEndian(type, head);
    qToLittleEndian(quint16(record.data().size()), head + 2);
    stream.append(head, 4);
    stream.append(record.data());
}

Record Bof(quint16 kind)
{
    return Record().u16(0x0600).u16(kind).u16(0x0DBB).u16(0x07CC).u32(0).u32(0x06);
}

Record Font()
{
    return Record()
        .u16(200) // 10 points in twips
        .u16(0)
        .u16(0x7FFF) // automatic colour
        .u16(400)    // regular weight
        .u16(0)
        .u8(0)
        .u8(0)
        .u8(kRussianCharset)
        .u8(0)
        .string8("Arial");
}

Record Xf(bool style)
{
    return Record()
        .u16(0)
        .u16(0)
        .u16(style ? 0xFFF5 : 0x0001) // style XF, or cell XF (locked) whose parent is style 0
        .u8(0x20)                     // bottom aligned
        .u8(0)
        .u8(0)
        .u8(style ? 0xF4 : 0x00)
        .u32(0)
        .u32(0)
        .u16(0x20C0); // pattern colours: system foreground and background
}

QByteArray Globals(const QList<quint32>& sheetOffsets, const QStringList& names)
{
    QByteArray s;
    Append(s, kBof, Bof(0x0005));
    Append(s, kCodepage, Record().u16(1200));
    Append(s, kWindow1,
           Record()
               .u16(0x01E0)
               .u16(0x005A)
               .u16(0x3FCF)
               .u16(0x2A4E)
               .u16(0x0038)
               .u16(0)
               .u16(0)
               .u16(1)
               .u16(600));
    Append(s, kDateMode, Record().u16(0));
    for (int i = 0; i < 5; ++i) // index 4 is never referenced, but readers count five
        Append(s, kFont, Font());
    for (int i = 0; i < 15; ++i)
        Append(s, kXf, Xf(true));
    Append(s, kXf, Xf(false));
    Append(s, kStyle, Record().u16(0x8000).u8(0).u8(0xFF)); // "Normal" on style XF 0
    for (int i = 0; i < names.size(); ++i)
        Append(s, kBoundSheet, Record().u32(sheetOffsets.value(i)).u8(0).u8(0).string8(names[i]));
    Append(s, kEof, Record());
    return s;
}

void Cell(QByteArray& s, int row, int column, const QString& text, const QLocale& locale)
{
    if (text.isEmpty())
        return;
    if (const std::optional<double> number = CellNumber(text, locale)) {
        Append(s, kNumber,
               Record().u16(quint16(row)).u16(quint16(column)).u16(kCellXf).f64(*number));
        return;
    }
    Append(s, kLabel,
           Record()
               .u16(quint16(row))
               .u16(quint16(column))
               .u16(kCellXf)
               .string16(text.left(kMaxLabel)));
}

QByteArray Sheet(bool first, const ReportTable* table, const QLocale& locale)
{
    QByteArray s;
    Append(s, kBof, Bof(0x0010));
    const int rows = table ? 2 + int(table->rows.size()) : 0;
    const int columns = table ? std::max(1, table->ColumnCount()) : 0;
    Append(s, kDimensions, Record().u32(0).u32(quint32(rows)).u16(0).u16(quint16(columns)).u16(0));
    Append(s, kHeader, Record().string16("&C" + kPageFont + "&A"));
    Append(s, kFooter, Record().string16("&C" + kPageFont + QStringLiteral("Страница &P")));
    if (table) {
        Cell(s, 0, 0, table->title, locale);
        for (int c = 0; c < table->captions.size(); ++c)
            Cell(s, 1, c, table->captions[c], locale);
        for (int r = 0; r < table->rows.size(); ++r)
            for (int c = 0; c < table->rows[r].size(); ++c)
                Cell(s, r + 2, c, table->rows[r][c], locale);
    }
    Append(s, kWindow2,
           Record().u16(first ? 0x06B6 : 0x00B6).u16(0).u16(0).u32(0x40).u16(0).u16(0).u32(0));
    Append(s, kEof, Record());
    return s;
}

} // namespace

std::optional<double> CellNumber(const QString& text, const QLocale& locale)
{
    QLocale strict = locale;
    strict.setNumberOptions(strict.numberOptions() | QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = strict.toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QByteArray BuildWorkbookStream(const ReportTable& table, const QLocale& locale)
{
    const QStringList names{QStringLiteral("Лист1"), QStringLiteral("Лист2"),
                            QStringLiteral("Лист3")};
    QList<QByteArray> sheets{Sheet(true, &table, locale), Sheet(false, nullptr, locale),
                             Sheet(false, nullptr, locale)};
    // The globals' size does not depend on the offsets they hold, so lay them out once to learn
    // where the sheets begin.
    const int globalsSize = Globals({}, names).size();
    QList<quint32> offsets;
    quint32 at = quint32(globalsSize);
    for (const QByteArray& sheet : sheets) {
        offsets.append(at);
        at += quint32(sheet.size());
    }
    QByteArray stream = Globals(offsets, names);
    for (const QByteArray& sheet : sheets)
        stream.append(sheet);
    return stream;
}

std::optional<QByteArray> BuildXlsFile(const ReportTable& table, const QLocale& locale)
{
    if (table.rows.size() + 2 > kMaxRows || table.ColumnCount() > kMaxColumns)
        return std::nullopt;
    return BuildCompoundFile(QStringLiteral("Workbook"), BuildWorkbookStream(table, locale));
}

} // namespace zr::report
