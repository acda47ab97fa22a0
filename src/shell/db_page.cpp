#include "shell/db_page.h"

#include "production/operation_log.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <limits>

namespace zr::shell
{

DbPage::DbPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabDb"));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("Номер:"), this);
    SpinFilter = new QSpinBox(this);
    SpinFilter->setObjectName(QStringLiteral("SpinFilter"));
    SpinFilter->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    SpinFilter->setValue(0);
    SpinFilter->setMinimumWidth(100);
    label->setBuddy(SpinFilter);
    row->addWidget(label);
    row->addWidget(SpinFilter);
    row->addStretch();
    layout->addLayout(row);
    MemoDb = new QPlainTextEdit(this);
    MemoDb->setObjectName(QStringLiteral("MemoDb"));
    MemoDb->setReadOnly(true);
    MemoDb->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(MemoDb);
    connect(SpinFilter, &QSpinBox::valueChanged, this, &DbPage::SpinFilterChange);
}

void DbPage::applyModes(const meter::Modes& modes)
{
    production_ = modes.production;
    MemoDb->clear();
}

void DbPage::SpinFilterChange()
{
    MemoDb->clear();
    // In production mode the database keeps the record and the log file is never read.
    if (production_ || logPath_.isEmpty())
        return;
    QString error;
    const QStringList lines = production::ReadOperationLog(logPath_, SpinFilter->value(), &error);
    for (const QString& line : lines)
        MemoDb->appendPlainText(line);
    if (!error.isEmpty())
        MemoDb->appendPlainText(error);
}

} // namespace zr::shell
