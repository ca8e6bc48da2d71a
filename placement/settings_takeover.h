// The settings file that a run takes over from the Windows directory. The copy in
// the destination would be the user's only one once the original is deleted, so the
// original is deleted only when the run has succeeded; until then the run treats it
// as gone, and a rollback, which deletes the copy with the run's other files, leaves
// the user's settings where they were.
#pragma once

// The file at this path was copied into the destination; from now on it counts as
// deleted for this run.
void TakeOverSettings(const char* windowsSettingsPath);
// True when the run has taken over the file at this path.
bool SettingsTakenOver(const char* windowsSettingsPath);
// The run succeeded: delete the taken-over original (a second attempt if the first
// fails).
void CompleteSettingsTakeover();
// A new run or a rollback: nothing is taken over any more.
void ForgetSettingsTakeover();
