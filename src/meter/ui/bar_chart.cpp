#include "meter/ui/bar_chart.h"

#include <QPainter>
#include <algorithm>

namespace zr::meter
{

namespace
{
const QString kAxisTitle = QStringLiteral("кВт");
}

BarChart::BarChart(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void BarChart::AddBar(const QDateTime& start, double value)
{
    bars_.append({start, value});
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
    const QFontMetrics metrics = fontMetrics();
    const int line = metrics.height();

    double top = 0;
    for (const Bar& bar : bars_)
        top = std::max(top, bar.value);
    if (top <= 0)
        top = 1;
    const QString topText = QLocale().toString(top, 'g', 4);

    const int left = line + 4 +
                     std::max(metrics.horizontalAdvance(topText),
                              metrics.horizontalAdvance(QStringLiteral("0"))) +
                     4;
    const QRect plot(left, line + 4, width() - left - 8, height() - 2 * line - 12);
    if (plot.width() <= 0 || plot.height() <= 0)
        return;

    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QRect(0, 0, width(), line + 2), Qt::AlignCenter, title_);
    painter.save();
    painter.translate(2, plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRect(-plot.height() / 2, 0, plot.height(), line), Qt::AlignCenter,
                     kAxisTitle);
    painter.restore();
    painter.drawText(QRect(line + 4, plot.top() - line / 2, left - line - 8, line),
                     Qt::AlignRight | Qt::AlignVCenter, topText);
    painter.drawText(QRect(line + 4, plot.bottom() - line / 2, left - line - 8, line),
                     Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("0"));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());

    if (bars_.isEmpty())
        return;
    auto [first, last] = std::minmax_element(
        bars_.begin(), bars_.end(), [](const Bar& a, const Bar& b) { return a.start < b.start; });
    const qint64 from = first->start.toSecsSinceEpoch();
    // Bars are spaced evenly between the first and the last start; one slot per bar.
    const qint64 span = std::max<qint64>(1, last->start.toSecsSinceEpoch() - from);
    const double slot = plot.width() / double(bars_.size());
    const double scale = (plot.width() - slot) / double(span);
    painter.setPen(Qt::darkGreen);
    painter.setBrush(Qt::green);
    for (const Bar& bar : bars_) {
        const double x = plot.left() + (bar.start.toSecsSinceEpoch() - from) * scale;
        const double h = std::max(0.0, bar.value) / top * plot.height();
        painter.drawRect(QRectF(x + 1, plot.bottom() - h, std::max(1.0, slot - 2), h));
    }
    painter.drawText(QRect(plot.left(), plot.bottom() + 2, plot.width() / 2, line), Qt::AlignLeft,
                     QLocale().toString(first->start.time(), QLocale::ShortFormat));
    painter.drawText(QRect(plot.center().x(), plot.bottom() + 2, plot.width() / 2, line),
                     Qt::AlignRight, QLocale().toString(last->start.time(), QLocale::ShortFormat));
}

} // namespace zr::meter
