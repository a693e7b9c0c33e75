// Writing onto a real, small file system that runs full part way through:
// the settings file must keep its previous bytes with no temporary file left
// beside it, and no partly written exchange file may remain for the host.
// Needs a tmpfs mount (Linux, run as root); skipped where there is none.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "RobustSupport.h"

#ifdef __linux__
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace {

namespace fs = std::filesystem;
using Robust::ReadFileBytes;
using Robust::WriteFileBytes;

constexpr std::size_t Page = 4096;

class FullDisk : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef __linux__
    GTEST_SKIP() << "the full-disk cases need a Linux tmpfs mount";
#else
    static int counter = 0;
    mountPoint_ = fs::temp_directory_path() / ("vomurel-fulldisk-" + std::to_string(getpid()) +
                                               "-" + std::to_string(counter++));
    fs::create_directories(mountPoint_);
    if (mount("tmpfs", mountPoint_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV | MS_NOEXEC,
              "size=64k,mode=0700") != 0) {
      const int error = errno;
      fs::remove(mountPoint_);
      GTEST_SKIP() << "cannot mount a 64 KB tmpfs (needs root or CAP_SYS_ADMIN): "
                   << std::strerror(error);
    }
    mounted_ = true;
#endif
  }

  void TearDown() override {
#ifdef __linux__
    if (mounted_) umount2(mountPoint_.c_str(), MNT_DETACH);
    std::error_code ec;
    fs::remove_all(mountPoint_, ec);
#endif
  }

  // Fills the file system with a file of its own, then gives back free bytes.
  void FillLeaving(std::size_t free) {
#ifdef __linux__
    const fs::path filler = mountPoint_ / "filler";
    const int fd = open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0) << std::strerror(errno);
    const std::string page(Page, 'f');
    off_t size = 0;
    for (;;) {
      const ssize_t n = write(fd, page.data(), page.size());
      if (n <= 0) break;
      size += n;
    }
    ASSERT_GE(static_cast<std::size_t>(size), free) << "the file system was too small to fill";
    ASSERT_EQ(ftruncate(fd, size - static_cast<off_t>(free)), 0) << std::strerror(errno);
    close(fd);
#else
    (void)free;
#endif
  }

  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(mountPoint_)) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  fs::path mountPoint_;
  bool mounted_ = false;
};

Settings::PresetTable PresetsWithComments(const std::string& comment, double interval) {
  Settings::PresetTable table;
  table.CurrentPreset = 3;
  for (int p = 1; p <= Settings::PresetCount; ++p) {
    table.Preset(p).Comment = comment;
    table.Preset(p).Row(1).Enabled = true;
    table.Preset(p).Row(1).Interval = interval;
  }
  return table;
}

TEST_F(FullDisk, FailedSettingsSaveKeepsThePreviousFile) {
  const fs::path path = mountPoint_ / "vomurel.dat";
  const Settings::PresetTable before = PresetsWithComments("old", 5);
  ASSERT_TRUE(Settings::SaveSettings(before, path));
  const std::string previous = ReadFileBytes(path);

  // Over 20 KB of comments: the write stops part way whether no page or a
  // few pages are left.
  const Settings::PresetTable after = PresetsWithComments(std::string(1100, 'n'), 7);
  for (std::size_t free : {std::size_t{0}, Page, 3 * Page}) {
    SCOPED_TRACE("free bytes " + std::to_string(free));
    FillLeaving(free);
    EXPECT_FALSE(Settings::SaveSettings(after, path));
    EXPECT_EQ(ReadFileBytes(path), previous);
    EXPECT_EQ(Names(), (std::set<std::string>{"filler", "vomurel.dat"}))
        << "a temporary file was left behind";
    Settings::PresetTable loaded;
    Settings::LoadSettings(loaded, path);
    EXPECT_EQ(loaded.Preset(1).Comment, "old");
    EXPECT_EQ(loaded.CurrentPreset, 3);
  }
}

std::string ZigZagHostFile(int points) {
  std::string out = "lg1\r\nly2\r\nlw0\r\n";
  for (int i = 1; i <= points; ++i) {
    out += "hp";
    MyFunc::AppendInt(out, i);
    out += ' ';
    MyFunc::AppendReal(out, i * 10.5);
    out += ' ';
    MyFunc::AppendReal(out, (i % 2) * 7.25);
    out += "\r\n";
  }
  return out;
}

Settings::TLineTable Rows(int count) {
  Settings::TLineTable preset;
  for (int r = 1; r <= count; ++r) {
    preset.Row(r).Enabled = true;
    preset.Row(r).Interval = r * 0.75 - 4;
    preset.Row(r).Chamfer = 0.5;
    preset.Row(r).Color = r;
  }
  return preset;
}

TEST_F(FullDisk, FailedExchangeWriteLeavesNoPartialFile) {
  const fs::path exchange = mountPoint_ / "JWC_TEMP.TXT";
  // Ten rows along 98 segments: far more than the pages left.
  for (std::size_t free : {std::size_t{0}, Page, 3 * Page}) {
    SCOPED_TRACE("free bytes " + std::to_string(free));
    fs::remove(mountPoint_ / "filler");
    ASSERT_TRUE(WriteFileBytes(exchange, ZigZagHostFile(99)));
    FillLeaving(free);
    EXPECT_FALSE(Robust::RunUnattendedRun(mountPoint_, Rows(10)));
    EXPECT_EQ(Names(), std::set<std::string>{"filler"}) << "a partly written file remains";
  }
}

// The same small file system with room enough: the run writes its file, so
// the failures above come from the full disk and not from the mount.
TEST_F(FullDisk, ExchangeWriteThatFitsSucceeds) {
  const fs::path exchange = mountPoint_ / "JWC_TEMP.TXT";
  ASSERT_TRUE(WriteFileBytes(exchange, ZigZagHostFile(3)));
  FillLeaving(Page);
  ASSERT_TRUE(Robust::RunUnattendedRun(mountPoint_, Rows(1)));
  EXPECT_TRUE(Robust::SaneOutput(ReadFileBytes(exchange), nullptr));
  EXPECT_EQ(ReadFileBytes(exchange).substr(0, 10), "lg1\r\nly2\r\n");
}

} // namespace
