// The level-band table: shares turned into counts, loading the groups of a
// network type, NULLs and failures, and writing the band names back.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "DBHelper.h"
#include "LevelBands.h"
#include "settingdb.h"

namespace {

using testdb::SettingDbTest;

std::vector<int> Counts(std::vector<int> shares, int nPointCount) {
  CLevelBandArray bands;
  for (int share : shares) {
    levelmapdb band;
    band.num = share;
    bands.Add(band);
  }
  CLevelBandTable::ConvertSharesToCounts(bands, nPointCount);
  std::vector<int> counts;
  for (INT_PTR i = 0; i < bands.GetSize(); ++i) counts.push_back(bands[i].num);
  return counts;
}

using V = std::vector<int>;

TEST(ShareConversion, CountsAndTheCorrectionOfTheLastPositiveBand) {
  EXPECT_EQ((V{1000, 600, 400}), Counts({50, 30, 20}, 2000));
  EXPECT_EQ((V{33, 33, 34}), Counts({33, 33, 33}, 100));
  EXPECT_EQ((V{33, 33, 34, 0}), Counts({33, 33, 33, 0}, 100));
  EXPECT_EQ((V{7, 0, 0}), Counts({0, 0, 0}, 7));
  EXPECT_EQ((V{60, 40}), Counts({60, 60}, 100));
  EXPECT_EQ((V{90, 90, 10}), Counts({90, 90, 10}, 100));
  EXPECT_EQ((V{3, -5, 7}), Counts({33, -5, 33}, 10));  // bands without a positive share keep their value
  EXPECT_EQ((V{}), Counts({}, 100));
}

TEST(ShareConversion, LargeCountsDoNotOverflow) {
  // 30 000 000 x 50 overflows 32 bits; the 64-bit result is exact.
  EXPECT_EQ((V{15000000, 9000000, 6000000}), Counts({50, 30, 20}, 30000000));
  EXPECT_EQ((V{INT_MAX / 2, INT_MAX - INT_MAX / 2}), Counts({50, 50}, INT_MAX));
  EXPECT_EQ((V{INT_MAX, 0}), Counts({200, 0}, INT_MAX));  // a share past 100 saturates
  // Where 32 bits did not overflow, the results are the same as before.
  EXPECT_EQ((V{7086695, 7086695, 7301446}), Counts({33, 33, 34}, 21474836));
}

class BandTableTest : public SettingDbTest {
 protected:
  void TearDown() override {
    CLevelBandTable::ClearBandMap(m_levelMap);
    SettingDbTest::TearDown();
  }

  CLevelBandArray* Group(const wchar_t* name) {
    CLevelBandArray* pBands = nullptr;
    return m_levelMap.Lookup(name, pBands) ? pBands : nullptr;
  }

