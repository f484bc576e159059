#include "plot/plot_file.h"

#include <cctype>
#include <string_view>

namespace lumora {
namespace {

constexpr std::string_view kUnnamed = "Database";
constexpr std::string_view kDrawingExtension = ".drw";
constexpr std::string_view kPlotExtension = ".pdf";
constexpr std::string_view kPlotDirectory = "/PLOTS/";

bool EndsWithDrawingExtension(std::string_view name) {
  if (name.size() <= kDrawingExtension.size()) return false;
  const std::string_view end = name.substr(name.size() - kDrawingExtension.size());
  for (std::size_t k = 0; k < end.size(); ++k) {
    if (std::tolower(static_cast<unsigned char>(end[k])) != kDrawingExtension[k]) return false;
  }
  return true;
}

} // namespace

std::string PlotFileName(const Drawing& drawing) {
  std::string_view name = DrawingName(drawing);
  if (EndsWithDrawingExtension(name)) name.remove_suffix(kDrawingExtension.size());
  std::string file;
  for (const char c : name) file += (c == '/' || c == '\\') ? '_' : c;
  // A name of dots alone would name a directory.
  if (file.find_first_not_of('.') == std::string::npos) file = kUnnamed;
  return file + std::string(kPlotExtension);
}

std::string PlotFilePath(const std::string& home, const Drawing& drawing) {
  return home + std::string(kPlotDirectory) + PlotFileName(drawing);
}

} // namespace lumora
