#include "files/drawing_writer.h"

#include "files/drawing_format.h"
#include "files/file_messages.h"
#include "files/record_encoder.h"
#include "files/write_order.h"
#include "model/drawing.h"
#include "model/element_store.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace lumora {

namespace {

constexpr std::int32_t kMissingBoundary = -1;

struct WriteJob {
  RecordEncoder& out;
  const WriteOrder& order;
  Point origin;
};

std::string_view StoredText(const TextElement& text) {
  if (text.text == nullptr) return {};
  return std::string_view(text.text, strnlen(text.text, kMaxTextLength));
}

// The largest count or index the file will hold, to choose a precision that holds it.
std::int64_t LargestCount(const WriteOrder& order) {
  std::int64_t largest = std::max(
      {order.lines.Count(), order.fillings.Count(), order.texts.Count(), order.parts.Count()});
  for (const LineElement* l : order.lines.Items())
    largest = std::max<std::int64_t>(largest, l->ps0());
  for (const FillingElement* f : order.fillings.Items())
    largest = std::max<std::int64_t>(largest, f->ls0());
  // A stored text length counts its terminating zero.
  for (const TextElement* t : order.texts.Items())
    largest = std::max<std::int64_t>(largest, static_cast<std::int64_t>(StoredText(*t).size()) + 1);
  return largest;
}

bool WritePoints(WriteJob& job, const Point* points, std::uint32_t count) {
  for (std::uint32_t k = 0; k < count; ++k)
    if (!job.out.Real(points[k].x - job.origin.x) || !job.out.Real(points[k].y - job.origin.y))
      return false;
  return true;
}

bool WriteWords(RecordEncoder& out, const std::uint32_t* words, std::size_t count) {
  for (std::size_t k = 0; k < count; ++k)
    if (!out.Word(words[k])) return false;
  return true;
}

bool WriteLines(WriteJob& job) {
  if (!job.out.Count(job.order.lines.Count())) return false;
  for (const LineElement* line : job.order.lines.Items()) {
    if (!WriteWords(job.out, line->words.data(), kLineWordsStored) ||
        !WritePoints(job, line->points, line->ps0()))
      return false;
  }
  return true;
}

bool WriteFillings(WriteJob& job) {
  if (!job.out.Count(job.order.fillings.Count())) return false;
  for (const FillingElement* filling : job.order.fillings.Items()) {
    if (!WriteWords(job.out, filling->words.data(), kFillingWordsStored)) return false;
    for (std::uint32_t k = 0; k < filling->ls0(); ++k) {
      const LineElement* line = filling->lines != nullptr ? filling->lines[k] : nullptr;
      if (!job.out.Count(line == nullptr ? kMissingBoundary : job.order.lines.IndexOf(line)))
        return false;
    }
  }
  return true;
}

bool WriteTexts(WriteJob& job) {
  if (!job.out.Count(job.order.texts.Count())) return false;
  for (const TextElement* text : job.order.texts.Items()) {
    const std::string_view value = StoredText(*text);
    if (!WriteWords(job.out, text->words.data(), kTextWordsStored) ||
        !WritePoints(job, text->points, text->pointCount()) ||
        !job.out.Count(static_cast<std::int32_t>(value.size() + 1)) || !job.out.Bytes(value) ||
        !job.out.Bytes(std::string_view("", 1)))
      return false;
  }
  return true;
}

template <class Element, class Node>
bool WriteMembers(RecordEncoder& out, const Node* head, const Sequence<Element>& sequence) {
  std::int32_t count = 0;
  for (const Node* n = head; n != nullptr; n = n->next) ++count;
  if (!out.Count(count)) return false;
  for (const Node* n = head; n != nullptr; n = n->next)
    if (!out.Count(sequence.IndexOf(n->element))) return false;
  return true;
}

bool WriteParts(WriteJob& job) {
  if (!job.out.Count(job.order.parts.Count())) return false;
  for (const PartElement* part : job.order.parts.Items()) {
    if (!job.out.Bytes(std::string_view(part->name, kPartNameSize)) ||
        !WriteWords(job.out, part->words.data(), kPartWordsStored) ||
        !WriteMembers(job.out, part->lines, job.order.lines) ||
        !WriteMembers(job.out, part->fillings, job.order.fillings) ||
        !WriteMembers(job.out, part->texts, job.order.texts) ||
        !WriteMembers(job.out, part->parts, job.order.parts))
      return false;
  }
  return true;
}

std::int64_t LongestMemberList(const WriteOrder& order) {
  std::int64_t longest = 0;
  auto length = [](const auto* head) {
    std::int64_t n = 0;
    for (; head != nullptr; head = head->next) ++n;
    return n;
  };
  for (const PartElement* p : order.parts.Items())
    longest = std::max(
        {longest, length(p->lines), length(p->fillings), length(p->texts), length(p->parts)});
  return longest;
}

// Every real the file would hold is a finite number: the reader refuses any other, so a
// drawing holding one could be saved but never read back.
bool AllReal(const WriteOrder& order, const Drawing& drawing, const Point& origin,
             const Box& area) {
  const auto finite = [&origin](double x, double y) {
    return std::isfinite(x - origin.x) && std::isfinite(y - origin.y);
  };
  if (!finite(area.xmin, area.ymin) || !finite(area.xmax, area.ymax) ||
      !std::isfinite(drawing.scale) || !std::isfinite(drawing.step))
    return false;
  for (const LineElement* l : order.lines.Items())
    for (std::uint32_t k = 0; k < l->ps0(); ++k)
      if (!finite(l->points[k].x, l->points[k].y)) return false;
  for (const TextElement* t : order.texts.Items())
    for (std::uint32_t k = 0; k < t->pointCount(); ++k)
      if (!finite(t->points[k].x, t->points[k].y)) return false;
  return true;
}

bool WriteBody(WriteJob& job, const Drawing& drawing, float version, const Box& area) {
  RecordEncoder& out = job.out;
  return out.Float(version) && out.Real(area.xmin - job.origin.x) &&
         out.Real(area.ymin - job.origin.y) && out.Real(area.xmax - job.origin.x) &&
         out.Real(area.ymax - job.origin.y) && out.Real(drawing.scale) && out.Real(drawing.step) &&
         WriteLines(job) && WriteFillings(job) && WriteTexts(job) && WriteParts(job);
}

} // namespace

int WriteDrawingFile(Drawing& drawing, FileReporter& reporter, const std::string& fileName,
                     const PartElement* part, const Point& origin, const Box& area,
                     WriteFunction write) {
  const WriteOrder order = part == nullptr ? WholeDrawingOrder(drawing) : PartOrder(*part);
  float version = drawing.version;
  bool wide = IsWideVersion(version);
  if (!wide && std::max(LargestCount(order), LongestMemberList(order)) > kShortCountMax) {
    // A count that 16 bits would wrap is written at the precision that holds it.
    wide = true;
    version = kWideVersion;
  }
  reporter.Trace("Writing file '" + fileName + "'\n");
  if (!AllReal(order, drawing, origin, area)) {
    reporter.ShowError(file_messages::kNotFiniteSave);
    return 0;
  }
  SafeWriter writer(reporter, std::move(write));
  if (!writer.Open(fileName)) return 0;
  RecordEncoder out(writer, wide);
  WriteJob job{out, order, origin};
  if (!WriteBody(job, drawing, version, area) || !writer.Commit()) return 0;
  if (part == nullptr) drawing.changes = 0;
  return 1;
}

} // namespace lumora
