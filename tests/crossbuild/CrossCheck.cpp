// Runs many cases in one process, so that the native, 32-bit and 64-bit
// Windows builds can be compared byte for byte without a Wine start per case.
//   crosscheck generate <cases> <count> <seed>  random case folders (native only)
//   crosscheck run <cases> <out>                each case through the run driver
//                                               and the dialog's OK
//   crosscheck spawn <program> <cases> <out>    each case through the real program
// A case folder holds JWC_TEMP.TXT, vomurel.dat, in part of the cases
// vomurel.ini (drawing options), and "args" (the run mode). Folders r* are
// picked paths (runs 1 and 2), folders s* selected plans (the select run). Every output
// folder gets the rewritten JWC_TEMP.TXT; "run" adds ok.dat and, where there
// are options, ok.ini: the files that OK writes after visiting every tab.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "app/Unit1.h"
#include "settings/Dialog.h"
#include "tests/dialog/FakeDialogView.h"
#include "tests/support/SplitMix.h"
#include "tools/jwhost/Process.h"

namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Number(long long n) { return std::to_string(n); }

// A real written with up to 17 significant digits, the 16th often a 4, 5 or
// 9 so that rounding to 15 digits lands near a tie.
std::string Real(TestSupport::SplitMix& rng, bool allowNegative = true) {
  if (rng.Below(6) == 0) return Number(static_cast<long long>(rng.Below(2001)) - 1000);
  std::string digits;
  const std::uint32_t count = 1 + rng.Below(17);
  for (std::uint32_t i = 0; i < count; ++i) {
    if (i == 15 && rng.Below(2) == 0) {
      digits.push_back("459"[rng.Below(3)]);
    } else {
      digits.push_back(static_cast<char>('0' + rng.Below(10)));
    }
  }
  std::string text = allowNegative && rng.Below(2) == 0 ? "-" : "";
  const auto point = static_cast<std::size_t>(rng.Below(static_cast<std::uint32_t>(count + 3)));
  if (point >= count) return text + "0." + std::string(point - count, '0') + digits;
  return text + digits.substr(0, point + 1) + "." + digits.substr(point + 1);
}

// Options for most presets, so that the current one often has some: caps
// with overhangs near a tie, round corners, a key now and then left out.
std::string OptionsFile(TestSupport::SplitMix& rng) {
  std::string ini;
  for (int p = 1; p <= 20; ++p) {
    if (rng.Below(3) == 0) continue;
    ini += "[" + Number(p) + "]\r\n";
    const auto key = [&](const char* name, const std::string& value) {
      if (rng.Below(8) != 0) ini += std::string(name) + "=" + value + "\r\n";
    };
    key("StartCap", Number(rng.Below(2)));
    key("EndCap", Number(rng.Below(2)));
    key("CapOverhang", rng.Below(3) == 0 ? "0" : Real(rng));
    key("CapPaperUnit", Number(rng.Below(3) == 0));
    key("CapColor", Number(rng.Below(30)));
    key("CapLineType", Number(rng.Below(40)));
    key("CapLineWidth", Number(static_cast<long long>(rng.Below(40)) - 1));
    key("RoundCorners", Number(rng.Below(2)));
  }
  return ini;
}

// The host's scales, layer group, layer and pen.
std::string ExchangeHeader(TestSupport::SplitMix& rng) {
  const char* hex = "0123456789ABCDEF";
  std::string ex = "hs";
  for (int g = 0; g < 16; ++g) ex += " " + (rng.Below(3) == 0 ? Real(rng, false) : "100");
  ex += "\r\nlg" + std::string(1, hex[rng.Below(16)]) + "\r\nly" + hex[rng.Below(16)] + "\r\n";
  ex += "lc" + Number(rng.Below(10)) + "\r\nlt" + Number(rng.Below(10)) + "\r\n";
  if (rng.Below(2) == 0) ex += "lw" + Number(rng.Below(20)) + "\r\n";
  return ex;
}

// The settings file by hand, reals with more digits than the tool writes.
std::string SettingsFile(TestSupport::SplitMix& rng) {
  std::string dat = Number(rng.Below(800)) + "\r\n" + Number(rng.Below(600)) + "\r\n";
  dat += Number(1 + rng.Below(20)) + "\r\n";
  for (int p = 1; p <= 20; ++p) {
    dat += rng.Below(2) == 0 ? "\x95\xc7 " + Number(p) + "\r\n" : "\r\n";
    for (int r = 1; r <= 10; ++r) {
      dat += Number(rng.Below(3) != 0) + "\r\n" + Real(rng) + "\r\n" +
             (rng.Below(4) == 0 ? "0" : Real(rng, false)) + "\r\n" + Number(rng.Below(4) == 0) +
             "\r\n" + Number(rng.Below(30)) + "\r\n" + Number(rng.Below(40)) + "\r\n" +
             Number(static_cast<long long>(rng.Below(40)) - 1) + "\r\n";
    }
  }
  return dat;
}

