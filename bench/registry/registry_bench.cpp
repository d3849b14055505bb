// Opening, reading and writing one value in a hive of a few thousand keys,
// and what parsing the whole hive costs (once per change of the file).
#include "registry_hive.h"
#include "winreg.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace {

// A hive of `keys` product keys (50 per vendor) with three values each.
win::registry::Key& BuildTree(win::registry::Key& root, int keys) {
  auto& software = root.Child(L"Software");
  for (int k = 0; k < keys; ++k) {
    auto& vendor = software.Child(L"Vendor" + std::to_wstring(k / 50));
    auto& product = vendor.Child(L"Product" + std::to_wstring(k % 50));
    const std::wstring text = L"C:\\Program Files\\Vendor\\Product " + std::to_wstring(k);
    std::vector<BYTE> bytes;
    for (wchar_t c : text) bytes.insert(bytes.end(), {static_cast<BYTE>(c), 0});
    bytes.insert(bytes.end(), {0, 0});
    product.SetValue(L"InstallPath", REG_SZ, bytes);
    product.SetValue(L"Version", REG_DWORD, {1, 0, 0, 0});
    product.SetValue(L"Flags", REG_BINARY, {1, 2, 3, 4, 5, 6, 7, 8});
  }
  return root;
}

// Points MARLO_PREFIX at a prefix holding an HKCU hive of that many keys,
// made once per size and removed at exit.
void UseHiveOf(int keys) {
  static std::map<int, std::string> prefixes;
  auto& dir = prefixes[keys];
  if (dir.empty()) {
    char pattern[] = "/tmp/marlo-reg-bench-XXXXXX";
    dir = mkdtemp(pattern);
    std::filesystem::create_directories(dir + "/registry");
    win::registry::Key root;
    std::ofstream(dir + "/registry/HKCU.reg")
        << win::registry::FormatHive(BuildTree(root, keys), L"HKEY_CURRENT_USER", "gen=1 id=0");
    if (prefixes.size() == 1)
      std::atexit([] {
        std::error_code ec;
        for (const auto& [n, path] : prefixes) std::filesystem::remove_all(path, ec);
      });
  }
  ::setenv("MARLO_PREFIX", dir.c_str(), 1);
}

const wchar_t* const kKey = L"Software\\Vendor3\\Product17";

void BM_OpenReadClose(benchmark::State& state) {
  UseHiveOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) state.SkipWithError("open");
    wchar_t text[128];
    DWORD size = 255;
    if (RegQueryValueExW(key, L"InstallPath", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) !=
        ERROR_SUCCESS)
      state.SkipWithError("query");
    RegCloseKey(key);
  }
}
BENCHMARK(BM_OpenReadClose)->Arg(1000)->Arg(3000)->Unit(benchmark::kMicrosecond);

// Every write syncs the new hive file to the disk before it replaces the
// old one; on a slow disk that sync is most of the time.
void BM_OpenWriteClose(benchmark::State& state) {
  UseHiveOf(static_cast<int>(state.range(0)));
  DWORD n = 0;
  for (auto _ : state) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_WRITE, &key) != ERROR_SUCCESS) state.SkipWithError("open");
    ++n;  // a new value every time, so every call really writes the hive
    if (RegSetValueExW(key, L"Version", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&n), 4) != ERROR_SUCCESS)
      state.SkipWithError("set");
    RegCloseKey(key);
  }
}
BENCHMARK(BM_OpenWriteClose)->Arg(1000)->Arg(3000)->Unit(benchmark::kMicrosecond);

void BM_ParseWholeHive(benchmark::State& state) {
  win::registry::Key root;
  const std::string text =
      win::registry::FormatHive(BuildTree(root, static_cast<int>(state.range(0))), L"HKEY_CURRENT_USER", "gen=1 id=0");
  for (auto _ : state) {
    win::registry::Key parsed;
    benchmark::DoNotOptimize(win::registry::ParseHive(text, L"HKEY_CURRENT_USER", parsed).ok);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
// What every call would cost without the parsed copy kept per file.
BENCHMARK(BM_ParseWholeHive)->Arg(3000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
