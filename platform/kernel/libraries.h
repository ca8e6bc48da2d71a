// Libraries that LoadLibraryA can find. The platform provides none of its own; tests
// register stand-ins to drive the program's run-time loading.
#pragma once

#include <map>
#include <string>

#include "platform/api/types.h"

namespace vorn::kernel {

// Makes a library of the given file name (compared ignoring case) loadable, with
// these entry points. Registering an existing name replaces it.
void RegisterLibrary(const std::string& fileName, const std::map<std::string, FARPROC>& entryPoints);
void UnregisterLibraries();
// How many times each registered library is loaded right now.
int LoadCount(const std::string& fileName);

}  // namespace vorn::kernel
