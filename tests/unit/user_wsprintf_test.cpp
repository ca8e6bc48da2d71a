// wsprintfA: the formats the window system's printf knows, and its 1024-byte limit.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32.h"

namespace {

TEST(Wsprintf, FormatsLikeTheWindowSystem) {
  char buffer[1100];
  struct Case {
    std::string got;
    const char* expected;
  };
  auto f = [&buffer](auto... args) {
    wsprintfA(buffer, args...);
    return std::string(buffer);
  };
  const Case cases[] = {
      {f("%d%%", 42), "42%"},
      {f("%i|%d", -7, 0), "-7|0"},
      {f("%u", 4294967295u), "4294967295"},
      {f("%x %X %#x", 255, 255, 255), "ff FF 0xff"},
      {f("%ld %lu", -2L, 3UL), "-2 3"},
      {f("[%5d][%-5d][%05d]", 42, 42, -42), "[   42][42   ][-0042]"},
      {f("%s%s", "vorn", ".exe"), "vorn.exe"},
      {f("[%8s][%-8s]", "ab", "ab"), "[      ab][ab      ]"},
      {f("%c%c", 'o', 'k'), "ok"},
      {f("%.3s", "abcdef"), "abc"},
      {f("Vorn Installation Error [5] [%s]", "LZERROR_READ"), "Vorn Installation Error [5] [LZERROR_READ]"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.expected);
}

TEST(Wsprintf, WritesAtMost1023CharactersAndTheTerminator) {
  const std::string longText(2000, 'x');
  char buffer[1100];
  EXPECT_EQ(wsprintfA(buffer, "%s", longText.c_str()), 1023);
  EXPECT_EQ(std::string(buffer), longText.substr(0, 1023));
}

}  // namespace
