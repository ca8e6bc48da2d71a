// A stand-in installer head for the test of the build's image rule: a small
// program that carries the checksum record, as the installer does, and prints the
// value stamped into it.
#include <cstdio>

#include "engine/payload.h"

int main() {
  std::printf("%u\n", static_cast<unsigned>(checksumStamp.value));
  return 0;
}
