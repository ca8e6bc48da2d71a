// A mixed corpus for the SZDD benchmarks, the same bytes on every run: prose,
// machine code, record tables, UTF-16 strings, bitmaps, padding and packed data.
#pragma once

#include <cstddef>
#include <string>

namespace vorn::bench {

std::string MixedCorpus(std::size_t size);

}  // namespace vorn::bench
