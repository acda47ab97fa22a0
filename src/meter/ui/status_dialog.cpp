#include "meter/ui/status_dialog.h"

#include "meter/status.h"

namespace zr::meter
{

StatusDialog::StatusDialog(QWidget* parent) : QDialog(parent)
{
    ui.setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(size());
    connect(ui.SpinEdit1, &QSpinBox::valueChanged, this, &StatusDialog::SpinEdit1Change);
    SpinEdit1Change();
}

QString StatusDialog::Text() const
{
    return ui.Memo1->toPlainText();
}

void StatusDialog::SpinEdit1Change()
{
    ui.Memo1->setPlainText(DecodeStatus(static_cast<uint8_t>(ui.SpinEdit1->value())).join('\n'));
}

} // namespace zr::meter
