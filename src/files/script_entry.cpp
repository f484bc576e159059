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

int RunScriptFile(ElementStore& /*store*/, FileEnvironment& env, const std::string& /*fileName*/,
                  PartElement* /*group*/, const Placement& /*placement*/, bool /*draw*/) {
  env.ShowError(kScriptsNotAvailable);
  return 0;
}

} // namespace lumora
