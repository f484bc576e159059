#include "screen/information_box.h"

#include "screen/text_screen.h"
#include "screen/text_window.h"
#include "screen/write_text.h"

#include <algorithm>
#include <array>

namespace lumora {
namespace {

constexpr int kBoxRow = 3;
constexpr int kBoxRows = 10;
constexpr int kBoxColumns = 42;
constexpr int kContactFirstRow = 3;
constexpr int kNoticeFirstRow = 9;

constexpr std::array<TextPair, 5> kContactLines{{
    {"Keyboard-driven 2D drafting program"_l1, "Näppäimistöllä ohjattava 2D-piirto"_l1},
    {"Licence: GPL-3.0-or-later"_l1, "Lisenssi: GPL-3.0-or-later"_l1},
    {"Stroke fonts: the Hershey fonts"_l1, "Piirtofontit: Hershey-fontit"_l1},
    {"Screen glyphs: the X11 fixed font"_l1, "Näyttömerkit: X11:n fixed-fontti"_l1},
    {"Read README.md for more"_l1, "Lisätietoja: README.md"_l1},
}};

constexpr std::array<TextPair, 2> kCommentLines{{
    {"^NOTICE:^ Please, comment on program, so I"_l1,
     "^HUOM:^   Kommentoi ohjelmaa, jotta pystyi-"_l1},
    {"        can futher develope it!"_l1, "        sin jatkokehittämään sitä!"_l1},
}};

} // namespace

bool OpenInformationBox(TextScreen& screen) {
  const int column = std::max(screen.columns - kBoxColumns, 1);
  if (!OpenWindow(screen, kBoxRow, column, kBoxRows, kBoxColumns)) return false;
  WriteInformationBox(screen);
  return true;
}

void WriteInformationBox(TextScreen& screen) {
  const int column = std::max(screen.columns - kBoxColumns, 1);
  auto line = [&](int row, const TextPair& text) {
    WriteText(screen, kBoxRow + row - 1, column, kBoxColumns, Tr(screen, text), kStyleNormal);
  };
  line(1, kVersionLine);
  for (std::size_t i = 0; i < kContactLines.size(); ++i) {
    line(kContactFirstRow + static_cast<int>(i), kContactLines[i]);
  }
  for (std::size_t i = 0; i < kCommentLines.size(); ++i) {
    line(kNoticeFirstRow + static_cast<int>(i), kCommentLines[i]);
  }
}

int InformationBoxKey(TextScreen& screen, int rawKey) {
  if (rawKey == 0) return kStillRunning;
  CloseWindow(screen);
  return 0;
}

} // namespace lumora
