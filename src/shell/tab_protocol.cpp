#include "shell/tab_protocol.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QPlainTextEdit>

namespace zr::shell
{

TabProtocol::TabProtocol(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabProtocol"));
    auto* layout = new QVBoxLayout(this);
    CheckBox_Terminal = new QCheckBox(QStringLiteral("Включен"), this);
    CheckBox_Terminal->setObjectName(QStringLiteral("CheckBox_Terminal"));
    layout->addWidget(CheckBox_Terminal);
    Memo_Terminal = new QPlainTextEdit(this);
    Memo_Terminal->setObjectName(QStringLiteral("Memo_Terminal"));
    Memo_Terminal->setReadOnly(true);
    // The log only grows while connected; keeping an undo history of it would double that.
    Memo_Terminal->setUndoRedoEnabled(false);
    Memo_Terminal->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(Memo_Terminal);
}

} // namespace zr::shell
