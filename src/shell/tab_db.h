#pragma once
// Tab "База данных": the operation-log lines of one meter.

#include <QWidget>

class QPlainTextEdit;
class QSpinBox;

namespace zr::shell
{

class TabDb : public QWidget
{
    Q_OBJECT
public:
    explicit TabDb(QWidget* parent = nullptr);

    QSpinBox* SpinFilter;
    QPlainTextEdit* MemoDb;
};

} // namespace zr::shell
