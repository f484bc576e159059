// The entries a file prompt offers: files of one extension, scripts, and subdirectories.
#pragma once

#include "files/file_reporter.h"

#include <string>
#include <string_view>
#include <vector>

namespace lumora {

// Longest name an entry can hold (the file lists show names in 40-byte slots).
inline constexpr std::size_t kListNameMax = 39;

enum class EntryKind { kFile = 0, kDirectory = 1 };

struct DirectoryEntry {
  std::string name; // a file without its extension, a script with its full name, or a directory
  EntryKind kind = EntryKind::kFile;
};

// Whether a file name fits a typed pattern: "*" stands for any run of characters, "?" for one,
// every other character for itself. The pattern is tried as a prefix ("Pl" fits "Plan.drw").
bool FitsPattern(std::string_view name, std::string_view pattern);

// Lists the entries of `directory` whose names fit `pattern`, in name order:
// a name holding "." + extension is entered cut before it; another file whose name holds
// "txt" (a script) is entered whole, and so is a DXF file where drawings ("drw") are listed;
// a subdirectory is entered as such, except DATA, and ".." only with `includeParent`. Other files
// and names that do not fit a slot are passed over. Beyond `maxCount` entries "Too many files !" is
// shown once and the rest dropped. Returns the number of entries; `longest` receives the length of
// the longest name.
int ListDirectory(FileReporter& reporter, const std::string& directory, std::string_view pattern,
                  const std::string& extension, std::vector<DirectoryEntry>& entries,
                  bool includeParent, int maxCount, int& longest);

} // namespace lumora
