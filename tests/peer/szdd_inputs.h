// The table of inputs that the encoder's unit and peer tests share: sizes around
// the group and window boundaries, and data that puts the signature in the way.
#pragma once

#include <string>
#include <vector>

namespace vorn::testing {

struct SzddInput {
  const char* name;
  std::string data;
};

std::vector<SzddInput> SzddInputs();

// Bytes from a fixed seed, over `alphabet` when one is given.
std::string RandomBytes(std::size_t size, unsigned seed, const std::string& alphabet = "");

}  // namespace vorn::testing
