// The fixed, ordered table of payload entries: the i-th stream of the payload is
// installed under the i-th name.
#pragma once

constexpr int kManifestEntries = 11;
// The first of the settings files, which the existing-file policy treats apart.
constexpr int kFirstSettingsEntry = 6;

extern const char* const InstallManifest[kManifestEntries];
