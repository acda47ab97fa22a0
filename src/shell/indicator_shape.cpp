#include "shell/indicator_shape.h"

#include <QPainter>

namespace zr::shell
{

IndicatorShape::IndicatorShape(QWidget* parent) : QWidget(parent)
{
    setFixedSize(19, 22);
}

void IndicatorShape::SetColor(const QColor& color)
{
    color_ = color;
    update();
}

void IndicatorShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::black);
    painter.setBrush(color_);
    // A circle as large as the narrower side allows, centred.
    const int diameter = std::min(width(), height()) - 1;
    painter.drawEllipse(
        QRectF((width() - diameter) / 2.0, (height() - diameter) / 2.0, diameter, diameter));
}

} // namespace zr::shell
