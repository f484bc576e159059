#include "plot/paper.h"

#include <array>
#include <cctype>
#include <cmath>

namespace lumora {
namespace {

struct NamedSize {
  std::string_view name;
  double width;
  double height;
};

constexpr std::array<NamedSize, 6> kSizes{{{"a4", 210.0, 297.0},
                                           {"a3", 297.0, 420.0},
                                           {"a2", 420.0, 594.0},
                                           {"a1", 594.0, 841.0},
                                           {"a0", 841.0, 1189.0},
                                           {"letter", 215.9, 279.4}}};

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k) {
    if (std::tolower(static_cast<unsigned char>(a[k])) != b[k]) return false;
  }
  return true;
}

} // namespace

Paper CentredPaper(double width, double height, double margin) {
  Paper paper;
  paper.width = width;
  paper.height = height;
  // The printable area is whole millimetres: what is left over widens the margins evenly.
  paper.printableWidth = int(std::floor(width - 2.0 * margin));
  paper.printableHeight = int(std::floor(height - 2.0 * margin));
  paper.left = (width - paper.printableWidth) / 2.0;
  paper.top = (height - paper.printableHeight) / 2.0;
  return paper;
}

bool NamedPaper(std::string_view name, Paper& paper) {
  for (const NamedSize& size : kSizes) {
    if (SameName(name, size.name)) {
      paper = CentredPaper(size.width, size.height);
      return true;
    }
  }
  return false;
}

} // namespace lumora
