#pragma once
// The operating modes, fixed at start-up from the working directory and the access flags of the
// settings, and the files the program keeps beside the working directory.

#include <QString>

namespace zr::shell
{

struct OperatingModes {
    bool production = false;
    bool master = false;
    bool newPasswordAllowed = true;
};

// Production mode is on when the marker file exists (its contents are never read); it implies
// master mode. "Master" present gives master mode; "NoUser" present forbids typing a new password.
OperatingModes DecideModes(bool markerPresent, bool masterPresent, bool noUserPresent);

// The marker file, the help file and the operation log in `workingDirectory`, with the platform's
// separators.
QString ProductionMarkerPath(const QString& workingDirectory);
QString HelpPath(const QString& workingDirectory);
QString OperationLogPath(const QString& workingDirectory);

} // namespace zr::shell
