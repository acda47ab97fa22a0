#pragma once
// Identification of the workstation, operator and installation at each activation in production
// mode, and the computer's clock taken from the database server.

#include "production/notice.h"
#include "production/production_db.h"

namespace zr::production
{

struct Identity {
    int computerId = 0;
    int personId = 0;
    int plantId = 0;
};

struct Identification {
    Identity identity; // only the ids found before a stop or error are set
    Notice notice;     // empty when identified; stop set when the program must end
};

// The login as the operating system's 32-character buffer holds it: a name that does not fit
// (more than 31 characters) becomes the empty text.
QString LoginForLookup(const QString& login);

// Looks up the workstation by computer name, the operator by login and the installation by
// workstation, then sets the clock from the server.
Identification Identify(ProductionDb& db, const QString& computerName, const QString& login);

// Sets the local clock to the server's getdate(); whether the system accepted it is not
// examined. Returns the database error as a notice, empty on success.
Notice SetClockFromServer(ProductionDb& db);

} // namespace zr::production
