#pragma once
// Every message box of the program goes through here, so unattended runs can answer them.

#include <QMessageBox>
#include <functional>

namespace zr::shell
{

struct Message {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString caption;
    QString text;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
};

using MessageHandler = std::function<QMessageBox::StandardButton(QWidget*, const Message&)>;

// Shows the message (modally, by default) and returns the button chosen.
QMessageBox::StandardButton ShowMessage(QWidget* parent, const Message& message);

// Installs another way of showing messages; returns the one it replaces.
MessageHandler SetMessageHandler(MessageHandler handler);

} // namespace zr::shell
