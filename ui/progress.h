// The status line and the progress bar of the install page.
#pragma once

#include <cstdio>

#include "platform/win32.h"

// Control ids of the install dialog that the run writes to.
constexpr int kStatusLine = 113;
constexpr int kProgressFrame = 115;

// Paints the bar on the dialog (its own device context when dc is null), from the
// stream's read position when a stream is given, else from the stored width.
void PaintProgress(HDC dc, FILE* stream);
// Names the entry whose stream begins in the status line.
void ShowFileStatus();
