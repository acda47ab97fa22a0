#include "meter/ui/status_form.h"

#include "meter/status.h"

namespace zr::meter
{

TFormStatus::TFormStatus(QWidget* parent) : QDialog(parent)
{
    ui.setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(size());
    connect(ui.SpinEdit1, &QSpinBox::valueChanged, this, &TFormStatus::SpinEdit1Change);
    SpinEdit1Change();
}

QString TFormStatus::Text() const
{
    return ui.Memo1->toPlainText();
}

void TFormStatus::SpinEdit1Change()
{
    ui.Memo1->setPlainText(DecodeStatus(static_cast<uint8_t>(ui.SpinEdit1->value())).join('\n'));
}

} // namespace zr::meter
