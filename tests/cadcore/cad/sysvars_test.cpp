// System variables, the user coordinate system, prompts, angles, typing
// into the command line and the current view's rectangle.
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "cadtest.h"
#include "CommonUtils.h"
#include "GlobalVars.h"
#include "acedcmdline.h"
#include "acedcoord.h"
#include "acedcurview.h"
#include "acedview.h"
#include "edprompt.h"
#include "paths.h"

namespace {

const double kPi = std::acos(-1.0);

class SysvarsTest : public CadTest {
 protected:
  // A user coordinate system turned a quarter turn anticlockwise about
  // (10, 0, 0): user x is world +Y, user y is world -X.
  static void UseTurnedUcs() {
    AcGeMatrix3d mat;
    mat.setCoordSystem(AcGePoint3d(10, 0, 0), AcGeVector3d(0, 1, 0), AcGeVector3d(-1, 0, 0), AcGeVector3d(0, 0, 1));
    ASSERT_EQ(acedSetCurrentUCS(mat), Acad::eOk);
  }
  static void UseUcs(const AcGeVector3d& x, const AcGeVector3d& y) {
    AcGeMatrix3d mat;
    mat.setCoordSystem(AcGePoint3d::kOrigin, x, y, x.crossProduct(y));
    ASSERT_EQ(acedSetCurrentUCS(mat), Acad::eOk);
  }
  static void ExpectPoint(const AcGePoint3d& p, double x, double y, double z) {
    EXPECT_NEAR(p.x, x, 1e-9);
    EXPECT_NEAR(p.y, y, 1e-9);
    EXPECT_NEAR(p.z, z, 1e-9);
  }
  static AcGePoint3d LastPoint() {
    resbuf rb;
    EXPECT_EQ(acedGetVar(L"LASTPOINT", &rb), RTNORM);
    return AcGePoint3d(rb.resval.rpoint[0], rb.resval.rpoint[1], rb.resval.rpoint[2]);
  }
};

// ---- system variables -----------------------------------------------------

TEST_F(SysvarsTest, CmdEchoAndOsModeAreSetAndRead) {
  CCommonUtils::setOsMode(0);
  EXPECT_EQ(CCommonUtils::getOsMode(), 0);
  CCommonUtils::setOsMode(37);
  EXPECT_EQ(CCommonUtils::getOsMode(), 37);
  // A value the host refuses leaves the old one.
  CCommonUtils::setOsMode(20000);
  EXPECT_EQ(CCommonUtils::getOsMode(), 37);

  CCommonUtils::setCmdEcho(0);
  resbuf rb;
  ASSERT_EQ(acedGetVar(L"CMDECHO", &rb), RTNORM);
  EXPECT_EQ(rb.restype, RTSHORT);
  EXPECT_EQ(rb.resval.rint, 0);
  CCommonUtils::setCmdEcho(1);
  ASSERT_EQ(acedGetVar(L"CMDECHO", &rb), RTNORM);
  EXPECT_EQ(rb.resval.rint, 1);
}

TEST_F(SysvarsTest, UpdateLastPointStoresUserCoordinatesInATurnedUcs) {
  UseTurnedUcs();
  ASSERT_TRUE(CCommonUtils::updateLastPoint(AcGePoint3d(10, 5, 2)));
  ExpectPoint(LastPoint(), 5, 0, 2);
  // A relative answer starts from it: @1,0 is one user x step further,
  // that is one world Y step.
  Answer({"@1,0"});
  AcGePoint3d pt;
  ASSERT_TRUE(CCommonUtils::pickPoint(NULL, L"\nPoint: ", pt));
  ExpectPoint(pt, 10, 6, 2);
  EXPECT_EQ(Out().find("不能设置系统变量LASTPOINT"), std::string::npos);
}

TEST_F(SysvarsTest, DrawingFolderAndModuleFolder) {
  acad::SetDrawingPath(L"Z:\\plans\\floor 1.dwg");
  CString strPath(L"stale");
  CCommonUtils::GetCurDwgPath(strPath);
  EXPECT_EQ(strPath, CString(L"Z:\\plans\\"));

  // The folder of the Cadcore module file, as the module records it.
  CString strApp = CCommonUtils::getAppPath();
  std::string dbx = CADCORE_DBX;
  std::wstring folder = win::ToWindowsPath(dbx.substr(0, dbx.find_last_of('/') + 1));
  if (folder.back() != L'\\') folder += L'\\';
  EXPECT_EQ(std::wstring(strApp.GetString()), folder);
  EXPECT_EQ(strApp, CString(CGlobalVars::g_CurPath));
}

// ---- coordinates ----------------------------------------------------------

TEST_F(SysvarsTest, UserAndWorldConversionsAndMatrices) {
  UseTurnedUcs();
  ExpectPoint(CCommonUtils::pt_u2w(AcGePoint3d(1, 2, 3)), 8, 1, 3);
  ads_point ptIn = {8, 1, 3}, ptOut;
  CCommonUtils::sa_w2u(ptIn, ptOut);
  ExpectPoint(AcGePoint3d(ptOut[0], ptOut[1], ptOut[2]), 1, 2, 3);
  CCommonUtils::sa_u2w(ptOut, ptIn);
  ExpectPoint(AcGePoint3d(ptIn[0], ptIn[1], ptIn[2]), 8, 1, 3);

  AcGeMatrix3d toWorld, toUser;
  CCommonUtils::getUcsToWcsMat(toWorld);
  CCommonUtils::getWcsToUcsMat(toUser);
  ExpectPoint(AcGePoint3d(1, 2, 3).transformBy(toWorld), 8, 1, 3);
  ExpectPoint(AcGePoint3d(8, 1, 3).transformBy(toUser), 1, 2, 3);
  EXPECT_TRUE((toWorld * toUser).isEqualTo(AcGeMatrix3d::kIdentity));
}

TEST_F(SysvarsTest, ZOfTheUserSystem) {
  AcGeVector3d z;
  CCommonUtils::getZucs(z);
  EXPECT_TRUE(z.isEqualTo(AcGeVector3d::kZAxis));
  // Standing up: user y is world Z, so user z is world -Y.
  UseUcs(AcGeVector3d(1, 0, 0), AcGeVector3d(0, 0, 1));
  CCommonUtils::getZucs(z);
  EXPECT_TRUE(z.isEqualTo(AcGeVector3d(0, -1, 0))) << z.x << "," << z.y << "," << z.z;
}

TEST_F(SysvarsTest, UcsAngleUsesItsOwnFullTurnForClockwiseTurns) {
  double dAngle = -1;
  CCommonUtils::getUcsAngle(dAngle);
  EXPECT_NEAR(dAngle, 0, 1e-12);
  UseUcs(AcGeVector3d(0, 1, 0), AcGeVector3d(-1, 0, 0));
  CCommonUtils::getUcsAngle(dAngle);
  EXPECT_NEAR(dAngle, kPi / 2, 1e-12);
  UseUcs(AcGeVector3d(-1, 0, 0), AcGeVector3d(0, -1, 0));
  CCommonUtils::getUcsAngle(dAngle);
  EXPECT_NEAR(dAngle, kPi, 1e-12);
  // Clockwise: the full turn is the fixed 6.2831852, a little short of 2 pi.
  UseUcs(AcGeVector3d(0, -1, 0), AcGeVector3d(1, 0, 0));
  CCommonUtils::getUcsAngle(dAngle);
  EXPECT_NEAR(dAngle, 6.2831852 - kPi / 2, 1e-12);
  double s = std::sqrt(0.5);
  UseUcs(AcGeVector3d(s, -s, 0), AcGeVector3d(s, s, 0));
  CCommonUtils::getUcsAngle(dAngle);
  EXPECT_NEAR(dAngle, 6.2831852 - kPi / 4, 1e-12);
}

// ---- angles ---------------------------------------------------------------

TEST_F(SysvarsTest, GetAngleInBothModes) {
  EXPECT_EQ(CCommonUtils::getAngle(AcGeVector3d(0, 0, 0), 1), 0.0);
  EXPECT_EQ(CCommonUtils::getAngle(AcGeVector3d(0, 0, 0), 0), 0.0);
  EXPECT_NEAR(CCommonUtils::getAngle(AcGeVector3d(0, 2, 0), 1), kPi / 2, 1e-12);
  EXPECT_NEAR(CCommonUtils::getAngle(AcGeVector3d(-1, 0, 0), 1), kPi, 1e-12);
  EXPECT_NEAR(CCommonUtils::getAngle(AcGeVector3d(0, -1, 0), 1), 3 * kPi / 2, 1e-12);
  EXPECT_NEAR(CCommonUtils::getAngle(AcGeVector3d(1, -1, 0), 1), 7 * kPi / 4, 1e-12);
  // Along +X the angle is 0, not a full turn.
  EXPECT_EQ(CCommonUtils::getAngle(AcGeVector3d(3, 0, 0), 1), 0.0);
  EXPECT_NEAR(CCommonUtils::getAngle(AcGeVector3d(0, -1, 0), 0), -kPi / 2, 1e-12);
  EXPECT_NEAR(CCommonUtils::getAngle(AcGeVector3d(-1, -1, 0), 2), -3 * kPi / 4, 1e-12);
}

TEST_F(SysvarsTest, VectorAngleSameOppositeAndBySide) {
  double dAngle = -1;
  CCommonUtils::getVectorAngle(AcGeVector3d(2, 0, 0), AcGeVector3d(5, 0, 0), dAngle);
  EXPECT_EQ(dAngle, 0.0);
  CCommonUtils::getVectorAngle(AcGeVector3d(2, 0, 0), AcGeVector3d(-1, 0, 0), dAngle);
  EXPECT_NEAR(dAngle, kPi, 1e-12);
  // first x second points down: the angle between them.
  CCommonUtils::getVectorAngle(AcGeVector3d(0, 1, 0), AcGeVector3d(1, 0, 0), dAngle);
  EXPECT_NEAR(dAngle, kPi / 2, 1e-12);
  // The other side: a full turn less the angle.
  CCommonUtils::getVectorAngle(AcGeVector3d(1, 0, 0), AcGeVector3d(0, 1, 0), dAngle);
  EXPECT_NEAR(dAngle, 3 * kPi / 2, 1e-12);
  CCommonUtils::getVectorAngle(AcGeVector3d(1, 1, 0), AcGeVector3d(1, 0, 0), dAngle);
  EXPECT_NEAR(dAngle, kPi / 4, 1e-12);
}

TEST_F(SysvarsTest, AcuteAngleAndNormalDirectionWorkInTheUserPlane) {
  double dAngle = 0;
  CCommonUtils::getAcuteAngle(AcGeVector3d(1, 0, 0), dAngle);
  EXPECT_NEAR(dAngle, 1.5707963, 1e-12);
  CCommonUtils::getAcuteAngle(AcGeVector3d(0, 1, 0), dAngle);
  EXPECT_NEAR(dAngle, kPi / 2 + 1.5707963, 1e-12);
  AcGeVector3d normal;
  CCommonUtils::getNormalDirection(AcGeVector3d(3, 0, 0), normal);
  EXPECT_TRUE(normal.isEqualTo(AcGeVector3d(0, 1, 0)));

  // In the turned system world +Y is user +X.
  UseTurnedUcs();
  CCommonUtils::getAcuteAngle(AcGeVector3d(0, 1, 0), dAngle);
  EXPECT_NEAR(dAngle, 1.5707963, 1e-12);
  CCommonUtils::getAcuteAngle(AcGeVector3d(1, 0, 0), dAngle);
  EXPECT_NEAR(dAngle, 3 * kPi / 2 + 1.5707963, 1e-12);
  // Standing up: a quarter turn to the left of world X about user z (world -Y).
  UseUcs(AcGeVector3d(1, 0, 0), AcGeVector3d(0, 0, 1));
  CCommonUtils::getNormalDirection(AcGeVector3d(1, 0, 0), normal);
  EXPECT_TRUE(normal.isEqualTo(AcGeVector3d(0, 0, 1))) << normal.x << "," << normal.y << "," << normal.z;
  CCommonUtils::getNormalDirection(AcGeVector3d(0, 0, 0), normal);
  EXPECT_TRUE(normal.isZeroLength());
}

// ---- prompts --------------------------------------------------------------

TEST_F(SysvarsTest, PickPointWithoutBaseGivesWorldCoordinates) {
  UseTurnedUcs();
  Answer({"3,4"});
  AcGePoint3d pt;
  ASSERT_TRUE(CCommonUtils::pickPoint(NULL, L"\n选择点: ", pt));
  ExpectPoint(pt, 6, 3, 0);
  EXPECT_NE(Out().find("选择点: 3,4"), std::string::npos) << Out();
  Answer({""});
  AcGePoint3d untouched(1, 1, 1);
  EXPECT_FALSE(CCommonUtils::pickPoint(NULL, L"\nPoint: ", untouched));
  ExpectPoint(untouched, 1, 1, 1);
  Answer({"^C"});
  EXPECT_FALSE(CCommonUtils::pickPoint(NULL, L"\nPoint: ", untouched));
  Answer({});
  EXPECT_FALSE(CCommonUtils::pickPoint(NULL, L"\nPoint: ", untouched));
}

TEST_F(SysvarsTest, PickPointWithABaseInWorldCoordinates) {
  UseTurnedUcs();
  // The base (10, 5) is user (5, 0); @2,0 is two user x steps on.
  AcGePoint3d base(10, 5, 0);
  Answer({"@2,0"});
  AcGePoint3d pt;
  ASSERT_TRUE(CCommonUtils::pickPoint(&base, L"\nNext: ", pt));
  ExpectPoint(pt, 10, 7, 0);
  ExpectPoint(LastPoint(), 7, 0, 0);  // the host keeps the answer in user terms
  // Without a base the relative answer starts from the last point.
  Answer({"@0,1"});
  ASSERT_TRUE(CCommonUtils::pickPoint(NULL, L"\nNext: ", pt));
  ExpectPoint(pt, 9, 7, 0);
}

TEST_F(SysvarsTest, YesOrNoFromScriptedAnswers) {
  struct Case {
    const char* answer;
    bool expected;
  } cases[] = {{"", true}, {"Y", true}, {"yes", true}, {"Yes", true}, {"N", false}, {"no", false}, {"No", false},
               {"^C", false}};
  for (const Case& c : cases) {
    Answer({c.answer});
    EXPECT_EQ(CCommonUtils::getYorN(L"删除吗?"), c.expected) << "answer '" << c.answer << "'";
  }
  EXPECT_NE(Out().find("删除吗? -- No/<Yes>:  "), std::string::npos) << Out();
  // The end of the script is a cancel: no.
  Answer({});
  EXPECT_FALSE(CCommonUtils::getYorN(L"Again?"));
}

TEST_F(SysvarsTest, YesOrNoAsksAgainAfterTextThatIsNoKeyword) {
  Answer({"maybe", "n"});
  EXPECT_FALSE(CCommonUtils::getYorN(L"Overwrite?"));
  EXPECT_NE(Out().find("Invalid option keyword."), std::string::npos) << Out();
  // The keywords last for one question only.
  Answer({"Yes"});
  ads_point pt;
  EXPECT_EQ(acedGetPoint(NULL, L"\nPoint: ", pt), RTCAN);
}

// ---- typing into the command line -----------------------------------------

std::vector<std::wstring> PendingWords() {
  std::vector<std::wstring> words;
  while (std::optional<std::wstring> w = acad::CommandLineInput::Instance().TakeWord()) words.push_back(*w);
  return words;
}

TEST_F(SysvarsTest, CommandTextArrivesAsPendingCommandLineInput) {
  acad::CommandLineInput::Instance().Clear();
  CCommonUtils::sendCommandToAutoCAD(_T("_zoom e "));
  EXPECT_EQ(PendingWords(), (std::vector<std::wstring>{L"_zoom", L"e"}));
  // Enter ends a word too; an unfinished word waits for more characters.
  CCommonUtils::sendCommandToAutoCAD(_T("DTTest\n_line"));
  EXPECT_EQ(PendingWords(), std::vector<std::wstring>{L"DTTest"});
  EXPECT_EQ(acad::CommandLineInput::Instance().Typing(), L"_line");
  CCommonUtils::sendCommandToAutoCAD(_T("\r"));
  EXPECT_EQ(PendingWords(), std::vector<std::wstring>{L"_line"});
  // Chinese text goes through character by character.
  CCommonUtils::sendCommandToAutoCAD(_T("路测 "));
  EXPECT_EQ(PendingWords(), std::vector<std::wstring>{L"路测"});
  CCommonUtils::sendCommandToAutoCAD(_T(""));
  CCommonUtils::sendCommandToAutoCAD(NULL);
  EXPECT_FALSE(acad::CommandLineInput::Instance().HasWord());
  EXPECT_TRUE(acad::CommandLineInput::Instance().Typing().empty());
  acad::CommandLineInput::Instance().Clear();
}

// ---- the current view -----------------------------------------------------

TEST_F(SysvarsTest, ViewRectangleIsTheWorldUnderTheClientCorners) {
  acad::View& view = acad::CurrentView();
  view.centerX = 100;
  view.centerY = 50;
  view.height = 768;
  view.width = 1024;
  AcGePoint3d ptTopLeft, ptBottomRight;
  CCommonUtils::getViewRectPoint(ptTopLeft, ptBottomRight);
  ExpectPoint(ptTopLeft, 100 - 512, 50 + 384, 0);
  ExpectPoint(ptBottomRight, 100 + 512, 50 - 384, 0);

  // Against the host's pixel mapping for another view, in a turned UCS
  // (which must not matter: the points are world points).
  UseTurnedUcs();
  view.centerX = -3;
  view.centerY = 7;
  view.height = 40;
  view.width = 20;
  view.target = {1, 2, 0};
  CCommonUtils::getViewRectPoint(ptTopLeft, ptBottomRight);
  double x, y;
  acad::PixelToDisplay(0, 0, x, y);
  ExpectPoint(ptTopLeft, x + 1, y + 2, 0);
  acad::PixelToDisplay(acad::kDrawingWindowWidth, acad::kDrawingWindowHeight, x, y);
  ExpectPoint(ptBottomRight, x + 1, y + 2, 0);
  // The height rules here: the rectangle is 40 units high and wider than 20.
  EXPECT_NEAR(ptTopLeft.y - ptBottomRight.y, 40, 1e-9);
  EXPECT_NEAR(ptBottomRight.x - ptTopLeft.x, 40.0 * 1024 / 768, 1e-9);
}

}  // namespace
