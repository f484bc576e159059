// Writes a file so that a failed save never destroys the previous one: the bytes go to a
// temporary file beside the target, which replaces the target only after a complete write,
// flush and close. On any failure "Writing to file not succeeded !" is shown, the temporary
// file is removed and the target is left as it was.
#pragma once

#include "files/file_reporter.h"

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

// The low-level write, fwrite by default; tests put a failing one in its place.
using WriteFunction = std::function<std::size_t(const void* data, std::size_t size, std::FILE*)>;

class SafeWriter {
public:
  explicit SafeWriter(FileReporter& reporter, WriteFunction write = {});
  ~SafeWriter(); // an unfinished write is abandoned
  SafeWriter(const SafeWriter&) = delete;
  SafeWriter& operator=(const SafeWriter&) = delete;

  // Creates the temporary file; shows the open message of the target on failure.
  bool Open(const std::string& target);
  // Fails (and abandons the file) on a null address or a short write.
  bool Write(const void* data, std::size_t size);
  bool WriteText(std::string_view text) { return Write(text.data(), text.size()); }
  // Flushes, closes and renames into place.
  bool Commit();
  bool IsOpen() const { return file_ != nullptr; }
  const std::string& Target() const { return target_; }

private:
  bool Flush();
  void Fail();
  void Abandon();

  FileReporter& reporter_;
  WriteFunction write_;
  std::FILE* file_ = nullptr;
  std::string target_;
  std::string temporary_;
  std::vector<unsigned char> buffer_;
};

} // namespace lumora
