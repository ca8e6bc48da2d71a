// Breaking a text into lines as a word-wrapping static text shows it: at line
// feeds, and between words where a line would grow wider than the room.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vorn::user {

// `width` measures a piece of text in pixels. A word wider than the room is broken
// between characters.
std::vector<std::string> WrapText(const std::string& text, int room, const std::function<int(const std::string&)>& width);

}  // namespace vorn::user
