#include "files/file_access.h"

#include "text/line_reading.h"

#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace lumora {

std::string OpenFailedMessage(std::string_view fileName, Language language) {
  std::string message = OpenFailureMessage(fileName, language);
  if (message.size() <= kOpenMessageMax) return message;
  // Too long a name loses its start, not the end of the message that tells what happened.
  constexpr std::string_view kCutMark = "...";
  const std::size_t excess = message.size() - kOpenMessageMax + kCutMark.size();
  if (excess >= fileName.size()) {
    message.resize(kOpenMessageMax);
    return message;
  }
  std::string_view tail = fileName.substr(excess);
  const std::size_t slash = tail.find('/');
  if (slash != std::string_view::npos && slash + 1 < tail.size()) tail.remove_prefix(slash);
  return OpenFailureMessage(std::string(kCutMark) + std::string(tail), language);
}

FilePtr OpenFileChecked(FileReporter& reporter, const std::string& fileName, const char* mode,
                        bool report, std::string* message) {
  FilePtr file(std::fopen(fileName.c_str(), mode));
  if (file) return file;
  const std::string text = OpenFailedMessage(fileName, reporter.CurrentLanguage());
  if (report) {
    reporter.ShowError(text);
  } else if (message != nullptr) {
    *message = text;
  }
  return nullptr;
}

int FileExists(const std::string& fileName) {
  if (FilePtr(std::fopen(fileName.c_str(), "rb"))) return 1;
  // O_EXCL: a file that exists but cannot be read is never touched.
  constexpr mode_t kTestFileMode = 0600;
  const int fd = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_EXCL, kTestFileMode);
  if (fd < 0) return 0;
  ::close(fd);
  ::unlink(fileName.c_str());
  return -1;
}

int ReadTextLine(FilePtr& file, std::string& line, std::size_t size) {
  line.clear();
  if (!file) return 0;
  int c = std::fgetc(file.get());
  if (c == EOF) {
    file.reset();
    return 0;
  }
  for (; c != EOF && c != '\n'; c = std::fgetc(file.get())) {
    if (c == '\r') continue;
    if (line.size() + 1 < size) line.push_back(static_cast<char>(c));
  }
  return 1;
}

int IsDirectory(const std::string& path) {
  std::error_code error;
  std::filesystem::directory_iterator listing(path, error);
  return error ? 0 : 1;
}

} // namespace lumora
