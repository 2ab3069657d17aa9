// Shared by the Wine checks: one result line per check.
#pragma once

extern int g_failures;
void Check(bool ok, const char* what);

// Runs a dialog from this program's resources.
void CheckDialog();

// Starts copies of the stand-in found in `dir` and checks what they log.
void CheckStandIn(const char* dir);
