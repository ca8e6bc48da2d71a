// The progress bar, painted straight onto the dialog over the hidden frame control,
// and the status line above it.
#include "ui/progress.h"

#include <cstdint>
#include <cstring>

#include "engine/install_state.h"
#include "engine/path_pieces.h"
#include "shell/installer_app.h"

void PaintProgress(HDC dc, FILE* stream) {
  InstallState& s = installState;
  HWND dialog = installerApp.dialogWindow;
  if (stream != nullptr && s.imageSize == 0) s.imageSize = MeasureImage(stream);

  RECT frame;
  if (!GetWindowRect(GetDlgItem(dialog, kProgressFrame), &frame)) return;
  if (stream != nullptr && s.imageSize > 0) {
    // Position times width is formed in 64 bits: an image of a few MiB would
    // overflow 32.
    const std::int64_t position = std::ftell(stream);
    s.progressPixels = static_cast<std::int32_t>(position * (frame.right - frame.left) / s.imageSize);
  }
  POINT topLeft = {frame.left, frame.top};
  POINT bottomRight = {frame.right, frame.bottom};
  ScreenToClient(dialog, &topLeft);
  ScreenToClient(dialog, &bottomRight);
  const LONG L = topLeft.x, T = topLeft.y, R = bottomRight.x, B = bottomRight.y;

  const bool ownDc = dc == nullptr;
  if (ownDc) dc = GetDC(dialog);

  RECT outline = {L, T, R, B};
  FrameRect(dc, &outline, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  const LONG bandTop = T + 1;
  const LONG bandBottom = B - 1;
  const LONG W = R - L;
  const LONG p = s.progressPixels;

  bool filled = false;
  LONG filledRight = 0;
  bool rest = true;
  LONG restLeft = L + 1;
  if (p > 0 && L + p < R - 1) {
    filled = true;
    filledRight = L + p;
    restLeft = L + p;
  } else if (p > 0) {
    filled = true;
    filledRight = R - 1;
    rest = false;
  }

  if (filled) {
    HBRUSH blue = CreateSolidBrush(RGB(0, 100, 200));
    RECT part = {L + 1, bandTop, filledRight, bandBottom};
    FillRect(dc, &part, blue);
    DeleteObject(blue);
  }
  if (rest) {
    RECT part = {restLeft, bandTop, R - 1, bandBottom};
    FillRect(dc, &part, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const COLORREF oldText = SetTextColor(dc, RGB(255, 0, 0));
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    char text[kTextBuffer];
    if (p > 0) {
      wsprintfA(text, "%d%%", static_cast<int>(p * 100 / W));
    } else {
      wsprintfA(text, "0%%");
    }
    const int x = restLeft + 4;
    const int y = bandTop + (bandBottom - bandTop) / 5;
    RECT clip = {x, bandTop, R - 1, bandBottom};
    ExtTextOutA(dc, x, y, ETO_CLIPPED, &clip, text, static_cast<UINT>(std::strlen(text)), nullptr);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
  }
  if (ownDc) ReleaseDC(dialog, dc);
}

void ShowFileStatus() {
  char path[kManifestPathBuffer];
  ManifestPath(path, installState.fileIndex);
  SplitIntoPathPieces(path);
  char text[kTextBuffer];
  if (installState.progressPixels > 0) {
    wsprintfA(text, "Extracting file: %s%s", pathPieces.fname, pathPieces.ext);
  } else {
    std::strcpy(text, "Scanning files...");
  }
  SetDlgItemTextA(installerApp.dialogWindow, kStatusLine, text);
}
