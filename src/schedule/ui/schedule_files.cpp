#include "schedule/ui/schedule_files.h"

#include "schedule/file.h"
#include "schedule/ui/schedule_message.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace zr::schedule
{

namespace
{

const QString kFilter = QStringLiteral("Файлы тарифного расписания (*.tsc)");

// Puts the process's current directory back when it goes out of scope.
class CurrentDirectoryKeeper
{
public:
    CurrentDirectoryKeeper() : path_(QDir::currentPath()) {}
    ~CurrentDirectoryKeeper() { QDir::setCurrent(path_); }
    CurrentDirectoryKeeper(const CurrentDirectoryKeeper&) = delete;
    CurrentDirectoryKeeper& operator=(const CurrentDirectoryKeeper&) = delete;

private:
    QString path_;
};

QString RunDialog(QWidget* parent, QFileDialog::AcceptMode mode, const QString& objectName)
{
    QFileDialog dialog(parent);
    dialog.setObjectName(objectName);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setNameFilter(kFilter);
    dialog.setDefaultSuffix(QStringLiteral("tsc"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void ShowError(QWidget* parent, const QString& text)
{
    ScheduleMessage(parent, QMessageBox::Critical, QStringLiteral("Ошибка"), text);
}

} // namespace

bool LoadTariffAction(QWidget* parent, Schedule& schedule)
{
    const CurrentDirectoryKeeper keeper;
    const QString path = RunDialog(parent, QFileDialog::AcceptOpen, QStringLiteral("OpenDialog1"));
    return !path.isEmpty() && LoadTariffFile(parent, schedule, path);
}

bool LoadTariffFile(QWidget* parent, Schedule& schedule, const QString& path)
{
    QString error;
    QStringList dropped;
    if (!LoadScheduleFile(schedule, path, &error, &dropped)) {
        ShowError(parent, error);
        return false;
    }
    if (!dropped.isEmpty()) {
        ScheduleMessage(parent, QMessageBox::Warning, QStringLiteral("Внимание"),
                        QStringLiteral("Файл «%1» загружен без переносов, даты которых позже "
                                       "31.12.2099 и не могут храниться в счетчике:\n%2")
                            .arg(QFileInfo(path).fileName(), dropped.join(QLatin1Char('\n'))));
    }
    return true;
}

bool SaveTariffAction(QWidget* parent, Schedule& schedule)
{
    const CurrentDirectoryKeeper keeper;
    const bool pending = schedule.pending();
    const QByteArray image = BuildFileImage(schedule);
    const QString path = RunDialog(parent, QFileDialog::AcceptSave, QStringLiteral("SaveDialog1"));
    QString error;
    if (!path.isEmpty() && !WriteFileImage(path, image, &error))
        ShowError(parent, error);
    return pending;
}

bool SaveTariffFile(QWidget* parent, Schedule& schedule, const QString& path)
{
    QString error;
    if (!WriteFileImage(path, BuildFileImage(schedule), &error)) {
        ShowError(parent, error);
        return false;
    }
    return true;
}

} // namespace zr::schedule
