// Inputs for the encoder's tests.
#include "tests/peer/szdd_inputs.h"

#include <random>

#include "tools/szdd/encoder.h"
#include "tools/szdd/format.h"

namespace vorn::testing {

std::string RandomBytes(std::size_t size, unsigned seed, const std::string& alphabet) {
  std::mt19937 rng(seed);
  std::string out(size, '\0');
  for (char& c : out) c = alphabet.empty() ? static_cast<char>(rng()) : alphabet[rng() % alphabet.size()];
  return out;
}

std::vector<SzddInput> SzddInputs() {
  std::string szddText;
  const char* ways[] = {"SZDD", " SZDD ", "SZDDSZDD", "S ZDD", "SZ DD", "SZD D", "SSZDD", "SZDDD", "xSZDDx", "\"SZDD\"\n"};
  for (int i = 0; i < 400; ++i) szddText += std::string("word") + std::to_string(i % 37) + ways[i % 10];

  // The compressed data alone: a whole stream would start with the signature.
  const std::string text = RandomBytes(20000, 7, "the quick brown fox SZDD jumps\n");
  const szdd::EncodeResult encoded = szdd::Encode("text", reinterpret_cast<const unsigned char*>(text.data()), text.size());
  const std::string compressed(encoded.stream.begin() + szdd::kHeaderSize, encoded.stream.end());

  // "SZDD" more than a window apart, so that only literals can give it, and a
  // repeated phrase before each, whose parse can move the group boundaries.
  std::string spread;
  for (unsigned i = 0; i < 8; ++i) {
    spread += RandomBytes(4200 + 13 * i, 100 + i) + "the quick fox the quick fox the quick fox " +
              RandomBytes(30 + i, 200 + i) + "SZDD" + RandomBytes(20, 300 + i);
  }

  return {
      {"empty", ""},
      {"one byte", "x"},
      {"15 bytes", "abcdefghijklmno"},
      {"16 bytes", "abcdefghabcdefgh"},
      {"4096 bytes", RandomBytes(4096, 1, "abcdefgh \n")},
      {"4097 bytes", RandomBytes(4097, 2, "abcdefgh \n")},
      {"text with SZDD many ways", szddText},
      {"random bytes", RandomBytes(100000, 3)},
      {"already compressed", compressed + "."},
      {"long runs of spaces", std::string(5000, ' ') + "x" + std::string(70, ' ') + "y"},
      {"from the S, Z and D alone", RandomBytes(30000, 4, "SZD") + "x"},
      {"signatures only literals can give", spread + "."},
      // The cheapest parse ends in a literal 'S'; a dearer one ends in a back reference.
      {"last S from a back reference", "qrstuvwxyz--yzS--qrstuvwxyzS"},
  };
}

}  // namespace vorn::testing
