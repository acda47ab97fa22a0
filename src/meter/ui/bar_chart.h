#pragma once
// Bar chart of power over time: one green series, no legend, left axis titled "кВт".

#include <QDateTime>
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
    };

    explicit BarChart(QWidget* parent = nullptr);

    void AddBar(const QDateTime& start, double value);
    void Clear();
    const QVector<Bar>& Bars() const { return bars_; }
    void SetTitle(const QString& title);
    QString Title() const { return title_; }

    QSize sizeHint() const override { return {300, 150}; }
    QSize minimumSizeHint() const override { return {120, 80}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVector<Bar> bars_;
    QString title_;
};

} // namespace zr::meter
