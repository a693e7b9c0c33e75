// An in-memory file system whose operations can be made to fail at a chosen
// point, so that clean-up paths can be checked without filling a disk, and
// reads can be served in pieces of any size. Shared by tests and fuzzers.
#pragma once

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <system_error>
#include <utility>

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
  // Bytes delivered by one opened file before its reads fail, and how.
  std::size_t ReadBudget = std::numeric_limits<std::size_t>::max();
  enum class ReadFailure { IoError, OutOfMemory };
  ReadFailure FailReadWith = ReadFailure::IoError;
  // Largest number of bytes one Read call delivers; ChunkOf, when set,
  // gives it per call from the call's number instead.
  std::size_t ReadChunk = std::numeric_limits<std::size_t>::max();
  std::function<std::size_t(std::size_t)> ChunkOf;
  // What the layer names as the reason of a failure it was told to make.
  std::error_code FailureReason = std::make_error_code(std::errc::permission_denied);
  // When set, creating, writing, closing and replacing fail only for paths
  // that end with it (a replace by its target).
  std::string FailOnly;

  static std::string Key(const std::filesystem::path& path) { return path.generic_string(); }

  bool Has(const std::filesystem::path& path) const { return Stored.count(Key(path)) != 0; }
  const std::string& Bytes(const std::filesystem::path& path) const { return Stored.at(Key(path)); }
  void Put(const std::filesystem::path& path, std::string bytes) {
    Stored[Key(path)] = std::move(bytes);
  }

  bool Exists(const std::filesystem::path& path) override { return Has(path); }

  std::unique_ptr<Files::InFile> OpenRead(const std::filesystem::path& path) override {
    if (FailOpenRead || !Has(path)) return nullptr;
    return std::make_unique<MemoryInFile>(*this, Bytes(path));
  }

  std::unique_ptr<Files::OutFile> Create(const std::filesystem::path& path) override {
    const bool failing = Failing(path);
    if (FailCreate && failing) return nullptr;
    Stored[Key(path)].clear();
    return std::make_unique<MemoryOutFile>(
        *this, Key(path), failing ? WriteBudget : std::numeric_limits<std::size_t>::max(),
        FailClose && failing);
  }

  bool Remove(const std::filesystem::path& path) override { return Stored.erase(Key(path)) != 0; }
  std::error_code LastError() const override { return FailureReason; }

  bool Replace(const std::filesystem::path& from, const std::filesystem::path& to) override {
    if ((FailReplace && Failing(to)) || !Has(from)) return false;
    std::string bytes = std::move(Stored[Key(from)]);
    Stored.erase(Key(from));
    Stored[Key(to)] = std::move(bytes);
    return true;
  }

 private:
  bool Failing(const std::filesystem::path& path) const {
    return FailOnly.empty() || Key(path).ends_with(FailOnly);
  }

  class MemoryInFile final : public Files::InFile {
   public:
    MemoryInFile(const MemoryFileLayer& layer, std::string bytes)
        : layer_(layer), bytes_(std::move(bytes)) {}

    long long Read(char* buffer, std::size_t size) override {
      const std::size_t budget = layer_.ReadBudget;
      if (next_ >= budget && next_ < bytes_.size()) {
        if (layer_.FailReadWith == ReadFailure::OutOfMemory) throw std::bad_alloc();
        return -1;
      }
      const std::size_t chunk = layer_.ChunkOf ? layer_.ChunkOf(reads_++) : layer_.ReadChunk;
      const std::size_t n =
          std::min({size, chunk, bytes_.size() - next_, std::max(budget, next_) - next_});
      std::copy_n(bytes_.data() + next_, n, buffer);
      next_ += n;
      return static_cast<long long>(n);
    }

   private:
    const MemoryFileLayer& layer_;
    std::string bytes_;
    std::size_t next_ = 0;
    std::size_t reads_ = 0;
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

} // namespace TestFiles
