// Loading the band table of one network type over an open connection, and
// writing all its names back, on a database in a temporary folder.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <cwchar>
#include <sstream>
#include <string>

#include "DBHelper.h"
#include "GlobalVars.h"
#include "LevelBands.h"
#include "mdbbuild.h"
#include "paths.h"
#include "testdata.h"
#include "transcript.h"

namespace {

class TempDatabase {
 public:
  TempDatabase() {
    char pattern[] = "/tmp/db_bench_XXXXXX";
    if (!mkdtemp(pattern)) std::abort();
    m_dir = pattern;
    std::string sql, error;
    if (!mdbbuild::ReadFile(testdata::kSettingSql, sql) ||
        !mdbbuild::BuildDatabase(sql, m_dir + "/setting.mdb", testdata::kSettingMdbPassword, error)) {
      std::abort();
    }
    std::wstring folder = win::ToWindowsPath(m_dir) + L"\\";
    wcscpy(CGlobalVars::g_CurPath, folder.c_str());
    user::SetSink(&m_transcript);
    if (!CDBHelper::ConnectDatabase()) std::abort();
  }
  ~TempDatabase() {
    CDBHelper::DisconnectDatabase();
    std::string command = "rm -rf '" + m_dir + "'";
    if (std::system(command.c_str()) != 0) std::abort();
  }

 private:
  std::string m_dir;
  std::ostringstream m_transcript;
};

void BM_LoadBandTable(benchmark::State& state) {
  TempDatabase database;
  CLevelBandMap levelMap;
  CStringArray typeNames;
  for (auto _ : state) {
    if (!CLevelBandTable::LoadBandTable(_T("GSM"), 2000, levelMap, typeNames)) state.SkipWithError("load failed");
  }
  CLevelBandTable::ClearBandMap(levelMap);
}
BENCHMARK(BM_LoadBandTable)->Unit(benchmark::kMillisecond);

void BM_SaveBandNames(benchmark::State& state) {
  TempDatabase database;
  CLevelBandMap levelMap;
  CStringArray typeNames;
  if (!CLevelBandTable::LoadBandTable(_T("GSM"), 2000, levelMap, typeNames)) state.SkipWithError("load failed");
  for (auto _ : state) CLevelBandTable::SaveBandNames(levelMap, typeNames);
  CLevelBandTable::ClearBandMap(levelMap);
}
BENCHMARK(BM_SaveBandNames)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
