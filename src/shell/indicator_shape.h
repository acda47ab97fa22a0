#pragma once
// The tool bar's result indicator: a filled circle.

#include <QColor>
#include <QWidget>

namespace zr::shell
{

class IndicatorShape : public QWidget
{
    Q_OBJECT
public:
    explicit IndicatorShape(QWidget* parent = nullptr);

    void SetColor(const QColor& color);
    QColor Color() const { return color_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor color_ = Qt::white;
};

} // namespace zr::shell
