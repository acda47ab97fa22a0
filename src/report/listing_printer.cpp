#include "report/listing_printer.h"

#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <numeric>

namespace zr::report
{

namespace
{

constexpr int kCellMargin = 16; // added to the widest text of a column
constexpr int kTextInset = 8;   // between a right-aligned text and its column's end
constexpr int kDateX = 10;

QFont ListingFont(int pointSize, bool bold = false, bool underline = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(pointSize);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

int TableWidth(const QList<int>& widths)
{
    return std::accumulate(widths.begin(), widths.end(), 1,
                           [](int sum, int width) { return sum + width + 1; });
}

class Listing
{
public:
    Listing(QPrinter& printer, const ReportTable& table, const QList<int>& widths)
        : printer_(printer), table_(table), widths_(widths)
    {
        pageWidth_ = printer.width();
        pageHeight_ = printer.height();
        const int total = TableWidth(widths);
        left_ = (pageWidth_ - total) / 2;
        right_ = (pageWidth_ + total) / 2;
    }

    bool Print(const QDateTime& printedAt)
    {
        if (!painter_.begin(&printer_))
            return false;
        painter_.setPen(QPen(Qt::black, 0));

        painter_.setFont(ListingFont(8, false, true));
        const QString date = ListingDateText(printedAt);
        painter_.drawText(QPoint(kDateX, painter_.fontMetrics().ascent()), date);
        int y = 3 * painter_.fontMetrics().height() / 2;
        y = Title(y);
        painter_.setFont(ListingFont(10));
        rowHeight_ = 6 * painter_.fontMetrics().height() / 5;

        int bottom = HeaderRow(y);
        int page = 1;
        for (const QStringList& row : table_.rows) {
            if (bottom + rowHeight_ > pageHeight_) {
                HorizontalLine(bottom);
                if (!printer_.newPage())
                    break;
                ++page;
                bottom = HeaderRow(ContinuationHead(page));
            }
            HorizontalLine(bottom);
            Cells(row, bottom, false);
            painter_.drawLine(right_, bottom, right_, bottom + rowHeight_);
            bottom += rowHeight_;
        }
        HorizontalLine(bottom);
        return painter_.end();
    }

private:
    int Title(int y)
    {
        if (table_.title.isEmpty())
            return y;
        painter_.setFont(ListingFont(11, true));
        const int height = painter_.fontMetrics().height();
        painter_.drawText(QRect(0, y, pageWidth_, height), Qt::AlignHCenter | Qt::AlignTop,
                          table_.title);
        return y + 3 * height / 2;
    }

    // The band of a continuation page holds its number, centred; returns the top of the title.
    int ContinuationHead(int page)
    {
        painter_.setFont(ListingFont(10));
        const QString number = QStringLiteral("- %1 -").arg(page);
        const int top = pageWidth_ / 20;
        const int height = painter_.fontMetrics().height();
        painter_.drawText(QRect(0, top, pageWidth_, height), Qt::AlignHCenter | Qt::AlignTop,
                          number);
        const int y = Title(top + 3 * height / 2);
        painter_.setFont(ListingFont(10));
        return y;
    }

    int HeaderRow(int top)
    {
        Cells(table_.captions, top, true);
        painter_.drawLine(right_, top, right_, top + rowHeight_);
        HorizontalLine(top);
        return top + rowHeight_;
    }

    void Cells(const QStringList& cells, int top, bool bold)
    {
        painter_.setFont(ListingFont(10, bold));
        const int height = painter_.fontMetrics().height();
        int x = left_;
        for (int c = 0; c < widths_.size(); ++c) {
            painter_.drawLine(x, top, x, top + rowHeight_);
            const int end = (c + 1 == widths_.size() ? right_ : x + widths_[c]) - kTextInset;
            painter_.drawText(QRect(x, top + (rowHeight_ - height) / 2, end - x, height),
                              Qt::AlignRight | Qt::AlignTop | Qt::TextDontClip, cells.value(c));
            x += widths_[c] + 1;
        }
        painter_.setFont(ListingFont(10));
    }

    void HorizontalLine(int y) { painter_.drawLine(left_, y, right_, y); }

    QPrinter& printer_;
    const ReportTable& table_;
    const QList<int>& widths_;
    QPainter painter_;
    int pageWidth_ = 0;
    int pageHeight_ = 0;
    int left_ = 0;
    int right_ = 0;
    int rowHeight_ = 0;
};

} // namespace

QString ListingDateText(const QDateTime& printedAt)
{
    return QLocale(QLocale::Russian).toString(printedAt, QStringLiteral("d MMMM yyyy г. hh:mm:ss"));
}

bool PrintListing(QPrinter& printer, const ReportTable& table, const QDateTime& printedAt)
{
    const QFontMetrics metrics(ListingFont(10, true), &printer);
    QList<int> widths(table.ColumnCount(), 0);
    for (int c = 0; c < widths.size(); ++c) {
        int widest = metrics.horizontalAdvance(table.captions.value(c));
        for (int r = 0; r < table.rows.size(); ++r)
            widest = std::max(widest, metrics.horizontalAdvance(table.Cell(r, c)));
        widths[c] = widest + kCellMargin;
    }
    if (printer.width() < TableWidth(widths))
        printer.setPageOrientation(QPageLayout::Landscape);
    // Every column is at least kCellMargin wide, so each step widens the table.
    while (!widths.isEmpty() && TableWidth(widths) < printer.width() * 4 / 5)
        for (int& width : widths)
            width = width * 6 / 5;
    return Listing(printer, table, widths).Print(printedAt);
}

} // namespace zr::report
