// Files a run overwrites are set aside, not destroyed, until the run has succeeded:
// a run that fails after replacing the user's files (settings the user chose to
// replace without backups, say) gives them back instead of leaving nothing.
#pragma once

// Before an existing file that the run did not write is overwritten: rename it
// aside. If that fails, the file is simply overwritten.
void SetAsideBeforeOverwrite(int entry, const char* destinationPath);
// Rollback: the files set aside go back to their places (the run's files there are
// deleted by then).
void RestoreSetAside();
// The run succeeded: the files set aside are deleted.
void DiscardSetAside();
