// The file operations the core needs, behind one small interface so that
// tests can make creation, writing or replacing fail at a chosen point.
// Every file is opened in binary mode: line ends are bytes we write ourselves.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <system_error>

namespace Files {

class InFile {
 public:
  virtual ~InFile() = default;
  // Bytes read into buffer; 0 at the end of the file, -1 on an error.
  virtual long long Read(char* buffer, std::size_t size) = 0;
};

class OutFile {
 public:
  virtual ~OutFile() = default;
  virtual bool Write(const char* data, std::size_t size) = 0;
  // Flushes and closes; false when buffered bytes could not be written.
  virtual bool Close() = 0;
};

class FileLayer {
 public:
  virtual ~FileLayer() = default;
  virtual bool Exists(const std::filesystem::path& path) = 0;
  virtual std::unique_ptr<InFile> OpenRead(const std::filesystem::path& path) = 0;
  // Creates the file or empties an existing one; null when that fails.
  virtual std::unique_ptr<OutFile> Create(const std::filesystem::path& path) = 0;
  virtual bool Remove(const std::filesystem::path& path) = 0;
  // Moves from over to, replacing to if it exists.
  virtual bool Replace(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
  // The system's reason for the last operation of this layer that failed
  // (opening, writing, closing or replacing); empty when it is not known.
  virtual std::error_code LastError() const { return {}; }
};

// The layer in use: the real file system unless a test installed another.
FileLayer& Current();
// Installs layer (null: the real file system again); returns the one before.
FileLayer* Install(FileLayer* layer);
FileLayer& RealFileSystem();

} // namespace Files
