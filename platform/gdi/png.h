// PNG files of surfaces, for screenshots and golden images: 8-bit RGB written,
// 8-bit RGB and RGBA read, non-interlaced.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/error.h"
#include "platform/gdi/surface.h"

namespace vorn::gdi {

std::vector<std::uint8_t> EncodePng(const Surface& surface);
// Decodes 8-bit RGB or RGBA (alpha is dropped). A malformed or truncated file is
// ReadFault; another bit depth, colour type or interlace is Unsupported.
Error DecodePng(const std::uint8_t* data, std::size_t size, Surface* surface);

Error WritePng(const Surface& surface, const std::string& path);
Error ReadPng(const std::string& path, Surface* surface);

}  // namespace vorn::gdi
