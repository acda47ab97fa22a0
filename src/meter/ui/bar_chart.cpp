#include "meter/ui/bar_chart.h"

#include <QPainter>
#include <algorithm>

namespace zr::meter
{

namespace
{
const QString kAxisTitle = QStringLiteral("кВт");
// Every bar stands for half an hour.
constexpr qint64 kBarSeconds = 1800;
} // namespace

BarChart::BarChart(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void BarChart::AddBar(const QDateTime& start, double value, const QString& label)
{
    bars_.append({start, value, label});
    update();
}

void BarChart::Clear()
{
    bars_.clear();
    update();
}

void BarChart::SetTitle(const QString& title)
{
    title_ = title;
    update();
}

void BarChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::Text));
    Paint(painter, rect());
}

void BarChart::Paint(QPainter& painter, const QRect& area) const
{
    const QFontMetrics metrics = painter.fontMetrics();
    const int line = metrics.height();
    const int gap = std::max(2, line / 4);

    double top = 0;
    for (const Bar& bar : bars_)
        top = std::max(top, bar.value);
    if (top <= 0)
        top = 1;
    const QString topText = QLocale().toString(top, 'f', 3);
    const QString zeroText = QLocale().toString(0.0, 'f', 3);

    const int left =
        area.left() + line + gap +
        std::max(metrics.horizontalAdvance(topText), metrics.horizontalAdvance(zeroText)) + gap;
    const QRect plot(left, area.top() + line + 2 * gap, area.right() - left - 2 * gap,
                     area.height() - 2 * line - 4 * gap);
    if (plot.width() <= 0 || plot.height() <= 0)
        return;

    painter.drawText(QRect(area.left(), area.top(), area.width(), line + gap), Qt::AlignCenter,
                     title_);
    painter.save();
    painter.translate(area.left() + gap / 2, plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRect(-plot.height() / 2, 0, plot.height(), line), Qt::AlignCenter,
                     kAxisTitle);
    painter.restore();
    const QRect valueColumn(area.left() + line + gap, 0, left - area.left() - line - 2 * gap, line);
    painter.drawText(valueColumn.translated(0, plot.top() - line / 2),
                     Qt::AlignRight | Qt::AlignVCenter, topText);
    painter.drawText(valueColumn.translated(0, plot.bottom() - line / 2),
                     Qt::AlignRight | Qt::AlignVCenter, zeroText);
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());

    if (bars_.isEmpty())
        return;
    // The time axis runs from the earliest start to the end of the latest bar's half-hour.
    auto [first, last] = std::minmax_element(
        bars_.begin(), bars_.end(), [](const Bar& a, const Bar& b) { return a.start < b.start; });
    const qint64 from = first->start.toSecsSinceEpoch();
    const qint64 span = last->start.toSecsSinceEpoch() + kBarSeconds - from;
    const double scale = plot.width() / double(span);
    const double barWidth = std::max(1.0, kBarSeconds * scale - 2);
    const QPen textPen = painter.pen();
    painter.setPen(Qt::darkGreen);
    painter.setBrush(Qt::green);
    for (const Bar& bar : bars_) {
        const double x = plot.left() + (bar.start.toSecsSinceEpoch() - from) * scale;
        const double h = std::max(0.0, bar.value) / top * plot.height();
        painter.drawRect(QRectF(x + 1, plot.bottom() - h, barWidth, h));
    }
    // Labels left to right, each only where it clears the one before.
    painter.setPen(textPen);
    int freeFrom = plot.left();
    for (const Bar& bar : bars_) {
        const int width = metrics.horizontalAdvance(bar.label);
        const int x = plot.left() + int((bar.start.toSecsSinceEpoch() - from) * scale);
        if (bar.label.isEmpty() || x < freeFrom || x + width > area.right())
            continue;
        painter.drawText(QRect(x, plot.bottom() + gap, width, line), Qt::AlignLeft, bar.label);
        freeFrom = x + width + metrics.horizontalAdvance(QLatin1Char(' ')) * 2;
    }
}

} // namespace zr::meter
