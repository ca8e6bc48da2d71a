// Installer images for tests: a head of arbitrary bytes, then streams framed as SZDD
// with a plain literal-only coding, and the sum the scanner will compute over them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorn::testing {

// One SZDD stream of mode "A" whose data is stored as literals (a control byte of
// all ones before each eight bytes). The data must not itself contain the signature.
std::string LiteralStream(const std::string& data);
// The same, with another mode byte, or a declared length that differs from the data.
std::string LiteralStream(const std::string& data, unsigned char mode, std::uint32_t declaredLength);

struct TestImage {
  std::string head = std::string(64, 'h');
  std::vector<std::string> chunks;  // each a stream followed by its fill

  std::string Bytes() const;
  // The integrity sum of Bytes(), as the scanner computes it.
  std::int32_t Sum() const;
};

// The integrity sum of an image: every byte after the first signature.
std::int32_t ImageSum(const std::string& image);
// The signature, assembled at run time like the program does.
std::string Signature();

}  // namespace vorn::testing
