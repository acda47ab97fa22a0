#include "shell/app_settings.h"
#include "shell/application.h"
#include "shell/main_window.h"
#include "shell/production_line.h"

#include <QAction>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QStyle>
#include <QTimer>

#include <cstdlib>

int main(int argc, char** argv)
{
    zr::shell::Application app(argc, argv);
    zr::shell::InstallRussianTranslations(app);
    QApplication::setWindowIcon(app.style()->standardIcon(QStyle::SP_ComputerIcon));

    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption port(
        QStringLiteral("port"),
        QStringLiteral("Offer a device the system does not list, such as a pseudo-terminal "
                       "(repeatable; the first is preselected)."),
        QStringLiteral("path"));
    const QCommandLineOption demo(QStringLiteral("demo"),
                                  QStringLiteral("Offer a built-in demonstration meter."));
    // Unattended runs (CPU measurements, pictures): connect at once, end after a while.
    QCommandLineOption connect(QStringLiteral("connect"));
    connect.setFlags(QCommandLineOption::HiddenFromHelp);
    QCommandLineOption quitAfter(QStringLiteral("quit-after"), QString(),
                                 QStringLiteral("seconds"));
    quitAfter.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({port, demo, connect, quitAfter});
    parser.process(app);

    zr::shell::PortOptions ports;
    ports.extraPorts = parser.values(port);
    ports.demo = parser.isSet(demo);
    const std::unique_ptr<QSettings> settings = zr::shell::UserSettings();
    zr::shell::StartUp startUp;
    startUp.settings = settings.get();
    zr::shell::MainWindow window(startUp, ports);
    // An unknown workstation, operator or installation ends the program at once, unsaved.
    if (zr::shell::ProductionLine* production = window.Production())
        QObject::connect(production, &zr::shell::ProductionLine::stopRequested,
                         [] { std::exit(EXIT_FAILURE); });
    window.show();
    if (parser.isSet(connect))
        window.ActionConnect->trigger();
    if (parser.isSet(quitAfter))
        QTimer::singleShot(parser.value(quitAfter).toInt() * 1000, &window, &QWidget::close);
    return app.exec();
}
