#pragma once
// Drives the setup-script object as the host's administration module does, on a setup
// record in memory and a sheet without a window: SetupData, OpenScript, RunUI, CloseScript.
// In RunUI the sheet either makes the command line's changes and presses OK, or shows both
// pages and is cancelled.

#include <optional>
#include <string>

#include "setup/headless_sheet.h"
#include "setup/question_dialog.h"
#include "testhost/memory_host.h"
#include "tools/host/setup_options.h"

namespace quorlex::host {

// The required-mapping question where nobody is there to answer: it goes through the
// task-dialog client, and its dialog takes the default button, "Map Required Fields".
QuestionDialogFactory unattendedQuestions();

// The administrator's part of one confirmation: the General fields in the page's order,
// then to the Data Mapping page, each parameter's choice in grid order, then OK. False, with
// the one reason, where the sheet would stay open or an option names nothing on it.
bool playConfirmation(const SetupChanges& changes, HeadlessSheetSession& session, std::string& error);

// The record as Apply stored it after the changes and OK; none, with the reason, when the
// sheet would not close with OK (nothing was applied then).
std::optional<SetupRecord> confirmSetup(const SetupRecord& record, const SetupChanges& changes, std::string& error);

// What the sheet shows for the record: its caption, the General fields (the password
// masked), the grid's groups with each item's name, value, mapping and description, and the
// sources its choice menu offers.
std::string describeSetup(const SetupRecord& record);

}  // namespace quorlex::host
