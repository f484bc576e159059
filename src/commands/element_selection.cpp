#include "commands/element_selection.h"

#include "commands/file_commands.h"
#include "element_geometry/element_geometry.h"
#include "model/drawing.h"
#include "model/element_store.h"
#include "protocol/command_state.h"
#include "protocol/texts.h"
#include "protocol/window_services.h"
#include "sound/my_beep.h"
#include "util/overloaded.h"

#include <vector>

namespace lumora {
namespace {

constexpr std::uint32_t kClosedLine = 2;
constexpr std::uint32_t kAreaStyle = 3;
constexpr double kPickFactor = 1.0;

// The lines, fillings and texts of a part and of the parts it holds, at any depth.
struct Members {
  std::vector<LineElement*> lines;
  std::vector<FillingElement*> fillings;
  std::vector<TextElement*> texts;
};

void GatherMembers(PartElement* part, Members& members) {
  std::vector<PartElement*> pending{part};
  while (!pending.empty()) {
    PartElement* p = pending.back();
    pending.pop_back();
    if (p == nullptr) continue;
    for (LineNode* n : Each(p->lines)) members.lines.push_back(n->element);
    for (FillingNode* n : Each(p->fillings)) members.fillings.push_back(n->element);
    for (TextNode* n : Each(p->texts)) members.texts.push_back(n->element);
    for (PartNode* n : Each(p->parts)) pending.push_back(n->element);
  }
}

void Add(Members& members, LineElement* line) {
  members.lines.push_back(line);
}
void Add(Members& members, FillingElement* filling) {
  members.fillings.push_back(filling);
}
void Add(Members& members, TextElement* text) {
  members.texts.push_back(text);
}
void Add(Members& members, PartElement* part) {
  GatherMembers(part, members);
}

// Taking the highlight away erases the elements; all of them are erased first and then drawn
// in their own look, fillings before lines, so no erase punches a hole in a line drawn again.
void ShowNormally(ElementGeometry& geometry, const Members& members) {
  ElementStore& store = geometry.Store();
  Painter& painter = geometry.Store().painter();
  store.UnselectMany(members.lines, members.fillings, members.texts);
  for (FillingElement* filling : members.fillings) {
    if (filling != nullptr) painter.Draw(*filling, DrawMode::kNormal);
  }
  for (LineElement* line : members.lines) {
    if (line != nullptr) painter.Draw(*line, DrawMode::kNormal);
  }
  for (TextElement* text : members.texts) {
    if (text != nullptr) painter.Draw(*text, DrawMode::kNormal);
  }
}

} // namespace

void ElementSelection::Begin(Control& control, const TextPair& header, bool again) {
  header_ = header;
  mode_ = Mode::kArea;
  areaCount_ = 0;
  RubberBand(control, 0);
  SetPrompt(control, header_, again ? kShowArea : kEnterArea);
}

void ElementSelection::BeginAtCorner(Control& control, const TextPair& header,
                                     const Point& corner) {
  Begin(control, header, true);
  RubberBand(control, 1);
  control.In().points[0] = corner;
}

void ElementSelection::Resume(Control& control, const TextPair& header, PartElement* group,
                              const std::array<Point, 4>& area, int areaCount) {
  Dissolve(control);
  header_ = header;
  group_ = group;
  area_ = area;
  areaCount_ = areaCount;
  mode_ = Mode::kPick;
  RubberBand(control, 0);
  Leave(control, kStillRunning);
  SetPrompt(control, header_, kShowElement);
}

// The area's rubber band is a dashed closed line from the first corner.
void ElementSelection::RubberBand(Control& control, int points) {
  InputRecord& in = control.In();
  in.previewKind = kPreviewElement;
  in.attributes.SetShape(kClosedLine);
  in.attributes.SetStyle(kAreaStyle);
  in.pointCount = points;
  if (points > 0) in.points[0] = in.cursor;
}

PartElement* ElementSelection::TakeGroup() {
  PartElement* group = group_;
  group_ = nullptr;
  return group;
}

void ElementSelection::Dissolve(Control& control) {
  if (group_ == nullptr) return;
  control.store.ShowHighlightedNormally();
  control.store.DeletePart(group_, false);
  group_ = nullptr;
}

int ElementSelection::Step(Control& control, bool previousGroup) {
  return mode_ == Mode::kArea ? AreaKey(control, previousGroup) : PickKey(control, previousGroup);
}

int ElementSelection::Leave(Control& control, int result) {
  InputRecord& in = control.In();
  in.pointCount = 0;
  in.attributes.SetStyle(0);
  return result;
}

int ElementSelection::AreaKey(Control& control, bool previousGroup) {
  InputRecord& in = control.In();
  switch (in.code) {
  case kCodeEnter:
    if (in.pointCount == 0) {
      RubberBand(control, 1);
      return kStillRunning;
    }
    return SecondCorner(control);
  case kCodeTab:
  case kCodeCtrlEnter:
    ToPickMode(control);
    return kStillRunning;
  case kCodeBackspace:
    if (previousGroup) return Leave(control, kSelectionLeft);
    if (in.pointCount > 0) {
      RubberBand(control, 0);
    } else {
      Message(control, kSoundSmallError, kNothingToBeDone);
    }
    return kStillRunning;
  case kCodeEsc:
    return Leave(control, kSelectionLeft);
  default:
    Message(control, kSoundSmallError, kNotInUse);
    return kStillRunning;
  }
}

std::optional<std::array<Point, 4>> BandArea(Control& control, const TextPair& sameCorners) {
  const Point a = control.In().points[0];
  const Point b = control.In().cursor;
  if (SameValue(a.x, b.x) != 0 || SameValue(a.y, b.y) != 0) {
    Message(control, kSoundError, sameCorners);
    return std::nullopt;
  }
  return std::array<Point, 4>{{a, {b.x, a.y}, b, {a.x, b.y}}};
}

Gathered GatherArea(Control& control, const std::array<Point, 4>& area, bool whollyInside,
                    PartElement*& group) {
  group = control.store.AddPart("", 0, 0);
  if (group == nullptr) return Gathered::kNoRoom;
  const bool empty = Geometry(control).SelectArea(*group, area, whollyInside, true);
  if (!empty) return Gathered::kSome;
  control.store.DeletePart(group, true);
  group = nullptr;
  return Gathered::kNone;
}

int ElementSelection::SecondCorner(Control& control) {
  const std::optional<std::array<Point, 4>> area = BandArea(control, kSelectionCornersSame);
  if (!area) return kStillRunning;
  area_ = *area;
  areaCount_ = static_cast<int>(area_.size());
  Dissolve(control);
  // A stretch moves what reaches into the area; the other commands take what lies inside.
  const Gathered gathered = GatherArea(control, area_, !stretch_, group_);
  if (gathered == Gathered::kSome) return Leave(control, kSelectionReady);
  if (gathered == Gathered::kNone) {
    Message(control, kSoundError, kNoElements);
    RubberBand(control, 0);
  }
  return kStillRunning;
}

void ElementSelection::ToPickMode(Control& control) {
  Dissolve(control);
  group_ = control.store.AddPart("", 0, 0);
  areaCount_ = 0;
  mode_ = Mode::kPick;
  control.In().pointCount = 0;
  SetPrompt(control, header_, kShowElement);
}

int ElementSelection::PickKey(Control& control, bool previousGroup) {
  switch (control.In().code) {
  case kCodeEnter:
    return Pick(control);
  case kCodeTab:
    if (group_ == nullptr || ElementStore::PartIsEmpty(group_)) {
      Message(control, kSoundError, kNoElements);
      return kStillRunning;
    }
    return Leave(control, kSelectionReady);
  case kCodeBackspace:
    if (previousGroup) return Leave(control, kSelectionLeft);
    [[fallthrough]];
  case kCodeCtrlEnter:
    Dissolve(control);
    Begin(control, header_, true);
    return kStillRunning;
  case kCodeEsc:
    return Leave(control, kSelectionLeft);
  default:
    Message(control, kSoundSmallError, kNotInUse);
    return kStillRunning;
  }
}

// An element leaves the set: it is shown normally again, a filling whose boundary is no longer
// in the set leaves with it, and the group's box shrinks to what stays.
template <class Element> void ElementSelection::TakeOut(Control& control, Element* element) {
  ElementGeometry& geometry = Geometry(control);
  ElementStore& store = control.store;
  store.RemoveMember(group_, element);
  Members leaving;
  Add(leaving, element);
  std::vector<FillingElement*> orphans;
  for (FillingNode* n : Each(group_->fillings)) {
    // A stretch set holds the fillings that any of its lines bound, as its area gathers them.
    if (n->element != nullptr &&
        ElementGeometry::FillingInGroup(*n->element, *group_, !stretch_) == 0) {
      orphans.push_back(n->element);
    }
  }
  for (FillingElement* filling : orphans) {
    store.RemoveMember(group_, filling);
    leaving.fillings.push_back(filling);
  }
  ShowNormally(geometry, leaving);
  geometry.ElementChanged(*group_);
}

// A pick adds the element at the cursor to the set, or takes it out when it is in already.
int ElementSelection::Pick(Control& control) {
  if (group_ == nullptr) return kStillRunning;
  ElementGeometry& geometry = Geometry(control);
  ElementStore& store = control.store;
  const Picked picked = geometry.PickElement(control.In().cursor, kPickFactor, true);
  const auto toggle = [&](auto* element, ElementKind kind) {
    if (ElementGeometry::GroupHolds(*group_, element, kind)) {
      TakeOut(control, element);
    } else if (store.AddMember(group_, element) != nullptr) {
      store.Select(element);
    }
  };
  std::visit(Overloaded{[&](std::monostate) { Message(control, kSoundError, kNoElementFound); },
                        [&](LineElement* line) { toggle(line, ElementKind::kLine); },
                        [&](TextElement* text) { toggle(text, ElementKind::kText); },
                        [&](FillingElement* filling) {
                          if (stretch_) {
                            Message(control, kSoundError, kFillingNotAllowed);
                          } else if (!ElementGeometry::GroupHolds(*group_, filling,
                                                                  ElementKind::kFilling) &&
                                     ElementGeometry::FillingInGroup(*filling, *group_, true) ==
                                         0) {
                            Message(control, kSoundError, kFillingOutside);
                          } else {
                            toggle(filling, ElementKind::kFilling);
                          }
                        },
                        [&](PartElement* part) { toggle(part, ElementKind::kPart); }},
             picked);
  return kStillRunning;
}

} // namespace lumora
