// The state of an install run, the result codes of install operations, and the
// operations on them that the scanner, the controller, placement and the dialog share.
#pragma once

#include <cstdint>
#include <cstdio>

#include "engine/manifest.h"
#include "platform/win32.h"

// Text buffers for paths and messages hold 300 characters with the terminator.
constexpr int kTextBuffer = 300;
// A manifest path is at most 299 + 1 + 12 characters.
constexpr int kManifestPathBuffer = 313;

enum StepResult { Fatal = 0, Done = 1, BackToSetup = 2, Continue = 3 };

struct InstallState {
  char destinationDir[kTextBuffer];
  int makeBackups;
  int addIcons;
  FILE* imageStream;
  FILE* tempStream;
  char tempPath[kTextBuffer];
  std::int32_t fileIndex;
  std::int32_t progressPixels;
  std::int32_t imageSize;
  bool createdDestination;
  bool abortRequested;
  int iniDecision;
  char backupDir[kTextBuffer];
  std::int32_t checksum;
  int weight;
  std::int32_t matchPos;
  std::int32_t sliceCount;
  char signature[5];
  // Which entries this run wrote at their destination: the rollback deletes only
  // these, never a file that was already there and kept.
  bool wroteEntry[kManifestEntries];
};

extern InstallState installState;

void ResetInstallState();
void ManifestPath(char* out, int index);
StepResult PrepareDestination();
StepResult OpenInstallImage();
std::int32_t MeasureImage(FILE* stream);
void RollbackInstall();
// Deletes a file, trying once more when the first attempt fails.
void DeleteWithRetry(const char* path);
