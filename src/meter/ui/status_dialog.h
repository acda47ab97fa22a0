#pragma once
// Dialog "Расшифровка статуса": the meaning of an event-journal status byte.

#include "ui_status_dialog.h"

#include <QDialog>

namespace zr::meter
{

class StatusDialog : public QDialog
{
    Q_OBJECT
public:
    explicit StatusDialog(QWidget* parent = nullptr);

    // The decoded lines of the current status, joined with line breaks (also the journal's hint).
    QString Text() const;

    Ui::StatusDialog ui;

private:
    void SpinEdit1Change();
};

} // namespace zr::meter
