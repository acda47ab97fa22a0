#include "schedule/ui/schedule_message.h"

namespace zr::schedule
{

namespace
{

ScheduleMessageHandler& Handler()
{
    static ScheduleMessageHandler handler = [](QWidget* parent, QMessageBox::Icon icon,
                                               const QString& caption, const QString& text,
                                               QMessageBox::StandardButtons buttons) {
        QMessageBox box(icon, caption, text, buttons, parent);
        return static_cast<QMessageBox::StandardButton>(box.exec());
    };
    return handler;
}

} // namespace

QMessageBox::StandardButton ScheduleMessage(QWidget* parent, QMessageBox::Icon icon,
                                            const QString& caption, const QString& text,
                                            QMessageBox::StandardButtons buttons)
{
    return Handler()(parent, icon, caption, text, buttons);
}

ScheduleMessageHandler SetScheduleMessageHandler(ScheduleMessageHandler handler)
{
    ScheduleMessageHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

} // namespace zr::schedule
