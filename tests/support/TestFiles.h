// Files for the tests: the in-memory file system, and a scratch folder on the
// real file system with byte-exact reading and writing.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "common/FileLayer.h"
#include "tests/support/MemoryFileLayer.h"

namespace TestFiles {

// A fresh folder in the system's temporary folder, named after the running
// test and removed with everything in it at the end of the test.
class TempFolder {
 public:
  explicit TempFolder(std::string_view tag = "test") {
    static std::atomic<int> counter{0};
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "vomurel-";
    name += tag;
    name += '-';
    name += info->test_suite_name();
    name += '-';
    name += info->name();
    name += '-';
    name += std::to_string(counter++);
    path_ = std::filesystem::temp_directory_path() / name;
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const char* name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Through the program's own file layer: binary, and wide paths on Windows.
inline std::string ReadFileBytes(const std::filesystem::path& path) {
  std::string bytes;
  auto file = Files::RealFileSystem().OpenRead(path);
  if (!file) return bytes;
  char buffer[64 * 1024];
  for (;;) {
    const long long n = file->Read(buffer, sizeof(buffer));
    if (n <= 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return bytes;
}

inline bool WriteFileBytes(const std::filesystem::path& path, std::string_view bytes) {
  auto file = Files::RealFileSystem().Create(path);
  if (!file) return false;
  const bool written = file->Write(bytes.data(), bytes.size());
  return file->Close() && written;
}

// Names of the entries of a folder, sorted.
inline std::vector<std::string> FolderEntries(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().generic_string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

} // namespace TestFiles
