#pragma once
// How the production database is reached. The default is the ODBC data source "Electrometer",
// whose server, database and credentials are configured outside the program; sites without ODBC
// name another Qt SQL driver and its connection details.

#include <QString>

namespace zr::production
{

struct DbOptions {
    QString driver = QStringLiteral("QODBC");
    QString database = QStringLiteral("Electrometer"); // data source name for ODBC
    QString host;
    int port = 0; // 0: the driver's default
    QString user;
    QString password;
    QString connectOptions; // the driver's own options, "KEY=value;KEY=value"
};

} // namespace zr::production
