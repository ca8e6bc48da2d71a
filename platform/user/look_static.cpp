// The STATIC class in the classic look: texts wrapped at word boundaries with their
// mnemonic underlined, icons, and black frames.
#include <vector>

#include "platform/api/gdi.h"
#include "platform/api/user.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/draw3d.h"
#include "platform/user/look.h"
#include "platform/user/look_draw.h"
#include "platform/user/metrics.h"
#include "platform/user/text_layout.h"

namespace vorn::user {

namespace {

using namespace look;

// The lines of a static text; SS_LEFTNOWORDWRAP breaks only at line feeds.
std::vector<std::string> LinesOf(const std::string& shown, int room, bool wrap) {
  if (wrap) return WrapText(shown, room, [](const std::string& s) { return TextWidth(s); });
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t feed; (feed = shown.find('\n', start)) != std::string::npos; start = feed + 1) {
    lines.push_back(shown.substr(start, feed - start));
  }
  lines.push_back(shown.substr(start));
  return lines;
}

void PaintText(ControlPaint& paint, UINT kind) {
  const HDC dc = paint.dc();
  const Window& window = paint.window();
  const RECT client = paint.client();
  const Label label = ParseLabel(window.text, !(window.style & SS_NOPREFIX));
  const std::vector<std::string> lines = LinesOf(label.shown, client.right, kind != SS_LEFTNOWORDWRAP);
  // Wrapping drops the blanks and line feeds where it breaks, so each line is
  // found again in the shown text to know whether it holds the mnemonic.
  std::size_t cursor = 0;
  int y = 0;
  for (const std::string& text : lines) {
    const std::size_t start = label.shown.find(text, cursor);
    Label line{text, -1};
    if (start != std::string::npos) {
      if (label.underline >= static_cast<int>(start) && label.underline < static_cast<int>(start + text.size())) {
        line.underline = label.underline - static_cast<int>(start);
      }
      cursor = start + text.size();
    }
    int x = 0;
    if (kind == SS_CENTER) x = (client.right - TextWidth(text)) / 2;
    if (kind == SS_RIGHT) x = client.right - TextWidth(text);
    DrawLabelEnabledOrNot(dc, x, y, line, paint.enabled(), client);
    y += LineHeight();
    if (y >= client.bottom) break;
  }
}

}  // namespace

void PaintStatic(HWND control) {
  ControlPaint paint(control);
  const Window& window = paint.window();
  DrawChildBorder(window, false);
  const HDC dc = paint.dc();
  const RECT client = paint.client();
  const UINT kind = window.style & SS_TYPEMASK;
  switch (kind) {
    case SS_ICON:
      gdi::FillFace(dc, client);
      if (window.control.icon != nullptr) DrawIcon(dc, 0, 0, window.control.icon);
      break;
    case SS_BLACKFRAME:
      FrameRect(dc, &client, gdi::SystemColourBrush(gdi::kColourWindowFrame));
      break;
    default:
      gdi::FillFace(dc, client);
      PaintText(paint, kind);
      break;
  }
}

}  // namespace vorn::user
