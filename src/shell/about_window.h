#pragma once
// Window "О программе": product, title, version and the machine's physical memory.

#include <QByteArray>
#include <QDialog>

class QLabel;

namespace zr::shell
{

struct MemoryFigures {
    qint64 totalKb = -1; // -1: unknown
    qint64 availableKb = -1;
};

// Reads the total and available physical memory from /proc/meminfo text.
MemoryFigures ParseMemInfo(const QByteArray& text);
// The two memory lines as the window shows them; an unknown figure shows as "н/д".
QString MemoryText(const MemoryFigures& figures);

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
