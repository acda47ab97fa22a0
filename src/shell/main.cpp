#include "shell/application.h"
#include "shell/main_window.h"

#include <QStyle>

int main(int argc, char** argv)
{
    zr::shell::Application app(argc, argv);
    QApplication::setWindowIcon(app.style()->standardIcon(QStyle::SP_ComputerIcon));
    zr::shell::MainWindow window(zr::shell::Modes{});
    window.show();
    return app.exec();
}
