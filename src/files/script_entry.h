// Drawing and part names that hold ".txt" or ".TXT" are scripts: reading one runs it with the
// reader's arguments.
#pragma once

#include "files/file_environment.h"
#include "files/placement.h"

#include <string>
#include <string_view>

namespace lumora {

class ElementStore;
struct PartElement;

bool IsScriptName(std::string_view fileName);

// Runs the script into the group (none = the drawing itself) with the placement through the
// environment's interpreter; kStillRunning while the script waits, then its result.
int RunScriptFile(ElementStore& store, FileEnvironment& env, const std::string& fileName,
                  PartElement* group, const Placement& placement, bool draw);

} // namespace lumora
