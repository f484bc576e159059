// Test doubles for the file routines' reporter, and scratch directories.
#pragma once

#include "files/file_reporter.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace lumora::test {

class RecordingReporter : public FileReporter {
public:
  Language language = Language::kEnglish;
  std::vector<std::string> errors;
  std::vector<std::string> traces;

  Language CurrentLanguage() const override { return language; }
  void ShowError(std::string_view message) override { errors.emplace_back(message); }
  void Trace(std::string_view line) override { traces.emplace_back(line); }
  using FileReporter::ShowError;
};

// The whole of a file's bytes; empty when it cannot be read.
inline std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// A fresh, empty directory for one test under the build tree's scratch area.
inline std::string ScratchDirectory(const std::string& name) {
  const std::filesystem::path path = std::filesystem::path(LUMORA_TEST_TMP) / "files" / name;
  std::filesystem::remove_all(path);
  std::filesystem::create_directories(path);
  return path.string();
}

} // namespace lumora::test
