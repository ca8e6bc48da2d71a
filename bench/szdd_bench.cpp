// Speed and size of our SZDD encoder and expander on a mixed corpus, side by side
// with mscompress and msexpand (run as programs, where installed) and libmspack's
// expander (where found at build time). Prints a table and the targets:
// compressed size at most 95% of mscompress's, encoding at least 10 times faster
// than mscompress, expansion at least 5 times faster than libmspack's.
//
// usage: szdd_bench [MiB]   (default 64)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#if VORN_HAVE_LIBMSPACK
#include <mspack.h>
#endif

#include "bench/corpus.h"
#include "platform/lz/memory_io.h"
#include "tools/szdd/encoder.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// The fastest of a few runs.
double Best(int runs, const std::function<void()>& run) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    run();
    best = std::min(best, Seconds(start));
  }
  return best;
}


struct ChildTimes {
  bool ran = false;
  double wall = 0;
  double user = 0;
  double system = 0;
};

// Runs a shell command and measures it, its own processor time included.
ChildTimes RunTimed(const std::string& command) {
  ChildTimes times;
  const auto start = Clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  struct rusage usage {};
  if (pid < 0 || ::wait4(pid, &status, 0, &usage) < 0) return times;
  times.wall = Seconds(start);
  times.ran = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  times.user = static_cast<double>(usage.ru_utime.tv_sec) + static_cast<double>(usage.ru_utime.tv_usec) / 1e6;
  times.system = static_cast<double>(usage.ru_stime.tv_sec) + static_cast<double>(usage.ru_stime.tv_usec) / 1e6;
  return times;
}

bool OnPath(const char* program) {
  return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

#if VORN_HAVE_LIBMSPACK
// libmspack's I/O from memory, so that its expansion is timed like ours: the file
// named "in" reads the stream, any other name writes to the output.
struct MemoryFile {
  const std::string* input;
  std::string* output;
  std::size_t pos;
};
struct MemorySystem {
  mspack_system sys;
  const std::string* input;
  std::string* output;
};

mspack_file* MemoryOpen(mspack_system* self, const char* name, int) {
  auto* system = reinterpret_cast<MemorySystem*>(self);
  const bool reading = std::strcmp(name, "in") == 0;
  return reinterpret_cast<mspack_file*>(
      new MemoryFile{reading ? system->input : nullptr, reading ? nullptr : system->output, 0});
}
void MemoryClose(mspack_file* file) { delete reinterpret_cast<MemoryFile*>(file); }
int MemoryRead(mspack_file* file, void* buffer, int bytes) {
  auto* f = reinterpret_cast<MemoryFile*>(file);
  const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(bytes), f->input->size() - f->pos);
  std::memcpy(buffer, f->input->data() + f->pos, n);
  f->pos += n;
  return static_cast<int>(n);
}
int MemoryWrite(mspack_file* file, void* buffer, int bytes) {
  reinterpret_cast<MemoryFile*>(file)->output->append(static_cast<const char*>(buffer), static_cast<std::size_t>(bytes));
  return bytes;
}
int MemorySeek(mspack_file* file, off_t offset, int mode) {
  auto* f = reinterpret_cast<MemoryFile*>(file);
  const off_t size = static_cast<off_t>(f->input != nullptr ? f->input->size() : f->output->size());
  const off_t base = mode == MSPACK_SYS_SEEK_START ? 0 : mode == MSPACK_SYS_SEEK_CUR ? static_cast<off_t>(f->pos) : size;
  if (base + offset < 0 || base + offset > size) return 1;
  f->pos = static_cast<std::size_t>(base + offset);
  return 0;
}
off_t MemoryTell(mspack_file* file) { return static_cast<off_t>(reinterpret_cast<MemoryFile*>(file)->pos); }
void MemoryMessage(mspack_file*, const char*, ...) {}
void* MemoryAlloc(mspack_system*, size_t bytes) { return std::malloc(bytes); }
void MemoryFree(void* p) { std::free(p); }
void MemoryCopy(void* src, void* dest, size_t bytes) { std::memmove(dest, src, bytes); }
#endif

