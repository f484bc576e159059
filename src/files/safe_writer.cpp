#include "files/safe_writer.h"

#include "files/file_access.h"
#include "files/file_messages.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumora {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;
constexpr int kTemporaryAttempts = 100;
constexpr mode_t kNewFileMode = 0666; // narrowed by the umask like any new file

// ".NAME.tmpK" in the target's directory, so the rename stays on one file system.
std::string TemporaryName(const std::string& target, int attempt) {
  const auto slash = target.rfind('/');
  const std::string directory = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  return directory + "." + base + ".tmp" + std::to_string(attempt);
}

} // namespace

SafeWriter::SafeWriter(FileReporter& reporter, WriteFunction write)
    : reporter_(reporter), write_(std::move(write)) {
  if (!write_) {
    write_ = [](const void* data, std::size_t size, std::FILE* file) {
      return std::fwrite(data, 1, size, file);
    };
  }
}

SafeWriter::~SafeWriter() {
  Abandon();
}

bool SafeWriter::Open(const std::string& target) {
  Abandon();
  target_ = target;
  for (int attempt = 0; attempt < kTemporaryAttempts && file_ == nullptr; ++attempt) {
    std::string name = TemporaryName(target, attempt);
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL, kNewFileMode);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      break;
    }
    // A save keeps the permissions of the file it replaces.
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);
    file_ = ::fdopen(fd, "wb");
    if (file_ == nullptr) {
      ::close(fd);
      ::unlink(name.c_str());
      break;
    }
    temporary_ = std::move(name);
  }
  if (file_ == nullptr) {
    reporter_.ShowError(OpenFailedMessage(target, reporter_.CurrentLanguage()));
    return false;
  }
  buffer_.clear();
  buffer_.reserve(kBufferSize);
  return true;
}

bool SafeWriter::Write(const void* data, std::size_t size) {
  if (file_ == nullptr) return false;
  if (data == nullptr) {
    reporter_.ShowError(file_messages::kWriteNull);
    Abandon();
    return false;
  }
  const auto* bytes = static_cast<const unsigned char*>(data);
  if (buffer_.size() + size > kBufferSize && !Flush()) return false;
  if (size >= kBufferSize) {
    if (write_(bytes, size, file_) != size) {
      Fail();
      return false;
    }
    return true;
  }
  buffer_.insert(buffer_.end(), bytes, bytes + size);
  return true;
}

bool SafeWriter::Flush() {
  if (buffer_.empty()) return true;
  if (write_(buffer_.data(), buffer_.size(), file_) != buffer_.size()) {
    Fail();
    return false;
  }
  buffer_.clear();
  return true;
}

bool SafeWriter::Commit() {
  if (file_ == nullptr || !Flush()) return false;
  // The data must be on the disk before the name points to it.
  const bool written = std::fflush(file_) == 0 && ::fsync(fileno(file_)) == 0;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!written || !closed || std::rename(temporary_.c_str(), target_.c_str()) != 0) {
    reporter_.ShowError(file_messages::kWriteFailed);
    ::unlink(temporary_.c_str());
    temporary_.clear();
    return false;
  }
  temporary_.clear();
  return true;
}

void SafeWriter::Fail() {
  reporter_.ShowError(file_messages::kWriteFailed);
  Abandon();
}

void SafeWriter::Abandon() {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
  buffer_.clear();
}

} // namespace lumora
