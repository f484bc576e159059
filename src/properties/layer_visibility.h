// Alt+F10: the checklist of the layers, each shown or hidden with Enter. The drawing is drawn
// anew once when the list closes, and only when a layer's visibility changed.
#pragma once

#include "protocol/command.h"

#include <array>
#include <cstdint>

namespace lumora {

inline constexpr TextPair kLayersTitle{"Setting visibility of layers: "_l1,
                                       "Tasojen näkyvyys: "_l1};
inline constexpr TextPair kLayersPrompt{"^CHANGE VISIBILITY OF LAYERS ! "_l1,
                                        "^MUUTA TASOJEN NÄKYVYYTTÄ ! "_l1};

class LayerVisibility final : public Command {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Continue(Control& control, const CommandRow& row) override;

private:
  void Move(Control& control, int by);
  void Draw(Control& control) const;
  void DrawRow(Control& control, int item) const;
  int Close(Control& control, const CommandRow& row, bool cue);

  std::array<std::uint32_t, 128> kept_{};
  int count_ = 0;   // layer rows of the setup
  int rows_ = 0;    // rows shown
  int columns_ = 0; // cursor cell and the longest name
  int cursor_ = 0;  // the row's item under the cursor
  int first_ = 0;   // the first item shown
  bool windowOpen_ = false;
};

} // namespace lumora
