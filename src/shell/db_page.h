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

    void applyModes(const meter::Modes& modes) override;

    QSpinBox* SpinFilter;
    QPlainTextEdit* MemoDb;
};

} // namespace zr::shell
