// Files for the tests of the writers: an in-memory file system whose
// operations can be made to fail at a chosen point, so that clean-up paths
// can be checked without filling a disk, and a scratch folder on the real
// file system with byte-exact reading and writing.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "common/FileLayer.h"

namespace TestFiles {

// Bytes reach the stored file as they are written, so a failed write leaves a
// partial file unless the code under test removes it.
class MemoryFileLayer final : public Files::FileLayer {
 public:
  std::map<std::string, std::string> Stored; // by generic path

  bool FailCreate = false;
  // Bytes accepted over all writes of one created file before writes fail.
  std::size_t WriteBudget = std::numeric_limits<std::size_t>::max();
  bool FailClose = false;
  bool FailReplace = false;
  bool FailOpenRead = false;
  // Bytes delivered by one opened file before its reads fail.
  std::size_t ReadBudget = std::numeric_limits<std::size_t>::max();
  // Largest number of bytes one Read call delivers.
  std::size_t ReadChunk = std::numeric_limits<std::size_t>::max();

  static std::string Key(const std::filesystem::path& path) { return path.generic_string(); }

  bool Has(const std::filesystem::path& path) const { return Stored.count(Key(path)) != 0; }
  const std::string& Bytes(const std::filesystem::path& path) const { return Stored.at(Key(path)); }
  void Put(const std::filesystem::path& path, std::string bytes) {
    Stored[Key(path)] = std::move(bytes);
  }

  bool Exists(const std::filesystem::path& path) override { return Has(path); }

  std::unique_ptr<Files::InFile> OpenRead(const std::filesystem::path& path) override {
    if (FailOpenRead || !Has(path)) return nullptr;
    return std::make_unique<MemoryInFile>(Bytes(path), ReadChunk, ReadBudget);
  }

  std::unique_ptr<Files::OutFile> Create(const std::filesystem::path& path) override {
    if (FailCreate) return nullptr;
    Stored[Key(path)].clear();
    return std::make_unique<MemoryOutFile>(*this, Key(path), WriteBudget, FailClose);
  }

  bool Remove(const std::filesystem::path& path) override { return Stored.erase(Key(path)) != 0; }

  bool Replace(const std::filesystem::path& from, const std::filesystem::path& to) override {
    if (FailReplace || !Has(from)) return false;
    std::string bytes = std::move(Stored[Key(from)]);
    Stored.erase(Key(from));
    Stored[Key(to)] = std::move(bytes);
    return true;
  }

 private:
  class MemoryInFile final : public Files::InFile {
   public:
    MemoryInFile(std::string bytes, std::size_t chunk, std::size_t budget)
        : bytes_(std::move(bytes)), chunk_(chunk), budget_(budget) {}

    long long Read(char* buffer, std::size_t size) override {
      if (next_ >= budget_ && next_ < bytes_.size()) return -1;
      const std::size_t n =
          std::min({size, chunk_, bytes_.size() - next_, std::max(budget_, next_) - next_});
      std::copy_n(bytes_.data() + next_, n, buffer);
      next_ += n;
      return static_cast<long long>(n);
    }

   private:
    std::string bytes_;
    std::size_t chunk_;
    std::size_t budget_;
    std::size_t next_ = 0;
  };

  class MemoryOutFile final : public Files::OutFile {
   public:
    MemoryOutFile(MemoryFileLayer& layer, std::string key, std::size_t budget, bool failClose)
        : layer_(layer), key_(std::move(key)), budget_(budget), failClose_(failClose) {}

    bool Write(const char* data, std::size_t size) override {
      // A file removed while open (never by the writers under test) takes no bytes.
      auto it = layer_.Stored.find(key_);
      if (it == layer_.Stored.end()) return false;
      const std::size_t accepted = std::min(size, budget_);
      it->second.append(data, accepted);
      budget_ -= accepted;
      return accepted == size;
    }
    bool Close() override { return !failClose_; }

   private:
    MemoryFileLayer& layer_;
    std::string key_;
    std::size_t budget_;
    bool failClose_;
  };
};

// Installs a file layer for the lifetime of a test and restores the one before.
class ScopedFileLayer {
 public:
  explicit ScopedFileLayer(Files::FileLayer& layer) : before_(Files::Install(&layer)) {}
  ~ScopedFileLayer() { Files::Install(before_); }
  ScopedFileLayer(const ScopedFileLayer&) = delete;
  ScopedFileLayer& operator=(const ScopedFileLayer&) = delete;

 private:
  Files::FileLayer* before_;
};

// A fresh folder in the system's temporary folder, named after the running
// test and removed with everything in it at the end of the test.
class TempFolder {
 public:
  TempFolder() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "vomurel-test-";
    name += info->test_suite_name();
    name += '-';
    name += info->name();
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

inline std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
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
