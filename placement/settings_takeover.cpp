// The deferred deletion of a taken-over settings file.
#include "placement/settings_takeover.h"

#include <cstring>

#include "engine/install_state.h"
#include "platform/win32.h"

namespace {

char takenOver[kTextBuffer];

}  // namespace

void TakeOverSettings(const char* windowsSettingsPath) {
  std::strncpy(takenOver, windowsSettingsPath, sizeof takenOver - 1);
  takenOver[sizeof takenOver - 1] = '\0';
}

bool SettingsTakenOver(const char* windowsSettingsPath) {
  return takenOver[0] != '\0' && lstrcmpiA(takenOver, windowsSettingsPath) == 0;
}

void CompleteSettingsTakeover() {
  if (takenOver[0] != '\0') DeleteWithRetry(takenOver);
  ForgetSettingsTakeover();
}

void ForgetSettingsTakeover() { takenOver[0] = '\0'; }
