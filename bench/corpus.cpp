// The benchmark corpus: segments of 16 to 256 KiB, each of one kind, drawn from a
// fixed seed with the weights a program package might have.
#include "bench/corpus.h"

#include <cstdint>
#include <vector>

namespace vorn::bench {

namespace {

// xorshift64*: the same sequence on every platform and library.
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 0x2545F4914F6CDD1Dull;
  }
  std::size_t Below(std::size_t n) { return static_cast<std::size_t>((Next() >> 11) % n); }
  // Small values far more often than large ones, like word frequencies.
  std::size_t Zipf(std::size_t n) {
    const double u = static_cast<double>(Next() >> 11) / 9007199254740992.0;
    return static_cast<std::size_t>(static_cast<double>(n) * u * u * u) % n;
  }

 private:
  std::uint64_t state_;
};

void Put32(std::string* out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<char>(v >> (8 * i)));
}

std::vector<std::string> Vocabulary(Rng& rng) {
  static const char* const kSyllables[] = {"an", "ber", "cha", "de", "el", "fon", "gra", "hi",  "in", "jo",
                                           "ka", "lo",  "me",  "ne", "or", "pa",  "qui", "re", "st", "ta",
                                           "un", "ve",  "wa",  "xe", "yo", "ze",  "th",  "ing", "ion", "er"};
  std::vector<std::string> words;
  for (int i = 0; i < 4000; ++i) {
    std::string word;
    for (std::size_t n = 1 + rng.Below(3) + (i > 200 ? 1 : 0); n > 0; --n) word += kSyllables[rng.Below(30)];
    words.push_back(word);
  }
  return words;
}

void Prose(Rng& rng, const std::vector<std::string>& words, std::size_t size, std::string* out) {
  const std::size_t end = out->size() + size;
  std::size_t column = 0;
  bool capital = true;
  while (out->size() < end) {
    std::string word = rng.Below(40) == 0 ? std::to_string(rng.Below(10000)) : words[rng.Zipf(words.size())];
    if (capital) word[0] = static_cast<char>(word[0] - 'a' + 'A');
    capital = false;
    if (rng.Below(12) == 0) {
      word += rng.Below(3) == 0 ? "," : ".";
      capital = word.back() == '.';
    }
    if (column + word.size() > 72) {
      *out += rng.Below(6) == 0 ? "\r\n\r\n" : "\r\n";
      column = 0;
    } else if (column > 0) {
      *out += ' ';
      ++column;
    }
    *out += word;
    column += word.size();
  }
}

void MachineCode(Rng& rng, std::size_t size, std::string* out) {
  const std::size_t end = out->size() + size;
  while (out->size() < end) {
    *out += "\x55\x8b\xec";
    for (std::size_t n = 4 + rng.Below(40); n > 0; --n) {
      switch (rng.Below(9)) {
        case 0: case 1: *out += "\x8b\x45"; out->push_back(static_cast<char>(-4 * (1 + rng.Below(8)))); break;
        case 2: *out += "\x89\x4d"; out->push_back(static_cast<char>(-4 * (1 + rng.Below(8)))); break;
        case 3: *out += '\xe8'; Put32(out, static_cast<std::uint32_t>(-static_cast<int>(rng.Below(65536)))); break;
        case 4: *out += "\x83\xf8"; out->push_back(static_cast<char>(rng.Below(16))); break;
        case 5: out->push_back(rng.Below(2) ? '\x74' : '\x75'); out->push_back(static_cast<char>(rng.Below(48))); break;
        case 6: *out += '\x68'; Put32(out, 0x00410000u + 4u * static_cast<std::uint32_t>(rng.Below(4096))); break;
        case 7: *out += std::string("\x33\xc0\x33\xdb\x33\xc9", 6).substr(2 * rng.Below(3), 2); break;
        default: *out += '\xb8'; Put32(out, static_cast<std::uint32_t>(rng.Next())); break;
      }
    }
    *out += "\x8b\xe5\x5d\xc3";
    while (out->size() % 16 != 0) *out += '\xcc';
  }
}

void Records(Rng& rng, const std::vector<std::string>& words, std::size_t size, std::string* out) {
  const std::size_t end = out->size() + size;
  std::uint32_t id = static_cast<std::uint32_t>(rng.Below(1000));
  while (out->size() < end) {
    Put32(out, id++);
    Put32(out, static_cast<std::uint32_t>(rng.Below(100)));
    Put32(out, rng.Below(4) == 0 ? 0xFFFFFFFFu : 0x00420000u + 16u * id);
    std::string name = words[rng.Zipf(words.size())];
    name.resize(20, '\0');
    *out += name;
  }
}

void Utf16Strings(Rng& rng, const std::vector<std::string>& words, std::size_t size, std::string* out) {
  const std::size_t end = out->size() + size;
  while (out->size() < end) {
    for (std::size_t n = 2 + rng.Below(8); n > 0; --n) {
      for (char c : words[rng.Zipf(words.size())] + " ") {
        out->push_back(c);
        out->push_back('\0');
      }
    }
    *out += std::string(2, '\0');
  }
}

void Bitmap(Rng& rng, std::size_t size, std::string* out) {
  const std::size_t width = 64 << rng.Below(3);
  const std::size_t end = out->size() + size;
  for (std::size_t y = 0; out->size() < end; ++y) {
    unsigned char colour = static_cast<unsigned char>(rng.Below(256));
    for (std::size_t x = 0; x < width;) {
      for (std::size_t run = 1 + rng.Below(12); run > 0 && x < width; --run, ++x) {
        out->push_back(static_cast<char>(colour + (x + y) / 32));
      }
      if (rng.Below(3) == 0) colour = static_cast<unsigned char>(rng.Below(256));
    }
  }
}

void Packed(Rng& rng, std::size_t size, std::string* out) {
  for (std::size_t i = 0; i < size; ++i) out->push_back(static_cast<char>(rng.Next() >> 56));
}

}  // namespace

std::string MixedCorpus(std::size_t size) {
  Rng rng(0x566F726E);
  const std::vector<std::string> words = Vocabulary(rng);
  std::string out;
  out.reserve(size + 300 * 1024);
  while (out.size() < size) {
    const std::size_t segment = (16 + rng.Below(241)) * 1024;
    const std::size_t kind = rng.Below(100);
    if (kind < 40) {
      Prose(rng, words, segment, &out);
    } else if (kind < 65) {
      MachineCode(rng, segment, &out);
    } else if (kind < 78) {
      Records(rng, words, segment, &out);
    } else if (kind < 84) {
      Utf16Strings(rng, words, segment, &out);
    } else if (kind < 90) {
      Bitmap(rng, segment, &out);
    } else if (kind < 92) {
      out.append(segment / 4, '\0');
    } else {
      Packed(rng, segment, &out);
    }
  }
  out.resize(size);
  // A stream cannot end in a partial signature: keep the last byte neutral.
  out.back() = '\n';
  return out;
}

}  // namespace vorn::bench
