// The entries a file prompt offers: files of one extension, scripts, and subdirectories.
#pragma once

#include "files/file_reporter.h"

#include <string>
#include <vector>

namespace lumora {

// Longest name an entry can hold (the file lists show names in 40-byte slots).
inline constexpr std::size_t kListNameMax = 39;

enum class EntryKind { kFile = 0, kDirectory = 1 };

struct DirectoryEntry {
  std::string name; // a file without its extension, a script with its full name, or a directory
  EntryKind kind = EntryKind::kFile;
};

// Lists the entries of `directory` whose names start with `prefix`, in name order:
// a name holding "." + extension is entered cut before it; another file whose name holds
// "txt" (a script) is entered whole; a subdirectory is entered as such, except DATA, and
// ".." only with `includeParent`. Other files and names that do not fit a slot are passed
// over. Beyond `maxCount` entries "Too many files !" is shown once and the rest dropped.
// Returns the number of entries; `longest` receives the length of the longest name.
int ListDirectory(FileReporter& reporter, const std::string& directory, const std::string& prefix,
                  const std::string& extension, std::vector<DirectoryEntry>& entries,
                  bool includeParent, int maxCount, int& longest);

} // namespace lumora
