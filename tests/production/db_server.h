#pragma once
// A PostgreSQL server of the test's own in a temporary directory, started by
// tools/production-db with the schema and no rows, reached as the data source "Electrometer"
// through psqlODBC in a private unixODBC configuration. Also a direct connection to it for
// setting up rows and reading back what was written.

#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

namespace zr::production::test
{

class DbServer
{
public:
    DbServer();
    ~DbServer();

    // Starts the server (creating it the first time) and points unixODBC at it.
    bool start();
    bool stop();
    QString error() const { return error_; }

    // Runs statements on a fresh connection; false (and a warning) on an error.
    bool exec(const QStringList& statements);
    // The rows of a query, each field as text ("NULL" for a NULL).
    QList<QStringList> rows(const QString& query);
    // The first field of the first row as an integer.
    int value(const QString& query);

private:
    bool Run(const QString& action);

    QTemporaryDir dir_;
    QString error_;
};

} // namespace zr::production::test
