#include "shell/message.h"

namespace zr::shell
{

namespace
{

QMessageBox::StandardButton ShowModal(QWidget* parent, const Message& message)
{
    QMessageBox box(message.icon, message.caption, message.text, message.buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

MessageHandler& Handler()
{
    static MessageHandler handler = ShowModal;
    return handler;
}

} // namespace

QMessageBox::StandardButton ShowMessage(QWidget* parent, const Message& message)
{
    return Handler()(parent, message);
}

MessageHandler SetMessageHandler(MessageHandler handler)
{
    MessageHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

} // namespace zr::shell