  CLevelBandMap m_levelMap;
  CStringArray m_typeNames;
};

TEST_F(BandTableTest, LoadsTheGroupsOfANetworkTypeInOrder) {
  MakeDatabase();
  ASSERT_TRUE(CLevelBandTable::LoadBandTable(_T("WCDMA"), 1000, m_levelMap, m_typeNames));
  ASSERT_EQ(3, m_typeNames.GetSize());
  EXPECT_EQ(CString(_T("RSCP(dBm)")), m_typeNames[0]);
  EXPECT_EQ(CString(_T("Ec/Io(dB)")), m_typeNames[1]);
  EXPECT_EQ(CString(_T("UE TxPower(dBm)")), m_typeNames[2]);
  EXPECT_EQ(17u, m_levelMap.GetHashTableSize());
  CLevelBandArray* pRscp = Group(_T("RSCP(dBm)"));
  ASSERT_NE(nullptr, pRscp);
  ASSERT_EQ(6, pRscp->GetSize());
  EXPECT_EQ(CString(_T("401")), (*pRscp)[0].head);
  EXPECT_EQ(3, (*pRscp)[0].color);
  EXPECT_EQ(CString(_T("[-75,-25)")), (*pRscp)[0].name);
  EXPECT_EQ(200, (*pRscp)[0].num);
  EXPECT_EQ(0, (*pRscp)[0].remain);
  // Every group of the seed: 4 to 7 bands, distinct colours, counts adding up to N.
  for (INT_PTR g = 0; g < m_typeNames.GetSize(); ++g) {
    CLevelBandArray* pBands = Group(m_typeNames[g]);
    ASSERT_NE(nullptr, pBands);
    EXPECT_GE(pBands->GetSize(), 4);
    EXPECT_LE(pBands->GetSize(), 7);
    int nSum = 0;
    for (INT_PTR i = 0; i < pBands->GetSize(); ++i) {
      nSum += (*pBands)[i].num;
      for (INT_PTR j = 0; j < i; ++j) EXPECT_NE((*pBands)[i].color, (*pBands)[j].color);
    }
    EXPECT_EQ(1000, nSum) << m_typeNames[g].ToUtf8();
  }
  // Loading another network type replaces everything.
  ASSERT_TRUE(CLevelBandTable::LoadBandTable(_T("GSM"), 10, m_levelMap, m_typeNames));
  EXPECT_EQ(3, m_typeNames.GetSize());
  EXPECT_EQ(nullptr, Group(_T("RSCP(dBm)")));
  EXPECT_EQ(3, m_levelMap.GetCount());
  EXPECT_EQ("", Transcript());
}

TEST_F(BandTableTest, NoTypeNoConnectionOrNoRows) {
  EXPECT_FALSE(CLevelBandTable::LoadBandTable(_T(""), 100, m_levelMap, m_typeNames));
  EXPECT_FALSE(CLevelBandTable::LoadBandTable(_T("GSM"), 100, m_levelMap, m_typeNames));  // no database
  EXPECT_NE(std::string::npos, Transcript().find("Could not find file"));
  MakeDatabase();
  ASSERT_TRUE(CLevelBandTable::LoadBandTable(_T("GSM"), 100, m_levelMap, m_typeNames));
  EXPECT_TRUE(CLevelBandTable::LoadBandTable(_T("LTE"), 100, m_levelMap, m_typeNames));
  EXPECT_EQ(0, m_typeNames.GetSize());
  EXPECT_EQ(0, m_levelMap.GetCount());
  // A network type with an apostrophe is a value, not SQL.
  EXPECT_TRUE(CLevelBandTable::LoadBandTable(_T("GSM' OR '1'='1"), 100, m_levelMap, m_typeNames));
  EXPECT_EQ(0, m_levelMap.GetCount());
}

TEST_F(BandTableTest, NullsSkippedRowsAndGroupsOfTheSameName) {
  MakeDatabase("INSERT INTO LEVELMAP VALUES (3, 'TEST');"
               "INSERT INTO LEVELMAPTYPE VALUES (10, 3, 'G', 1);"
               "INSERT INTO LEVELMAPTYPE VALUES (11, 3, NULL, 2);"
               "INSERT INTO LEVELMAPTYPE VALUES (12, 3, 'G', 3);"
               "INSERT INTO LEVELMAPDATA VALUES (10, 1001, 'a', 1, 50, 1);"
               "INSERT INTO LEVELMAPDATA VALUES (11, 1002, 'skipped', 2, 50, 1);"
               "INSERT INTO LEVELMAPDATA VALUES (12, 1003, NULL, NULL, NULL, 1);"
               "INSERT INTO LEVELMAPDATA VALUES (12, NULL, 'c', 4, 25, 2);");
  ASSERT_TRUE(CLevelBandTable::LoadBandTable(_T("TEST"), 100, m_levelMap, m_typeNames));
  ASSERT_EQ(1, m_typeNames.GetSize());
  CLevelBandArray* pBands = Group(_T("G"));
  ASSERT_NE(nullptr, pBands);
  ASSERT_EQ(3, pBands->GetSize());
  EXPECT_EQ(CString(_T("a")), (*pBands)[0].name);
  EXPECT_EQ(50, (*pBands)[0].num);
  EXPECT_TRUE((*pBands)[1].name.IsEmpty());
  EXPECT_EQ(0, (*pBands)[1].color);
  EXPECT_EQ(0, (*pBands)[1].num);
  EXPECT_EQ(CString(_T("1003")), (*pBands)[1].head);
  EXPECT_TRUE((*pBands)[2].head.IsEmpty());
  EXPECT_EQ(50, (*pBands)[2].num);  // 25, corrected to make the group add up to 100
}

TEST_F(BandTableTest, FailingQueryReportsAndKeepsWhatWasRead) {
  MakeDatabase("INSERT INTO LEVELMAPDATA VALUES (1, 107, 'bad', 'red', 5, 7);");
  EXPECT_FALSE(CLevelBandTable::LoadBandTable(_T("GSM"), 100, m_levelMap, m_typeNames));
  EXPECT_EQ("\nType mismatch.", Transcript());
  CLevelBandArray* pBands = Group(_T("RxLev(dBm)"));
  ASSERT_NE(nullptr, pBands);
  EXPECT_EQ(6, pBands->GetSize());
  EXPECT_EQ(25, (*pBands)[0].num);  // shares, not converted
}

TEST_F(BandTableTest, NamesWithApostrophesRoundTrip) {
  MakeDatabase();
  ASSERT_TRUE(CLevelBandTable::LoadBandTable(_T("GSM"), 100, m_levelMap, m_typeNames));
  Group(_T("RxLev(dBm)"))->ElementAt(1).name = _T("O'Brien [-75,-65)");
  Group(_T("C/I(dB)"))->ElementAt(4).name = _T("'); DROP TABLE LEVELMAPDATA; --");
  CLevelBandTable::SaveBandNames(m_levelMap, m_typeNames);
  EXPECT_EQ("", Transcript());
  ASSERT_TRUE(CLevelBandTable::LoadBandTable(_T("GSM"), 100, m_levelMap, m_typeNames));
  EXPECT_EQ(CString(_T("O'Brien [-75,-65)")), Group(_T("RxLev(dBm)"))->GetAt(1).name);
  EXPECT_EQ(CString(_T("'); DROP TABLE LEVELMAPDATA; --")), Group(_T("C/I(dB)"))->GetAt(4).name);
  EXPECT_EQ(CString(_T("[-75,-65)")), Group(_T("RxLev(dBm)"))->GetAt(1).name.Right(9));
  // The other network type is untouched.
  ASSERT_TRUE(CLevelBandTable::LoadBandTable(_T("WCDMA"), 100, m_levelMap, m_typeNames));
  EXPECT_EQ(CString(_T("[-85,-75)")), Group(_T("RSCP(dBm)"))->GetAt(1).name);
}

TEST_F(BandTableTest, SavingWithoutAConnectionReportsEachUpdate) {
  MakeDatabase();
  ASSERT_TRUE(CLevelBandTable::LoadBandTable(_T("GSM"), 100, m_levelMap, m_typeNames));
  CDBHelper::DisconnectDatabase();
  ASSERT_EQ(0, std::rename((m_dir + "/setting.mdb").c_str(), (m_dir + "/moved.mdb").c_str()));
  CLevelBandTable::SaveBandNames(m_levelMap, m_typeNames);
  // One open failure per band (15 bands of GSM), nothing else.
  std::string transcript = Transcript();
  size_t count = 0;
  for (size_t pos = transcript.find("\nCould not find file"); pos != std::string::npos;
       pos = transcript.find("\nCould not find file", pos + 1)) {
    ++count;
  }
  EXPECT_EQ(15u, count) << transcript;
}

TEST_F(BandTableTest, AFailingUpdateDoesNotStopTheOthers) {
  MakeDatabase();
  ASSERT_TRUE(CLevelBandTable::LoadBandTable(_T("GSM"), 100, m_levelMap, m_typeNames));
  Group(_T("RxLev(dBm)"))->ElementAt(0).head = _T("");  // makes "WHERE HEAD = " fail
  Group(_T("RxLev(dBm)"))->ElementAt(0).name = _T("lost");
  Group(_T("RxQual"))->ElementAt(0).name = _T("kept");
  CLevelBandTable::SaveBandNames(m_levelMap, m_typeNames);
  EXPECT_NE(std::string::npos, Transcript().find("syntax error")) << Transcript();
  ASSERT_TRUE(CLevelBandTable::LoadBandTable(_T("GSM"), 100, m_levelMap, m_typeNames));
  EXPECT_EQ(CString(_T("[-65,-10)")), Group(_T("RxLev(dBm)"))->GetAt(0).name);
  EXPECT_EQ(CString(_T("kept")), Group(_T("RxQual"))->GetAt(0).name);
}

// The shared connection with two faults it can be told to have: a commit
// that fails before it reaches the database, and a statement that throws
// something other than a COM error. Everything else goes to the real one.
class FaultyConnection : public com::RefCounted<_Connection> {
 public:
  explicit FaultyConnection(_ConnectionPtr real) : m_real(std::move(real)) {}
  HRESULT Open(const _bstr_t& s, const _bstr_t& u, const _bstr_t& p, long o) override { return m_real->Open(s, u, p, o); }
  HRESULT Close() override { return m_real->Close(); }
  _RecordsetPtr Execute(const _bstr_t& text, VARIANT* affected, long options) override {
    if (++m_executed == m_throwAt) throw std::runtime_error("out of luck");
    return m_real->Execute(text, affected, options);
  }
  long GetState() override { return m_real->GetState(); }
  _bstr_t GetConnectionString() override { return m_real->GetConnectionString(); }
  long BeginTrans() override { return m_real->BeginTrans(); }
  HRESULT CommitTrans() override {
    if (m_failCommit) throw _com_error(E_FAIL, L"Disk or network error.");
    return m_real->CommitTrans();
  }
  HRESULT RollbackTrans() override { return m_real->RollbackTrans(); }

