// The drive-test dialog in process: the reference drawing "lc.dwg" made at
// construction and gone after every way of ending (close box, Esc, a dialog
// that never ran), and what initialisation loads.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "DTDlg.h"
#include "settingdb.h"
#include "dbsymtb.h"
#include "wintest.h"

namespace {

// Records what the dialog holds once it is initialised.
class CDTDlgProbe : public CDTDlg {
 public:
  int m_nTypesAtInit = -1;
  int m_nPointsAtInit = -1;
  int m_nDrawAtInit = -1;
  bool m_bFileAtInit = false;

 protected:
  BOOL OnInitDialog() override {
    BOOL bResult = CDTDlg::OnInitDialog();
    m_nTypesAtInit = (int)m_typeNames.GetSize();
    m_nPointsAtInit = m_nPointCount;
    m_nDrawAtInit = m_nDrawCount;
    m_bFileAtInit = std::filesystem::exists(m_strFile);
    return bResult;
  }

 public:
  std::string m_strFile;
};

class DTDlgTest : public testdb::SettingDbTest {
 protected:
  void SetUp() override {
    SettingDbTest::SetUp();
    MakeDatabase();
  }
  std::string RefFile() const { return m_dir + "/lc.dwg"; }
};

TEST_F(DTDlgTest, TheReferenceDrawingLivesFromConstructionToTheEndOfADialogThatNeverRan) {
  {
    CDTDlg dlg;
    ASSERT_NE(nullptr, dlg.m_pRefDb);
    EXPECT_TRUE(std::filesystem::exists(RefFile()));
    // Read back: the drawing's model space is there to be shown.
    AcDbBlockTable* pTable = nullptr;
    ASSERT_EQ(Acad::eOk, dlg.m_pRefDb->getBlockTable(pTable, AcDb::kForRead));
    EXPECT_TRUE(pTable->has(ACDB_MODEL_SPACE));
    pTable->close();
  }
  // No DoModal, so no CleanUp: the destructor released what it could.
  EXPECT_FALSE(std::filesystem::exists(RefFile()));
}

TEST_F(DTDlgTest, AnOlderFileIsReplacedByTheNewDrawing) {
  { std::ofstream(RefFile()) << "not a drawing"; }
  CDTDlg dlg;
  ASSERT_NE(nullptr, dlg.m_pRefDb);
  std::ifstream in(RefFile());
  std::string first;
  std::getline(in, first);
  EXPECT_NE("not a drawing", first);
}

TEST_F(DTDlgTest, InitialisationLoadsGsmAndEveryWayOfClosingCleansUp) {
  for (const char* close : {"@close", "@key ESC", "@click 2"}) {
    wintest::Transcript transcript;
    wintest::Script({close});
    CDTDlgProbe dlg;
    dlg.m_strFile = RefFile();
    dlg.DoModal();
    EXPECT_EQ(3, dlg.m_nTypesAtInit) << "the three GSM measurement types";
    EXPECT_EQ(2000, dlg.m_nPointsAtInit);
    EXPECT_EQ(200, dlg.m_nDrawAtInit);
    EXPECT_TRUE(dlg.m_bFileAtInit);
    EXPECT_FALSE(std::filesystem::exists(RefFile())) << close;
    EXPECT_EQ(nullptr, dlg.m_pRefDb) << close;
    EXPECT_TRUE(dlg.m_levelMap.IsEmpty()) << close << ": the band map freed its arrays";
    EXPECT_EQ(0, dlg.m_typeNames.GetSize()) << close;
  }
}

}  // namespace
