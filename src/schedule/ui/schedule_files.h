#pragma once
// The schedule's file actions that use files: load from a ".tsc" file, save as one (a new
// schedule is Schedule::NewSchedule). Each tells whether the
// schedule changed; the caller then shows its pages and redraws them
// (ScheduleEditor::ShowSchedule, HolidaysPage::ShowSchedule). The file dialogs may change the
// process's current directory, through which the operation log and the production-mode marker
// are found, so the dialog actions put it back.

#include "schedule/model.h"

#include <QString>

class QWidget;

namespace zr::schedule
{

// Asks for a file and loads it. False when the dialog was cancelled or the file refused.
bool LoadTariffAction(QWidget* parent, Schedule& schedule);
// Loads the file at path. A refused file is reported in a message box and changes nothing;
// transfers left out because they lie after 2099 are named in a message box too.
bool LoadTariffFile(QWidget* parent, Schedule& schedule, const QString& path);

// Commits the schedule (also when the dialog is then cancelled), asks for a file and writes it.
// True when the schedule changed, that is when there were pending changes.
bool SaveTariffAction(QWidget* parent, Schedule& schedule);
// Commits and writes the file at path; a failure is reported in a message box. False on failure.
bool SaveTariffFile(QWidget* parent, Schedule& schedule, const QString& path);

} // namespace zr::schedule