// options draws from a stream of its own, so that the cases without options
// stay what they were before options existed.
void GenerateCase(TestSupport::SplitMix& rng, TestSupport::SplitMix& options,
                  const fs::path& folder) {
  fs::create_directories(folder);
  std::string ex = ExchangeHeader(rng);
  // Paths of 0 to 12 points, a few up to 99; some closed, some with a
  // repeated point, some along the axes.
  const std::uint32_t points = rng.Below(10) == 0 ? rng.Below(100) : rng.Below(13);
  std::vector<std::string> xs, ys;
  for (std::uint32_t i = 0; i < points; ++i) {
    const bool axis = i > 0 && rng.Below(4) == 0;
    xs.push_back(axis && rng.Below(2) == 0 ? xs.back() : Real(rng));
    ys.push_back(axis && xs.back() != xs[i - 1] ? ys.back() : Real(rng));
    if (i > 0 && rng.Below(20) == 0) ys.back() = ys[i - 1], xs.back() = xs[i - 1];
  }
  if (points > 2 && rng.Below(3) == 0) xs.back() = xs.front(), ys.back() = ys.front();
  for (std::uint32_t i = 0; i < points; ++i) {
    ex += "hp" + Number(i + 1) + " " + xs[i] + " " + ys[i] + "\r\n";
  }
  WriteBytes(folder / "JWC_TEMP.TXT", ex);
  WriteBytes(folder / "vomurel.dat", SettingsFile(rng));
  WriteBytes(folder / "args", rng.Below(4) == 0 ? "1" : "2");
  if (options.Below(3) == 0) WriteBytes(folder / "vomurel.ini", OptionsFile(options));
}

// A real that misses x by about the join distance, one side or the other.
std::string NearMiss(TestSupport::SplitMix& rng, const std::string& x) {
  double v = 0.0;
  std::from_chars(x.data(), x.data() + x.size(), v);
  static constexpr double Misses[] = {4e-7, -9e-7, 1.5e-6, -3e-6};
  v += Misses[rng.Below(4)];
  char text[32];
  const auto end = std::to_chars(text, text + sizeof(text), v).ptr;
  return {text, end};
}

// A selection of a small plan for the select run: walls on a grid whose
// lines sit at near-tie reals, each wall split at the junctions or drawn
// whole, some left out (T, L and free ends), some reversed or drawn twice,
// a few ends missing their node by about the join distance, a diagonal or
// two (skew T, Y), rooms traced again as polylines, and elements the run
// ignores: circles, texts and a picked point.
void GenerateSelectCase(TestSupport::SplitMix& rng, TestSupport::SplitMix& options,
                        const fs::path& folder) {
  fs::create_directories(folder);
  std::string ex = ExchangeHeader(rng);
  if (rng.Below(4) == 0) ex += "hp1 " + Real(rng) + " " + Real(rng) + "\r\n";
  const std::uint32_t nx = 1 + rng.Below(5);
  const std::uint32_t ny = 1 + rng.Below(4);
  // Grid positions: plan-like steps, or any real.
  std::vector<std::string> xs, ys;
  for (auto* v : {&xs, &ys}) {
    long long at = static_cast<long long>(rng.Below(2001)) - 1000;
    for (std::uint32_t i = 0; i <= (v == &xs ? nx : ny); ++i) {
      at += 455 * (1 + rng.Below(8));
      v->push_back(rng.Below(5) == 0 ? Real(rng) : Number(at));
    }
  }
  const auto line = [&](std::string x1, std::string y1, std::string x2, std::string y2) {
    if (rng.Below(5) == 0) std::swap(x1, x2), std::swap(y1, y2);
    if (rng.Below(25) == 0) x2 = NearMiss(rng, x2);
    ex += x1 + " " + y1 + " " + x2 + " " + y2 + "\r\n";
    if (rng.Below(15) == 0) ex += x2 + " " + y2 + " " + x1 + " " + y1 + "\r\n";
  };
  // Along each grid line: runs of walls, split or whole.
  for (int pass = 0; pass < 2; ++pass) {
    const auto& along = pass == 0 ? xs : ys;
    const auto& across = pass == 0 ? ys : xs;
    for (const std::string& c : across) {
      std::size_t i = 0;
      while (i + 1 < along.size()) {
        const std::size_t length = 1 + rng.Below(static_cast<std::uint32_t>(along.size() - 1 - i));
        const bool whole = rng.Below(3) == 0;
        if (rng.Below(6) != 0) {
          for (std::size_t k = i; k < i + length; k += whole ? length : 1) {
            const std::string& a = along[k];
            const std::string& b = along[whole ? i + length : k + 1];
            if (pass == 0) {
              line(a, c, b, c);
            } else {
              line(c, a, c, b);
            }
          }
        }
        i += length;
      }
      if (rng.Below(6) == 0) ex += "ci " + Real(rng) + " " + c + " " + Real(rng, false) + "\r\n";
    }
  }
  for (std::uint32_t d = rng.Below(3); d > 0; --d) {
    line(xs[rng.Below(nx + 1)], ys[rng.Below(ny + 1)], xs[rng.Below(nx + 1)],
         ys[rng.Below(ny + 1)]);
  }
  for (std::uint32_t p = rng.Below(3); p > 0; --p) {
    const std::uint32_t i = rng.Below(nx);
    const std::uint32_t j = rng.Below(ny);
    const std::string x[] = {xs[i], xs[i], xs[i + 1], xs[i + 1]};
    const std::string y[] = {ys[j], ys[j + 1], ys[j + 1], ys[j]};
    ex += "pl\r\n";
    for (int k = 0; k < 4; ++k) {
      ex += x[k] + " " + y[k] + " " + x[(k + 1) % 4] + " " + y[(k + 1) % 4] + "\r\n";
    }
    ex += "#\r\n";
  }
  if (rng.Below(3) == 0) ex += "ch " + xs[0] + " " + ys[0] + " 1 0 \"\x95\xc7\r\n";
  WriteBytes(folder / "JWC_TEMP.TXT", ex);
  WriteBytes(folder / "vomurel.dat", SettingsFile(rng));
  WriteBytes(folder / "args", "select");
  if (options.Below(2) == 0) WriteBytes(folder / "vomurel.ini", OptionsFile(options));
}

