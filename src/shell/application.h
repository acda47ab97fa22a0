#pragma once
// The application object: errors that no handler caught end here instead of ending the program.

#include <QApplication>

namespace zr::shell
{

// The program's title: the main window's caption and the caption of unexpected errors.
QString ProgramTitle();

class Application : public QApplication
{
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

// Qt's own Russian texts for the standard buttons and dialogs ("Да", "Отмена", the file and print
// dialogs). Without the translations installed the program starts in Qt's English; returns
// whether they were found.
bool InstallRussianTranslations(QApplication& app);

} // namespace zr::shell
