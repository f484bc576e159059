// Gathering a set of elements into a selection group: by areas (the elements wholly inside a
// rectangle) and by single picks that add or remove one element. Saving a part uses it; the
// commands that stretch and copy an area gather their sets the same way.
#pragma once

#include "geometry/point.h"
#include "util/text_pair.h"

#include <array>
#include <optional>

namespace lumora {

struct Control;
struct PartElement;

inline constexpr TextPair kEnterArea{"^ENTER AREA ! "_l1, "^OSOITA ALUE ! "_l1};
inline constexpr TextPair kShowArea{"^SHOW AREA ! "_l1, "^NÄYTÄ ALUE ! "_l1};
inline constexpr TextPair kShowElement{"^SHOW ELEMENT TO BE ADDED/REMOVED ! "_l1,
                                       "^NÄYTÄ LISÄTTÄVÄ/POISTETTAVA ALKIO ! "_l1};
inline constexpr TextPair kSelectionCornersSame{"Same point not allowed !"_l1,
                                                "Ei sallita samaa pistettä !"_l1};
inline constexpr TextPair kNoElements{"No elements !"_l1, "Ei alkioita !"_l1};
inline constexpr TextPair kNoElementFound{"No element found !"_l1, "Ei löydetty alkiota !"_l1};
inline constexpr TextPair kFillingOutside{"Filling outside area not allowed !"_l1,
                                          "Ei saa olla ulkopuolinen viivoitus !"_l1};
inline constexpr TextPair kFillingNotAllowed{"Filling not allowed !"_l1,
                                             "Ei saa olla viivoitus !"_l1};

// The rectangle of the rubber band's first corner and the cursor, its four corners in order;
// none (with the message given) when the two share an x or a y.
std::optional<std::array<Point, 4>> BandArea(Control& control, const TextPair& sameCorners);

// A new selection group of the elements wholly inside the area (or, not wholly, reaching into
// it), shown highlighted. kNone leaves no group behind; kNoRoom is a store that had no room.
enum class Gathered { kSome, kNone, kNoRoom };
Gathered GatherArea(Control& control, const std::array<Point, 4>& area, bool whollyInside,
                    PartElement*& group);

inline constexpr int kSelectionReady = 1;
inline constexpr int kSelectionLeft = 0;

class ElementSelection {
public:
  // Starts in area mode under the command's title; `again` asks to "show" the area.
  void Begin(Control& control, const TextPair& header, bool again = false);
  // A stretch set: an area takes every element reaching into it, and fillings are refused.
  void ForStretch() { stretch_ = true; }
  // Area mode again with the given first corner already set.
  void BeginAtCorner(Control& control, const TextPair& header, const Point& corner);
  // Pick mode on a set the caller hands back, with the area it was gathered by.
  void Resume(Control& control, const TextPair& header, PartElement* group,
              const std::array<Point, 4>& area, int areaCount);
  // One code: kStillRunning, kSelectionReady with a non-empty Group(), or kSelectionLeft
  // (Esc, or Backspace when the caller has a previous group to go back to).
  int Step(Control& control, bool previousGroup);

  PartElement* Group() const { return group_; }
  // The caller takes the group over (to dissolve or delete it).
  PartElement* TakeGroup();
  // The selection's group record is deleted; its elements stay, shown normally.
  void Dissolve(Control& control);
  // The area of the last area step (four corners), empty after picks only.
  int AreaCount() const { return areaCount_; }
  const std::array<Point, 4>& Area() const { return area_; }

private:
  enum class Mode { kArea, kPick };
  int AreaKey(Control& control, bool previousGroup);
  int PickKey(Control& control, bool previousGroup);
  int SecondCorner(Control& control);
  int Pick(Control& control);
  int Leave(Control& control, int result);
  void ToPickMode(Control& control);
  void RubberBand(Control& control, int points);
  template <class Element> void TakeOut(Control& control, Element* element);

  Mode mode_ = Mode::kArea;
  TextPair header_;
  PartElement* group_ = nullptr;
  std::array<Point, 4> area_{};
  int areaCount_ = 0;
  bool stretch_ = false;
};

} // namespace lumora
