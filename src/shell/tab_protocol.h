#pragma once
// Tab "Протокол": the traffic log of the meter line.

#include <QWidget>

class QCheckBox;
class QPlainTextEdit;

namespace zr::shell
{

class TabProtocol : public QWidget
{
    Q_OBJECT
public:
    explicit TabProtocol(QWidget* parent = nullptr);

    QCheckBox* CheckBox_Terminal;
    QPlainTextEdit* Memo_Terminal;
};

} // namespace zr::shell
