// What to do about a file that already stands at an entry's destination: overwrite
// it, move it into the backup directory first, or leave it in place. Settings files
// are kept or replaced on the user's word, asked once per run.
#pragma once

#include "engine/install_state.h"

// Done: expand into the destination. Continue: a file stays there, do not expand.
// BackToSetup: an error was reported.
StepResult ResolveExistingFile(const char* destinationPath);
