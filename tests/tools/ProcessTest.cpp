// Starting the tool: exit codes come back, a program that hangs is ended
// after the time limit, and a missing program is reported, not run.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "tools/jwhost/Process.h"

namespace {

using JwHost::RunProcess;

TEST(Process, ReportsTheExitCodeAndRunsInTheWorkFolder) {
  const auto folder = std::filesystem::temp_directory_path();
  const auto r = RunProcess(
      {"sh", "-c", "test \"$(pwd -P)\" = \"$(cd \"$0\" && pwd -P)\" && exit 3", folder.string()},
      folder, 30);
  EXPECT_TRUE(r.Started) << r.Error;
  EXPECT_FALSE(r.TimedOut);
  EXPECT_EQ(r.ExitCode, 3);
}

TEST(Process, HangingProgramIsEndedAfterTheLimit) {
  const auto start = std::chrono::steady_clock::now();
  const auto r = RunProcess({"sh", "-c", "sleep 30 & sleep 30"}, ".", 1);
  EXPECT_TRUE(r.Started);
  EXPECT_TRUE(r.TimedOut);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST(Process, MissingProgramIsReported) {
  const auto r = RunProcess({"/nonexistent/vomurel"}, ".", 5);
  EXPECT_FALSE(r.Started);
  EXPECT_NE(r.Error.find("/nonexistent/vomurel"), std::string::npos) << r.Error;
}

} // namespace
