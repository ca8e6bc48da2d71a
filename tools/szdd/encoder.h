// The SZDD encoder (mode "A") of the image builder: optimal parse, and a stream
// in which the installer's scanner finds the signature only at its start.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vorn::szdd {

struct EncodeResult {
  std::vector<unsigned char> stream;  // header and data; empty on error
  std::string error;                  // names the file and the offset; empty on success
  bool ok() const { return error.empty(); }
};

// Encodes `size` bytes as one stream. Its bytes after the header never complete the
// signature "SZDD" under the installer's matcher, and they leave the matcher at 0 at
// the end, so the next stream's signature is recognised. Where no encoding can do
// that, the result is an error naming `name` and the offset in the data. The
// output depends on the data alone.
EncodeResult Encode(const std::string& name, const unsigned char* data, std::size_t size);

}  // namespace vorn::szdd