  _ConnectionPtr m_real;
  int m_executed = 0;
  int m_throwAt = -1;
  bool m_failCommit = false;
};

class BandSaveFaultTest : public BandTableTest {
 protected:
  void SetUp() override {
    BandTableTest::SetUp();
    MakeDatabase();
    ASSERT_TRUE(CLevelBandTable::LoadBandTable(_T("GSM"), 100, m_levelMap, m_typeNames));
    m_faulty = new FaultyConnection(CDBHelper::m_mdbConnect);
    m_keepFaulty = _ConnectionPtr(m_faulty);
    CDBHelper::m_mdbConnect = m_keepFaulty;
  }
  void TearDown() override {
    UseRealConnection();
    BandTableTest::TearDown();
  }
  // Readers open recordsets on the engine's own connection only.
  void UseRealConnection() {
    if (m_faulty != nullptr) CDBHelper::m_mdbConnect = m_faulty->m_real;
  }
  // The real connection is in no transaction: a new one can begin.
  void ExpectNoOpenTransaction() {
    EXPECT_NO_THROW({
      m_faulty->m_real->BeginTrans();
      m_faulty->m_real->RollbackTrans();
    });
  }
  FaultyConnection* m_faulty = nullptr;
  _ConnectionPtr m_keepFaulty;  // keeps m_faulty alive after the swap back
};

TEST_F(BandSaveFaultTest, AFailedCommitKeepsEveryUpdateThatCanSucceed) {
  m_faulty->m_failCommit = true;
  Group(_T("RxLev(dBm)"))->ElementAt(0).head = _T("");  // this update fails on its own
  Group(_T("RxLev(dBm)"))->ElementAt(0).name = _T("lost");
  Group(_T("RxLev(dBm)"))->ElementAt(1).name = _T("first");
  Group(_T("C/I(dB)"))->ElementAt(4).name = _T("last");
  CLevelBandTable::SaveBandNames(m_levelMap, m_typeNames);
  std::string transcript = Transcript();
  EXPECT_NE(std::string::npos, transcript.find("\nDisk or network error.")) << transcript;
  // The failing update is reported once, not again in the retry.
  size_t first = transcript.find("syntax error");
  ASSERT_NE(std::string::npos, first) << transcript;
  EXPECT_EQ(std::string::npos, transcript.find("syntax error", first + 1)) << transcript;
  ExpectNoOpenTransaction();
  UseRealConnection();
  ASSERT_TRUE(CLevelBandTable::LoadBandTable(_T("GSM"), 100, m_levelMap, m_typeNames));
  EXPECT_EQ(CString(_T("first")), Group(_T("RxLev(dBm)"))->GetAt(1).name);
  EXPECT_EQ(CString(_T("last")), Group(_T("C/I(dB)"))->GetAt(4).name);
  EXPECT_EQ(CString(_T("[-65,-10)")), Group(_T("RxLev(dBm)"))->GetAt(0).name);
}

TEST_F(BandSaveFaultTest, AnExceptionMidwayRollsBackAndLeavesNoTransactionOpen) {
  Group(_T("RxLev(dBm)"))->ElementAt(0).name = _T("written before the fault");
  Group(_T("C/I(dB)"))->ElementAt(4).name = _T("never written");
  m_faulty->m_throwAt = 3;
  EXPECT_THROW(CLevelBandTable::SaveBandNames(m_levelMap, m_typeNames), std::runtime_error);
  ExpectNoOpenTransaction();
  UseRealConnection();
  // Nothing of the interrupted save reached the database.
  ASSERT_TRUE(CLevelBandTable::LoadBandTable(_T("GSM"), 100, m_levelMap, m_typeNames));
  EXPECT_EQ(CString(_T("[-65,-10)")), Group(_T("RxLev(dBm)"))->GetAt(0).name);
  EXPECT_NE(CString(_T("never written")), Group(_T("C/I(dB)"))->GetAt(4).name);
  // The connection still works: the next save keeps its names.
  Group(_T("RxLev(dBm)"))->ElementAt(0).name = _T("saved later");
  CLevelBandTable::SaveBandNames(m_levelMap, m_typeNames);
  ASSERT_TRUE(CLevelBandTable::LoadBandTable(_T("GSM"), 100, m_levelMap, m_typeNames));
  EXPECT_EQ(CString(_T("saved later")), Group(_T("RxLev(dBm)"))->GetAt(0).name);
}

}  // namespace
