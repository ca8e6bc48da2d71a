// The Program Manager group: twelve commands in Program Manager's DDE command language,
// each formatted into the command buffer and sent as an execute transaction.
#include "shell/program_manager.h"

#include <cstdio>
#include <cstring>

#include "engine/install_state.h"
#include "shell/installer_app.h"

namespace {

const int kCommandBuffer = 900;
const DWORD kCommandTimeout = 1000;

char commandBuffer[kCommandBuffer];

// Formats a command into the command buffer, with the destination for each %s of an
// AddItem command, and sends it.
int SendCommand(const char* format) {
  std::snprintf(commandBuffer, sizeof commandBuffer, format, installState.destinationDir,
                installState.destinationDir);
  return SendProgmanCommand(commandBuffer);
}

}  // namespace

int SendProgmanCommand(const char* command) {
  HSZ progman = DdeCreateStringHandleA(installerApp.ddeInstance, "PROGMAN", CP_WINANSI);
  int accepted = 0;
  HCONV conversation = DdeConnect(installerApp.ddeInstance, progman, progman, NULL);
  if (conversation != NULL) {
    DWORD transactionResult = 0;
    HDDEDATA result = DdeClientTransaction((LPBYTE)command, (DWORD)(std::strlen(command) + 1), conversation, NULL,
                                           CF_TEXT, XTYP_EXECUTE, kCommandTimeout, &transactionResult);
    accepted = result != NULL ? 1 : 0;
    DdeDisconnect(conversation);
  }
  DdeFreeStringHandle(installerApp.ddeInstance, progman);
  return accepted;
}

int AddProgramManagerIcons() {
  if (!SendCommand("[CreateGroup(\"Vorn v5.02\")]")) return 0;
  SendCommand("[ShowGroup(\"Vorn v5.02\",1)]");
  SendCommand("[ReplaceItem(\"Vorn32\")]");
  if (!SendCommand("[AddItem(\"%s\\Vorn32.exe\",\"Vorn32\",,0,,,\"%s\")]")) return 0;
  SendCommand("[ReplaceItem(\"Vorn Help\")]");
  if (!SendCommand("[AddItem(\"%s\\Vorn.hlp\",\"Vorn Help\",,0,,,\"%s\")]")) return 0;
  SendCommand("[ReplaceItem(\"IRC Intro\")]");
  if (!SendCommand("[AddItem(\"%s\\IRCintro.hlp\",\"IRC Intro\",,0,,,\"%s\")]")) return 0;
  SendCommand("[ReplaceItem(\"Readme.txt\")]");
  if (installerApp.newShell) {
    if (!SendCommand("[AddItem(\"%s\\readme.txt\",\"Readme.txt\",,,,,\"%s\")]")) return 0;
  } else {
    if (!SendCommand("[AddItem(\"%s\\readme.txt\",\"Readme.txt\",\"write.exe\",0,,,\"%s\")]")) return 0;
  }
  SendCommand("[ReplaceItem(\"Versions.txt\")]");
  if (installerApp.newShell) return SendCommand("[AddItem(\"%s\\versions.txt\",\"Versions.txt\",,,,,\"%s\")]");
  return SendCommand("[AddItem(\"%s\\versions.txt\",\"Versions.txt\",\"write.exe\",0,,,\"%s\")]");
}
