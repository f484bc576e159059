#include "files/script_entry.h"

namespace lumora {

namespace {
constexpr TextPair kScriptsNotAvailable{"Scripts are not available yet !",
                                        "Skriptit eivät ole vielä käytettävissä !"_l1};
} // namespace

bool IsScriptName(std::string_view fileName) {
  return fileName.find(".txt") != std::string_view::npos ||
         fileName.find(".TXT") != std::string_view::npos;
}

int FileEnvironment::RunScript(const std::string& /*fileName*/, PartElement* /*group*/,
                               const Placement& /*placement*/, bool /*draw*/) {
  ShowError(kScriptsNotAvailable);
  return 0;
}

int RunScriptFile(ElementStore& /*store*/, FileEnvironment& env, const std::string& fileName,
                  PartElement* group, const Placement& placement, bool draw) {
  return env.RunScript(fileName, group, placement, draw);
}

} // namespace lumora
