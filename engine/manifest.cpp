// The package's eleven files in payload order.
#include "engine/manifest.h"

const char* const InstallManifest[kManifestEntries] = {
    "vorn32.exe", "vlink32.exe", "vorn.hlp",    "ircintro.hlp", "readme.txt", "versions.txt",
    "vorn.ini",   "aliases.ini", "popups.ini",  "servers.ini",  "urls.ini",
};
