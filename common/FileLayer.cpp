#include "common/FileLayer.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

namespace Files {

namespace {

std::FILE* OpenFile(const std::filesystem::path& path, bool write) {
#ifdef _WIN32
  // Wide names: folders with Japanese names must work on any code page.
  return _wfopen(path.c_str(), write ? L"wb" : L"rb");
#else
  return std::fopen(path.c_str(), write ? "wb" : "rb");
#endif
}

// Where the real layer keeps the reason of its last failure.
std::error_code lastError;

void NoteErrno() { lastError.assign(errno != 0 ? errno : EIO, std::generic_category()); }

class StdInFile final : public InFile {
 public:
  explicit StdInFile(std::FILE* f) : file_(f) {}
  ~StdInFile() override { std::fclose(file_); }
  StdInFile(const StdInFile&) = delete;
  StdInFile& operator=(const StdInFile&) = delete;

  long long Read(char* buffer, std::size_t size) override {
    const std::size_t n = std::fread(buffer, 1, size, file_);
    if (n == 0 && std::ferror(file_)) return -1;
    return static_cast<long long>(n);
  }

 private:
  std::FILE* file_;
};

class StdOutFile final : public OutFile {
 public:
  explicit StdOutFile(std::FILE* f) : file_(f) {}
  ~StdOutFile() override {
    if (file_ != nullptr) std::fclose(file_);
  }
  StdOutFile(const StdOutFile&) = delete;
  StdOutFile& operator=(const StdOutFile&) = delete;

  bool Write(const char* data, std::size_t size) override {
    errno = 0;
    const bool ok = file_ != nullptr && std::fwrite(data, 1, size, file_) == size;
    if (!ok) NoteErrno();
    return ok;
  }
  bool Close() override {
    if (file_ == nullptr) return false;
    errno = 0;
    const bool ok = std::fflush(file_) == 0 && std::ferror(file_) == 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!ok || !closed) NoteErrno();
    return ok && closed;
  }

 private:
  std::FILE* file_;
};

class RealLayer final : public FileLayer {
 public:
  bool Exists(const std::filesystem::path& path) override {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
  }
  std::unique_ptr<InFile> OpenRead(const std::filesystem::path& path) override {
    std::FILE* f = OpenFile(path, false);
    if (f == nullptr) return nullptr;
    return std::make_unique<StdInFile>(f);
  }
  std::unique_ptr<OutFile> Create(const std::filesystem::path& path) override {
    errno = 0;
    std::FILE* f = OpenFile(path, true);
    if (f == nullptr) {
      NoteErrno();
      return nullptr;
    }
    return std::make_unique<StdOutFile>(f);
  }
  bool Remove(const std::filesystem::path& path) override {
    std::error_code ec;
    return std::filesystem::remove(path, ec);
  }
  bool Replace(const std::filesystem::path& from, const std::filesystem::path& to) override {
    std::error_code ec;
    std::filesystem::rename(from, to, ec);
    if (ec) lastError = ec;
    return !ec;
  }
  std::error_code LastError() const override { return lastError; }
};

FileLayer* installed = nullptr;

} // namespace

FileLayer& RealFileSystem() {
  static RealLayer real;
  return real;
}

FileLayer& Current() { return installed != nullptr ? *installed : RealFileSystem(); }

FileLayer* Install(FileLayer* layer) {
  FileLayer* before = installed;
  installed = layer;
  return before;
}

} // namespace Files
