// wsprintfA and wvsprintfA: the format subset of the window system's own printf,
// integers, characters and strings, into at most 1024 bytes.
#include <cstdarg>
#include <cstdint>
#include <string>

#include "platform/api/user.h"

namespace {

constexpr std::size_t kLimit = 1024;  // bytes, the terminator included

void Pad(std::string& out, const std::string& body, int width, bool left, char fill, std::size_t signLength) {
  const int padding = width - static_cast<int>(body.size());
  if (padding <= 0 || left) {
    out += body;
    if (padding > 0) out.append(static_cast<std::size_t>(padding), ' ');
    return;
  }
  if (fill == '0') {
    // Zeros go between the sign (or 0x) and the digits.
    out += body.substr(0, signLength);
    out.append(static_cast<std::size_t>(padding), '0');
    out += body.substr(signLength);
  } else {
    out.append(static_cast<std::size_t>(padding), ' ');
    out += body;
  }
}

std::string Digits(std::uint32_t value, unsigned base, bool upper) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string text;
  do {
    text.insert(text.begin(), digits[value % base]);
    value /= base;
  } while (value != 0);
  return text;
}

std::string Format(const char* format, va_list args) {
  std::string out;
  for (const char* p = format; *p != '\0' && out.size() < kLimit; ++p) {
    if (*p != '%') {
      out += *p;
      continue;
    }
    ++p;
    bool left = false;
    bool prefix = false;
    char fill = ' ';
    for (;; ++p) {
      if (*p == '-') left = true;
      else if (*p == '#') prefix = true;
      else if (*p == '0') fill = '0';
      else break;
    }
    int width = 0;
    while (*p >= '0' && *p <= '9') width = width * 10 + (*p++ - '0');
    int precision = -1;
    if (*p == '.') {
      precision = 0;
      ++p;
      while (*p >= '0' && *p <= '9') precision = precision * 10 + (*p++ - '0');
    }
    // Long is 32 bits in this API, so l changes nothing; h narrows to 16 bits.
    bool shortValue = false;
    if (*p == 'l') ++p;
    else if (*p == 'h') {
      shortValue = true;
      ++p;
    }
    std::string body;
    std::size_t signLength = 0;
    switch (*p) {
      case 'd':
      case 'i':
      case 'u':
      case 'x':
      case 'X': {
        std::uint32_t bits = static_cast<std::uint32_t>(va_arg(args, int));
        if (shortValue) bits &= 0xFFFF;
        bool negative = false;
        if (*p == 'd' || *p == 'i') {
          std::int32_t value = shortValue ? static_cast<std::int16_t>(bits) : static_cast<std::int32_t>(bits);
          negative = value < 0;
          bits = negative ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
        }
        const bool hex = *p == 'x' || *p == 'X';
        std::string digits = Digits(bits, hex ? 16 : 10, *p == 'X');
        if (precision >= 0 && static_cast<int>(digits.size()) < precision) {
          digits.insert(0, static_cast<std::size_t>(precision) - digits.size(), '0');
        }
        if (negative) {
          body = "-" + digits;
          signLength = 1;
        } else if (hex && prefix && bits != 0) {
          body = (*p == 'X' ? "0X" : "0x") + digits;
          signLength = 2;
        } else {
          body = digits;
        }
        break;
      }
      case 'c':
        body = std::string(1, static_cast<char>(va_arg(args, int)));
        break;
      case 's': {
        const char* text = va_arg(args, const char*);
        body = text != nullptr ? text : "(null)";
        if (precision >= 0 && body.size() > static_cast<std::size_t>(precision)) body.resize(static_cast<std::size_t>(precision));
        fill = ' ';
        break;
      }
      case '\0':
        return out;
      default:
        // An unknown type prints itself, as %% does.
        body = std::string(1, *p);
        width = 0;
        break;
    }
    Pad(out, body, width, left, fill, signLength);
  }
  return out;
}

}  // namespace

int WINAPI wvsprintfA(LPSTR buffer, LPCSTR format, va_list args) {
  if (buffer == nullptr || format == nullptr) return -1;
  std::string text = Format(format, args);
  if (text.size() > kLimit - 1) text.resize(kLimit - 1);
  text.copy(buffer, text.size());
  buffer[text.size()] = '\0';
  return static_cast<int>(text.size());
}

int wsprintfA(LPSTR buffer, LPCSTR format, ...) {
  va_list args;
  va_start(args, format);
  const int written = wvsprintfA(buffer, format, args);
  va_end(args);
  return written;
}
