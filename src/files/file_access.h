// Opening files with the program's own messages, and the small file questions the file
// prompts and readers ask.
#pragma once

#include "files/file_reporter.h"

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace lumora {

struct FileCloser {
  void operator()(std::FILE* file) const {
    if (file != nullptr) std::fclose(file);
  }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Longest open message composed, in bytes.
inline constexpr std::size_t kOpenMessageMax = 99;

// The message for a file that could not be opened, in the given language, cut to
// kOpenMessageMax bytes.
std::string OpenFailedMessage(std::string_view fileName, Language language);

// Opens with an fopen mode. On failure the open message is shown when `report` is set,
// otherwise stored in `message` (when given), and null is returned. Files to be written
// should go through SafeWriter, which never destroys the previous file.
FilePtr OpenFileChecked(FileReporter& reporter, const std::string& fileName, const char* mode,
                        bool report, std::string* message = nullptr);

// 1: the file can be opened for reading; -1: it does not exist but can be created (a test
// file is made and removed); 0: it can be neither.
int FileExists(const std::string& fileName);

// Reads one line up to a line feed or the end of the file; carriage returns are dropped and at
// most size - 1 bytes kept (the rest of a longer line is read and dropped). Returns 0 when the
// file is already at its end or in error, and closes it then; 1 otherwise, also for an empty
// last line.
int ReadTextLine(FilePtr& file, std::string& line, std::size_t size);

// 1 when the path is a directory that can be listed.
int IsDirectory(const std::string& path);

} // namespace lumora
