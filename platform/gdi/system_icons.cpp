// The system's own icons, those of message boxes and the default application icon:
// 32 x 32 pictures in the sixteen colours of the classic palette, drawn as text.
#include "platform/api/user.h"
#include "platform/gdi/icon.h"

namespace vorn::gdi {
namespace {

// '.' is transparent; every other letter is one colour of the palette.
struct PaletteEntry {
  char letter;
  std::uint32_t pixel;
};
constexpr PaletteEntry kPalette[] = {
    {'K', 0x000000}, {'r', 0x800000}, {'g', 0x808080}, {'l', 0xC0C0C0}, {'R', 0xFF0000},
    {'Y', 0xFFFF00}, {'b', 0x000080}, {'B', 0x0000FF}, {'W', 0xFFFFFF},
};

using Picture = const char* const[kIconSize];

// IDI_HAND: a red disc with a white cross.
Picture kHand = {
    "................................",
    "................................",
    "..........rrrrrrrrrr............",
    "........rrRRRRRRRRRRrr..........",
    ".......rRRRRRRRRRRRRRRr.........",
    ".....rrRRRRRRRRRRRRRRRRrr.......",
    ".....rRRRRRRRRRRRRRRRRRRr.......",
    "....rRRRRRRRRRRRRRRRRRRRRrg.....",
    "...rRRRRRWWRRRRRRRRWWRRRRRr.....",
    "...rRRRRWWWWRRRRRRWWWWRRRRrg....",
    "..rRRRRRWWWWWRRRRWWWWWRRRRRrg...",
    "..rRRRRRRWWWWWRRWWWWWRRRRRRrg...",
    "..rRRRRRRRWWWWWWWWWWRRRRRRRrgg..",
    "..rRRRRRRRRWWWWWWWWRRRRRRRRrgg..",
    "..rRRRRRRRRRWWWWWWRRRRRRRRRrgg..",
    "..rRRRRRRRRRWWWWWWRRRRRRRRRrgg..",
    "..rRRRRRRRRWWWWWWWWRRRRRRRRrgg..",
    "..rRRRRRRRWWWWWWWWWWRRRRRRRrgg..",
    "..rRRRRRRWWWWWRRWWWWWRRRRRRrgg..",
    "..rRRRRRWWWWWRRRRWWWWWRRRRRrgg..",
    "...rRRRRWWWWRRRRRRWWWWRRRRrggg..",
    "...rRRRRRWWRRRRRRRRWWRRRRRrggg..",
    "....rRRRRRRRRRRRRRRRRRRRRrggg...",
    ".....rRRRRRRRRRRRRRRRRRRrgggg...",
    ".....rrRRRRRRRRRRRRRRRRrrggg....",
    ".......rRRRRRRRRRRRRRRrgggg.....",
    ".......grrRRRRRRRRRRrrggggg.....",
    ".........grrrrrrrrrrggggg.......",
    "..........gggggggggggggg........",
    "............gggggggggg..........",
    "................................",
    "................................",
};

// IDI_QUESTION: a blue question mark in a speech bubble.
Picture kQuestion = {
    "................................",
    ".........KKKKKKKKKKKK...........",
    ".......KKWWWWWWWWWWWWKK.........",
    "......KWWWWWWWWWWWWWWWWK........",
    "....KKWWWWWWBBBBBBWWWWWWKK......",
    "...KKWWWWWWBBBBBBBBWWWWWWKK.....",
    "...KWWWWWWBBBWWWWBBBWWWWWWKg....",
    "..KWWWWWWWBBBWWWWBBBWWWWWWWKg...",
    "..KWWWWWWWWWWWWWWBBBWWWWWWWKg...",
    ".KWWWWWWWWWWWWWWBBBWWWWWWWWWKg..",
    ".KWWWWWWWWWWWWWBBBWWWWWWWWWWKg..",
    ".KWWWWWWWWWWWWBBBWWWWWWWWWWWKgg.",
    ".KWWWWWWWWWWWWBBBWWWWWWWWWWWKgg.",
    ".KWWWWWWWWWWWWBBBWWWWWWWWWWWKgg.",
    ".KWWWWWWWWWWWWWWWWWWWWWWWWWWKgg.",
    "..KWWWWWWWWWWWBBBWWWWWWWWWWKggg.",
    "..KWWWWWWWWWWWBBBWWWWWWWWWWKggg.",
    "...KWWWWWWWWWWBBBWWWWWWWWWKggg..",
    "...KKWWWWWWWWWWWWWWWWWWWWKKggg..",
    "....KKWWWWWWWWWWWWWWWWWWKKggg...",
    ".....gKWWWWWWWWWWWWWWWWKggggg...",
    "......gKKWWWWWWWWWWWWKKggggg....",
    "........KWWWWKKKKKKKKggggg......",
    ".......KWWWKgggggggggggggg......",
    ".......KWWKggggggggggggg........",
    "......KWWKgg....................",
    "......KWKgg.....................",
    "......KKgg......................",
    ".......g........................",
    "................................",
    "................................",
    "................................",
};

// IDI_EXCLAMATION: a black exclamation mark on a yellow triangle.
Picture kExclamation = {
    "................................",
    "...............K................",
    "...............K................",
    "..............KYK...............",
    "..............KYKg..............",
    ".............KYYYK..............",
    ".............KYYYKg.............",
    "............KYYYYYK.............",
    "...........KKYYYYYKK............",
    "...........KYYYYYYYK............",
    "..........KKYYKKKYYKK...........",
    "..........KYYYKKKYYYK...........",
    ".........KKYYYKKKYYYKK..........",
    ".........KYYYYKKKYYYYK..........",
    "........KKYYYYKKKYYYYKK.........",
    "........KYYYYYKKKYYYYYK.........",
    ".......KKYYYYYKKKYYYYYKK........",
    ".......KYYYYYYKKKYYYYYYKg.......",
    "......KKYYYYYYKKKYYYYYYKK.......",
    "......KYYYYYYYKKKYYYYYYYKg......",
    ".....KKYYYYYYYYYYYYYYYYYKK......",
    "....KKYYYYYYYYYYYYYYYYYYYKK.....",
    "....KYYYYYYYYYKKKYYYYYYYYYK.....",
    "...KKYYYYYYYYYKKKYYYYYYYYYKK....",
    "...KYYYYYYYYYYKKKYYYYYYYYYYK....",
    "..KKYYYYYYYYYYYYYYYYYYYYYYYKK...",
    "..KYYYYYYYYYYYYYYYYYYYYYYYYYK...",
    ".KKKKKKKKKKKKKKKKKKKKKKKKKKKKK..",
    "....gggggggggggggggggggggggggg..",
    "...gggggggggggggggggggggggggggg.",
    "................................",
    "................................",
};

// IDI_ASTERISK: a blue letter i in a speech bubble.
Picture kInformation = {
    "................................",
    ".........KKKKKKKKKKKK...........",
    ".......KKWWWWWWWWWWWWKK.........",
    "......KWWWWWWWWWWWWWWWWK........",
    "....KKWWWWWWWWBBBWWWWWWWKK......",
    "...KKWWWWWWWWWBBBWWWWWWWWKK.....",
    "...KWWWWWWWWWWBBBWWWWWWWWWKg....",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWKg...",
    "..KWWWWWWWWWBBBBBWWWWWWWWWWKg...",
    ".KWWWWWWWWWWWWBBBWWWWWWWWWWWKg..",
    ".KWWWWWWWWWWWWBBBWWWWWWWWWWWKg..",
    ".KWWWWWWWWWWWWBBBWWWWWWWWWWWKgg.",
    ".KWWWWWWWWWWWWBBBWWWWWWWWWWWKgg.",
    ".KWWWWWWWWWWWWBBBWWWWWWWWWWWKgg.",
    ".KWWWWWWWWWWWWBBBWWWWWWWWWWWKgg.",
    "..KWWWWWWWWWBBBBBBBWWWWWWWWKggg.",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWKggg.",
    "...KWWWWWWWWWWWWWWWWWWWWWWKggg..",
    "...KKWWWWWWWWWWWWWWWWWWWWKKggg..",
    "....KKWWWWWWWWWWWWWWWWWWKKggg...",
    ".....gKWWWWWWWWWWWWWWWWKggggg...",
    "......gKKWWWWWWWWWWWWKKggggg....",
    "........KWWWWKKKKKKKKggggg......",
    ".......KWWWKgggggggggggggg......",
    ".......KWWKggggggggggggg........",
    "......KWWKgg....................",
    "......KWKgg.....................",
    "......KKgg......................",
    ".......g........................",
    "................................",
    "................................",
    "................................",
};

// IDI_APPLICATION: a plain window.
Picture kApplication = {
    "................................",
    "................................",
    "................................",
    "................................",
    "..KKKKKKKKKKKKKKKKKKKKKKKKKKKK..",
    "..KbbbbbbbbbbbbbbbbbbbbbbbbbbKg.",
    "..KbbbbbbbbbbbbbbbbbbbbbbbbbbKg.",
    "..KbbbbbbbbbbbbbbbbbbbbbbbbbbKg.",
    "..KbbbbbbbbbbbbbbbbbbbbbbbbbbKg.",
    "..KKKKKKKKKKKKKKKKKKKKKKKKKKKKg.",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWWWKg.",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWWWKg.",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWWWKg.",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWWWKg.",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWWWKg.",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWWWKg.",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWWWKg.",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWWWKg.",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWWWKg.",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWWWKg.",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWWWKg.",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWWWKg.",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWWWKg.",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWWWKg.",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWWWKg.",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWWWKg.",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWWWKg.",
    "..KKKKKKKKKKKKKKKKKKKKKKKKKKKKg.",
    "...gggggggggggggggggggggggggggg.",
    "................................",
    "................................",
    "................................",
};

IconImage FromPicture(Picture picture) {
  IconImage image;
  image.width = kIconSize;
  image.height = kIconSize;
  image.colours.assign(kIconSize * kIconSize, 0);
  image.mask.assign(kIconSize * kIconSize, 1);
  for (int y = 0; y < kIconSize; ++y) {
    for (int x = 0; x < kIconSize; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * kIconSize + x;
      for (const PaletteEntry& entry : kPalette) {
        if (picture[y][x] == entry.letter) {
          image.colours[i] = entry.pixel;
          image.mask[i] = 0;
        }
      }
    }
  }
  return image;
}

}  // namespace

HICON LoadSystemIcon(LPCSTR name) {
  struct SystemIcon {
    LPCSTR name;
    const Picture* picture;
    HICON handle;
  };
  static SystemIcon icons[] = {
      {IDI_HAND, &kHand, nullptr},
      {IDI_QUESTION, &kQuestion, nullptr},
      {IDI_EXCLAMATION, &kExclamation, nullptr},
      {IDI_ASTERISK, &kInformation, nullptr},
      {IDI_APPLICATION, &kApplication, nullptr},
  };
  if (!IS_INTRESOURCE(name)) return nullptr;
  for (SystemIcon& icon : icons) {
    if (icon.name != name) continue;
    if (icon.handle == nullptr) icon.handle = CreateIconFromImage(FromPicture(*icon.picture), true);
    return icon.handle;
  }
  return nullptr;
}

}  // namespace vorn::gdi
