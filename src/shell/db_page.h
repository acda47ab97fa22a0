#pragma once
// Tab "База данных": the operation-log lines of one meter.

#include "meter/ui/page.h"

#include <QWidget>

class QPlainTextEdit;
class QSpinBox;

namespace zr::shell
{

class DbPage : public QWidget, public meter::Page
{
    Q_OBJECT
public:
    explicit DbPage(QWidget* parent = nullptr);

    // The operation log shown; fixed at start-up.
    void setLogPath(const QString& path) { logPath_ = path; }
    void applyModes(const meter::Modes& modes) override;

    // Shows the lines of the meter whose number SpinFilter holds.
    void SpinFilterChange();

    QSpinBox* SpinFilter;
    QPlainTextEdit* MemoDb;

private:
    QString logPath_;
    bool production_ = false;
};

} // namespace zr::shell
