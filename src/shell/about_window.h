#pragma once
// Window "О программе": product, title, version and the machine's physical memory.

#include "platform/memory.h"

#include <QDialog>

class QLabel;

namespace zr::shell
{

// The two memory lines as the window shows them; an unknown figure shows as "н/д".
QString MemoryText(const platform::MemoryFigures& figures);

class AboutWindow : public QDialog
{
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);

    QLabel* LabelMemory;

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace zr::shell