void Row(const char* what, const std::string& size, double seconds, std::size_t bytes, const std::string& note) {
  std::printf("%-22s %14s %10.3f %10.1f   %s\n", what, size.c_str(), seconds, static_cast<double>(bytes) / seconds / 1e6,
              note.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t mib = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 64;
  const std::string corpus = vorn::bench::MixedCorpus(mib << 20);
  std::printf("mixed corpus: %zu bytes (prose, machine code, records, UTF-16, bitmaps, zeros, packed)\n\n", corpus.size());
  std::printf("%-22s %14s %10s %10s\n", "", "bytes", "seconds", "MB/s");

  vorn::szdd::EncodeResult ours;
  const double encodeTime = Best(2, [&] {
    ours = vorn::szdd::Encode("corpus", reinterpret_cast<const unsigned char*>(corpus.data()), corpus.size());
  });
  if (!ours.ok()) {
    std::fprintf(stderr, "encoder: %s\n", ours.error.c_str());
    return 1;
  }
  const std::string stream(ours.stream.begin(), ours.stream.end());
  Row("vorn encoder", std::to_string(stream.size()), encodeTime, corpus.size(),
      std::to_string(100.0 * static_cast<double>(stream.size()) / static_cast<double>(corpus.size())).substr(0, 5) +
          "% of the input");

  std::string expanded;
  const std::string_view data = std::string_view(stream).substr(vorn::lz::kHeaderSize);
  const double expandTime = Best(5, [&] {
    vorn::lz::MemoryIo io(data);
    io.output.reserve(corpus.size());
    vorn::lz::ExpandModeA(io, static_cast<std::uint32_t>(corpus.size()), nullptr);
    expanded = std::move(io.output);
  });
  Row("vorn expander", "", expandTime, corpus.size(), expanded == corpus ? "output checked" : "OUTPUT DIFFERS");

  double libmspackTime = 0;
#if VORN_HAVE_LIBMSPACK
  {
    std::string out;
    MemorySystem system{{MemoryOpen, MemoryClose, MemoryRead, MemoryWrite, MemorySeek, MemoryTell, MemoryMessage,
                         MemoryAlloc, MemoryFree, MemoryCopy, nullptr},
                        &stream,
                        &out};
    msszdd_decompressor* decompressor = mspack_create_szdd_decompressor(&system.sys);
    libmspackTime = Best(5, [&] {
      out.clear();
      out.reserve(corpus.size());
      decompressor->decompress(decompressor, "in", "out");
    });
    mspack_destroy_szdd_decompressor(decompressor);
    Row("libmspack expander", "", libmspackTime, corpus.size(), out == corpus ? "output checked" : "OUTPUT DIFFERS");
  }
#else
  std::printf("%-22s not found when this was built (Debian package libmspack-dev)\n", "libmspack expander");
#endif

  ChildTimes mscompress;
  std::size_t mscompressSize = 0;
  char dir[] = "/tmp/vorn-szdd-bench-XXXXXX";
  if (OnPath("mscompress") && ::mkdtemp(dir) != nullptr) {
    const std::string path = std::string(dir) + "/corpus";
    std::ofstream(path, std::ios::binary) << corpus;
    mscompress = RunTimed("mscompress '" + path + "'");
    const std::string theirs = ReadFile(path + "_");
    mscompressSize = theirs.size();
    Row("mscompress", std::to_string(mscompressSize), mscompress.wall, corpus.size(),
        "processor " + std::to_string(mscompress.user).substr(0, 5) + " s user + " +
            std::to_string(mscompress.system).substr(0, 5) + " s system");
    std::ofstream(path + ".vorn", std::ios::binary) << stream;
    const ChildTimes msexpand = RunTimed("msexpand < '" + path + ".vorn' > '" + path + ".out'");
    Row("msexpand (our stream)", "", msexpand.wall, corpus.size(),
        ReadFile(path + ".out") == corpus ? "output checked" : "OUTPUT DIFFERS");
    std::system(("rm -rf '" + std::string(dir) + "'").c_str());
  } else {
    std::printf("%-22s not installed (Debian package mscompress)\n", "mscompress");
  }

  std::printf("\ntargets\n");
  if (mscompress.ran && mscompressSize > 0) {
    std::printf("  size:      ours is %.1f%% of mscompress's (target at most 95%%)\n",
                100.0 * static_cast<double>(stream.size()) / static_cast<double>(mscompressSize));
    std::printf("  encoding:  %.1fx mscompress's time, %.1fx its processor time, %.1fx its user time (target 10x)\n",
                mscompress.wall / encodeTime, (mscompress.user + mscompress.system) / encodeTime,
                mscompress.user / encodeTime);
  }
  if (libmspackTime > 0) {
    std::printf("  expansion: %.1fx libmspack's speed (target 5x)\n", libmspackTime / expandTime);
  }
  return 0;
}
