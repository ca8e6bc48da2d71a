// The installer's signature matcher: it compares byte by byte and, on a mismatch,
// restarts at the next byte without comparing the mismatching one again. Whatever
// must not cut the payload at a false boundary is checked against this matcher.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vorn::szdd {

constexpr unsigned char kSignature[4] = {0x53, 0x5A, 0x44, 0x44};  // "SZDD"
constexpr int kSignatureMatched = 4;

// The number of signature bytes matched after one more byte; kSignatureMatched
// when the byte completes a signature (the matcher then starts again from 0).
constexpr int NextMatchState(int state, unsigned char byte) { return byte == kSignature[state] ? state + 1 : 0; }

// Offsets at which the matcher, started at offset 0 in state 0, completes a
// signature: the offset of each signature's first byte.
std::vector<std::uint64_t> FindSignatures(const unsigned char* bytes, std::size_t size);

}  // namespace vorn::szdd
