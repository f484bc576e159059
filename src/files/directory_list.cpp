#include "files/directory_list.h"

#include "files/dxf_reader.h"
#include "files/file_messages.h"

#include <algorithm>
#include <filesystem>
#include <optional>

namespace lumora {

namespace {

constexpr std::string_view kScriptMark = "txt";
constexpr std::string_view kDrawingExtension = "drw";
constexpr std::string_view kPartExtension = "part";
constexpr std::string_view kDataDirectory = "DATA";
constexpr std::string_view kParent = "..";
constexpr char kAnyRun = '*';
constexpr char kAnyOne = '?';

struct Candidate {
  std::string name;
  bool isDirectory = false;
};

std::optional<DirectoryEntry> EntryFor(const Candidate& candidate, const std::string& extension) {
  const std::string& name = candidate.name;
  if (!candidate.isDirectory) {
    const auto dot = name.find("." + extension);
    if (!extension.empty() && dot != std::string::npos)
      return DirectoryEntry{name.substr(0, dot), EntryKind::kFile};
    if (name.find(kScriptMark) != std::string::npos) return DirectoryEntry{name, EntryKind::kFile};
    // DXF drawings of other programs sit beside the drawings and the parts, entered whole
    // like scripts.
    if ((extension == kDrawingExtension || extension == kPartExtension) && IsDxfName(name))
      return DirectoryEntry{name, EntryKind::kFile};
    return std::nullopt; // a file of another kind is nothing the prompt can open
  }
  if (name == kDataDirectory) return std::nullopt;
  return DirectoryEntry{name, EntryKind::kDirectory};
}

std::vector<Candidate> Candidates(const std::string& directory, std::string_view pattern,
                                  bool includeParent) {
  std::vector<Candidate> found;
  std::error_code error;
  for (std::filesystem::directory_iterator it(directory, error), end; !error && it != end;
       it.increment(error)) {
    std::string name = it->path().filename().string();
    if (!FitsPattern(name, pattern)) continue;
    std::error_code kindError;
    found.push_back({std::move(name), it->is_directory(kindError)});
  }
  std::sort(found.begin(), found.end(),
            [](const Candidate& a, const Candidate& b) { return a.name < b.name; });
  if (includeParent && FitsPattern(kParent, pattern))
    found.insert(found.begin(), Candidate{std::string(kParent), true});
  return found;
}

} // namespace

bool FitsPattern(std::string_view name, std::string_view pattern) {
  // Each name character is matched against the pattern with a way back to the last "*" only,
  // so a pattern of many stars cannot make the listing slow. The trailing "*" makes the
  // pattern a prefix.
  const std::string glob = std::string(pattern) + kAnyRun;
  std::size_t n = 0;
  std::size_t p = 0;
  std::size_t star = std::string::npos;
  std::size_t resume = 0;
  while (n < name.size()) {
    if (p < glob.size() && glob[p] == kAnyRun) {
      star = p++;
      resume = n;
    } else if (p < glob.size() && (glob[p] == kAnyOne || glob[p] == name[n])) {
      ++n;
      ++p;
    } else if (star != std::string::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < glob.size() && glob[p] == kAnyRun) ++p;
  return p == glob.size();
}

int ListDirectory(FileReporter& reporter, const std::string& directory, std::string_view pattern,
                  const std::string& extension, std::vector<DirectoryEntry>& entries,
                  bool includeParent, int maxCount, int& longest) {
  entries.clear();
  longest = 0;
  bool warned = false;
  for (const Candidate& candidate : Candidates(directory, pattern, includeParent)) {
    std::optional<DirectoryEntry> entry = EntryFor(candidate, extension);
    if (!entry || entry->name.empty() || entry->name.size() > kListNameMax) continue;
    if (static_cast<int>(entries.size()) >= maxCount) {
      if (!warned) reporter.ShowError(file_messages::kTooManyFiles);
      warned = true;
      continue;
    }
    longest = std::max(longest, static_cast<int>(entry->name.size()));
    entries.push_back(std::move(*entry));
  }
  return static_cast<int>(entries.size());
}

} // namespace lumora
