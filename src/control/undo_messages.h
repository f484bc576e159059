// Messages of taking steps back and doing them again.
#pragma once

#include "model/store_journal.h"
#include "util/latin1.h"
#include "util/text_pair.h"

namespace lumora::undo_messages {

inline constexpr TextPair kNothingToUndo{"Nothing to be undone !"_l1, "Ei kumottavaa !"_l1};
inline constexpr TextPair kNothingToRedo{"Nothing to be redone !"_l1, "Ei uudelleen tehtävää !"_l1};
inline constexpr TextPair kUndone{"Undone: "_l1, "Kumottu: "_l1};
inline constexpr TextPair kRedone{"Redone: "_l1, "Tehty uudelleen: "_l1};

// What a step did, as the note after "Undone: " names it.
constexpr TextPair StepName(StepKind kind) {
  switch (kind) {
  case StepKind::kLine:
    return {"line"_l1, "viiva"_l1};
  case StepKind::kArc:
    return {"arc"_l1, "kaari"_l1};
  case StepKind::kCircle:
    return {"circle"_l1, "ympyrä"_l1};
  case StepKind::kText:
    return {"text"_l1, "teksti"_l1};
  case StepKind::kMeasure:
    return {"measure"_l1, "mitta"_l1};
  case StepKind::kFilling:
    return {"filling"_l1, "viivoitus"_l1};
  case StepKind::kPart:
    return {"part"_l1, "osa"_l1};
  case StepKind::kDelete:
    return {"delete"_l1, "poisto"_l1};
  case StepKind::kScale:
    return {"scale"_l1, "mittakaava"_l1};
  case StepKind::kCopy:
    return {"copy"_l1, "monistus"_l1};
  case StepKind::kMove:
    return {"move"_l1, "siirto"_l1};
  case StepKind::kStretch:
    return {"stretch"_l1, "venytys"_l1};
  case StepKind::kGrid:
    return {"grid"_l1, "askel"_l1};
  case StepKind::kPlotArea:
    return {"plotting area"_l1, "tulostusalue"_l1};
  case StepKind::kUpdateTexts:
    return {"update texts"_l1, "tekstien päivitys"_l1};
  case StepKind::kOverlaps:
    return {"overlapping lines"_l1, "päällekkäiset viivat"_l1};
  case StepKind::kDissolve:
    return {"part definitions"_l1, "osa-käsitteiden purku"_l1};
  case StepKind::kAddDrawing:
    return {"add drawing"_l1, "kuvan lisäys"_l1};
  case StepKind::kChange:
    break;
  }
  return {"change"_l1, "muutos"_l1};
}

} // namespace lumora::undo_messages
