#include "shell/application.h"

#include "shell/message.h"

#include <QLibraryInfo>
#include <QTranslator>
#include <exception>

namespace zr::shell
{

namespace
{

void ReportError(const QString& text)
{
    ShowMessage(QApplication::activeWindow(), {QMessageBox::Critical, ProgramTitle(), text});
}

} // namespace

QString ProgramTitle()
{
    return QStringLiteral("Программирование ЗуР347");
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ReportError(QString::fromUtf8(error.what()));
    } catch (...) {
        ReportError(QStringLiteral("Неизвестная ошибка"));
    }
    return false;
}

bool InstallRussianTranslations(QApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ru"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QApplication::installTranslator(translator);
    return true;
}

} // namespace zr::shell