std::vector<fs::path> CaseFolders(const fs::path& cases) {
  std::vector<fs::path> folders;
  for (const auto& entry : fs::directory_iterator(cases)) {
    if (entry.is_directory()) folders.push_back(entry.path());
  }
  std::sort(folders.begin(), folders.end());
  return folders;
}

// The case's inputs copied into its output folder; returns the run mode.
std::string Prepare(const fs::path& folder, const fs::path& out) {
  fs::create_directories(out);
  for (const char* name : {"JWC_TEMP.TXT", "vomurel.dat", "vomurel.ini"}) {
    if (fs::exists(folder / name)) {
      fs::copy_file(folder / name, out / name, fs::copy_options::overwrite_existing);
    }
  }
  return ReadBytes(folder / "args");
}

void RunInProcess(const fs::path& folder, const fs::path& out) {
  const std::string mode = Prepare(folder, out);
  Unit1::TForm1 form(out / "vomurel.exe", {mode});
  form.FormShow(nullptr);
  form.FormClose();

  // OK after showing every tab: each preset goes through the controls.
  Settings::PresetTable table;
  Settings::LoadSettings(table, out / "vomurel.dat");
  Settings::LoadOptions(table, out / "vomurel.ini");
  Settings::FakeDialogView view;
  view.AddOptionControls();
  Settings::PresetDialog dialog(table, view);
  dialog.Open();
  const int current = view.Tab;
  for (int tab = 0; tab < Settings::PresetCount; ++tab) {
    dialog.TabControl1Changing();
    view.Tab = (current + 1 + tab) % Settings::PresetCount;
    dialog.TabControl1Change();
  }
  dialog.Button1Click(out / "ok.dat");
}

int Usage() {
  std::fputs(
      "usage: crosscheck generate <cases> <count> <seed> | run <cases> <out> |"
      " spawn <program> <cases> <out>\n",
      stderr);
  return 2;
}

} // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 4 && args[0] == "generate") {
    int count = 0;
    unsigned long long seed = 0;
    std::from_chars(args[2].data(), args[2].data() + args[2].size(), count);
    std::from_chars(args[3].data(), args[3].data() + args[3].size(), seed);
    TestSupport::SplitMix rng(seed);
    TestSupport::SplitMix options(~seed);
    const auto folder = [&](const char* kind, int i) {
      const std::string name = Number(i);
      return fs::path(args[1]) / (kind + std::string(5 - name.size(), '0') + name);
    };
    for (int i = 0; i < count; ++i) GenerateCase(rng, options, folder("r", i));
    // Select cases draw from streams of their own: the path cases stay as
    // they were.
    TestSupport::SplitMix plans(seed ^ 0x5E1EC7ull);
    TestSupport::SplitMix planOptions(~seed ^ 0x5E1EC7ull);
    for (int i = 0; i < count / 5; ++i) GenerateSelectCase(plans, planOptions, folder("s", i));
    return 0;
  }
  if (args.size() == 3 && args[0] == "run") {
    for (const auto& folder : CaseFolders(args[1])) {
      RunInProcess(folder, fs::path(args[2]) / folder.filename());
    }
    return 0;
  }
  if (args.size() == 4 && args[0] == "spawn") {
    const fs::path program(args[1]);
    int failures = 0;
    for (const auto& folder : CaseFolders(args[2])) {
      const fs::path out = fs::path(args[3]) / folder.filename();
      const std::string mode = Prepare(folder, out);
      const fs::path copy = out / ("vomurel" + program.extension().string());
      fs::copy_file(program, copy, fs::copy_options::overwrite_existing);
      const JwHost::ProcessResult r = JwHost::RunProcess({copy.string(), mode}, out, 120);
      if (!r.Started || r.TimedOut || r.ExitCode != 0) ++failures;
      fs::remove(copy);
    }
    return failures == 0 ? 0 : 1;
  }
  return Usage();
}
