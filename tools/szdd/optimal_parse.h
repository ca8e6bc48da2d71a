// The cheapest parse of the data into literals and back references, when a literal
// costs 9 bits and a back reference 17 (its flag in the control byte included).
#pragma once

#include <vector>

#include "tools/szdd/format.h"

namespace vorn::szdd {

// The parse of the whole text. It is optimal within blocks of 256 KiB, each of which
// ends at an item boundary; that costs a few bits per block at most.
std::vector<Item> OptimalParse(const Text& text);

constexpr unsigned kLiteralBits = 9;
constexpr unsigned kMatchBits = 17;

}  // namespace vorn::szdd
