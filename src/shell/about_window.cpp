#include "shell/about_window.h"

#include "shell/application.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLocale>

namespace zr::shell
{

QString MemoryText(const platform::MemoryFigures& figures)
{
    const auto show = [](qint64 kb) {
        return kb < 0 ? QStringLiteral("н/д") : QLocale().toString(kb) + QStringLiteral(" КБ");
    };
    return QStringLiteral("Всего физической памяти: %1\nДоступно физической памяти: %2")
        .arg(show(figures.totalKb), show(figures.availableKb));
}

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("О программе"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    top->addWidget(icon, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    auto* title = new QLabel(ProgramTitle(), this);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    title->setFont(titleFont);
    texts->addWidget(title);
    texts->addWidget(new QLabel(QStringLiteral("8-тарифный 3-фазный эл. счетчик"), this));
    texts->addWidget(new QLabel(QStringLiteral("Версия 1.2"), this));
    top->addLayout(texts);
    layout->addLayout(top);
    LabelMemory = new QLabel(this);
    LabelMemory->setObjectName(QStringLiteral("LabelMemory"));
    layout->addWidget(LabelMemory);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutWindow::showEvent(QShowEvent* event)
{
    // Memory figures change while the program runs; read them each time the window opens.
    LabelMemory->setText(MemoryText(platform::PhysicalMemory()));
    QDialog::showEvent(event);
}

} // namespace zr::shell
