#pragma once
// Bar chart of power over time: one green series, flat, no legend, left axis titled "кВт", the
// title above. The same painting serves the screen and the printer.

#include <QDateTime>
#include <QPainter>
#include <QVector>
#include <QWidget>

namespace zr::meter
{

class BarChart : public QWidget
{
    Q_OBJECT
public:
    struct Bar {
        QDateTime start;
        double value = 0;
        QString label; // under the bar, where there is room
    };

    explicit BarChart(QWidget* parent = nullptr);

    void AddBar(const QDateTime& start, double value, const QString& label = QString());
    void Clear();
    const QVector<Bar>& Bars() const { return bars_; }
    void SetTitle(const QString& title);
    QString Title() const { return title_; }

    // Draws the chart into `area` with the painter's font.
    void Paint(QPainter& painter, const QRect& area) const;

    QSize sizeHint() const override { return {300, 150}; }
    QSize minimumSizeHint() const override { return {120, 80}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVector<Bar> bars_;
    QString title_;
};

} // namespace zr::meter
