#pragma once
// Message boxes of the schedule pages. The window routes them to its own message handling;
// tests replace the handler to answer them.

#include <QMessageBox>
#include <functional>

namespace zr::schedule
{

using ScheduleMessageHandler = std::function<QMessageBox::StandardButton(
    QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text,
    QMessageBox::StandardButtons buttons)>;

// Shows the message (a modal box until a handler is installed) and returns the button chosen.
QMessageBox::StandardButton ScheduleMessage(QWidget* parent, QMessageBox::Icon icon,
                                            const QString& caption, const QString& text,
                                            QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// Installs another way of showing them; returns the one it replaces.
ScheduleMessageHandler SetScheduleMessageHandler(ScheduleMessageHandler handler);

} // namespace zr::schedule
