// Icons: decoding of .ico files and icon resources into HICON handles, DrawIcon,
// and the system's own message box icons.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/api/types.h"

namespace vorn::gdi {

// The size DrawIcon draws at, as the icon metrics of the classic display give it.
constexpr int kIconSize = 32;

struct IconImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> colours;  // the XOR image, 0x00RRGGBB, rows top to bottom
  std::vector<std::uint8_t> mask;      // the AND mask: 1 where the background shows
  std::vector<std::uint8_t> alpha;     // per-pixel opacity of a 32-bit image that has one; else empty
};

// Decodes an icon from either form it comes in:
// - an .ico file (icon directory, then images): the 32 x 32 image of the most
//   colours is taken, else the largest one;
// - one icon image as an icon resource stores it: a BITMAPINFOHEADER of twice the
//   icon's height, the colour table, the XOR bitmap and the AND mask.
// Images of 1, 4, 8, 24 and 32 bits per pixel, uncompressed, up to 256 x 256;
// PNG-compressed images in an .ico file are passed over.
// Anything malformed or truncated gives nullopt; nothing is read outside `data`.
std::optional<IconImage> DecodeIcon(const unsigned char* data, std::size_t size);

// An icon handle over a decoded image. A shared icon, like those LoadIconA gives,
// stays valid when DestroyIcon is called on it; others are freed by DestroyIcon.
HICON CreateIconFromImage(IconImage image, bool shared = false);
// DecodeIcon then CreateIconFromImage: what LoadIconA does with the bytes of an
// icon resource. Null for malformed input.
HICON CreateIconFromResource(const unsigned char* data, std::size_t size, bool shared = false);

// The image behind an icon handle, or null.
const IconImage* FindIcon(HICON icon);

// The shared system icons LoadIconA(NULL, name) gives: IDI_HAND, IDI_QUESTION,
// IDI_EXCLAMATION, IDI_ASTERISK and IDI_APPLICATION; null for any other name.
HICON LoadSystemIcon(LPCSTR name);

}  // namespace vorn::gdi
