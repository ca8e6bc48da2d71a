// Word wrapping of static texts.
#include "platform/user/text_layout.h"

namespace vorn::user {

namespace {

void WrapParagraph(const std::string& paragraph, int room, const std::function<int(const std::string&)>& width,
                   std::vector<std::string>& lines) {
  std::string line;
  std::size_t i = 0;
  while (i < paragraph.size()) {
    // The next word with the spaces before it.
    std::size_t end = i;
    while (end < paragraph.size() && paragraph[end] == ' ') ++end;
    while (end < paragraph.size() && paragraph[end] != ' ') ++end;
    const std::string piece = paragraph.substr(i, end - i);
    if (width(line + piece) <= room || line.empty()) {
      line += piece;
    } else {
      lines.push_back(line);
      const std::size_t start = piece.find_first_not_of(' ');
      line = start == std::string::npos ? std::string() : piece.substr(start);
    }
    // A single word wider than the room: break it where it no longer fits.
    while (width(line) > room && line.size() > 1) {
      std::size_t fit = line.size() - 1;
      while (fit > 1 && width(line.substr(0, fit)) > room) --fit;
      lines.push_back(line.substr(0, fit));
      line = line.substr(fit);
    }
    i = end;
  }
  lines.push_back(line);
}

}  // namespace

std::vector<std::string> WrapText(const std::string& text, int room, const std::function<int(const std::string&)>& width) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t feed = text.find('\n', start);
    WrapParagraph(text.substr(start, feed == std::string::npos ? std::string::npos : feed - start), room, width, lines);
    if (feed == std::string::npos) break;
    start = feed + 1;
  }
  return lines;
}

}  // namespace vorn::user
