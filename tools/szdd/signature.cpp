// The installer's signature matcher over a whole buffer.
#include "tools/szdd/signature.h"

namespace vorn::szdd {

std::vector<std::uint64_t> FindSignatures(const unsigned char* bytes, std::size_t size) {
  std::vector<std::uint64_t> starts;
  int state = 0;
  for (std::size_t i = 0; i < size; ++i) {
    state = NextMatchState(state, bytes[i]);
    if (state == kSignatureMatched) {
      starts.push_back(i + 1 - sizeof kSignature);
      state = 0;
    }
  }
  return starts;
}

}  // namespace vorn::szdd
