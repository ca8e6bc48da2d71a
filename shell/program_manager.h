// The Program Manager group of the installed package, made through DDE.
#pragma once

#include "platform/win32.h"

// Creates the group "Vorn v5.02" with its five items; 1 when the group and every item
// were accepted, else 0.
int AddProgramManagerIcons();
// Sends one command to Program Manager on a conversation of its own; 1 when it was
// accepted, else 0.
int SendProgmanCommand(const char* command);
