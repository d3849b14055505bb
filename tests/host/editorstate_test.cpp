// System variables and coordinate transforms of the editor.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cwchar>

#include "acedview.h"
#include "edprompt.h"

namespace {

resbuf Short(short v) {
  resbuf rb{};
  rb.restype = RTSHORT;
  rb.resval.rint = v;
  return rb;
}

resbuf Point(double x, double y, double z) {
  resbuf rb{};
  rb.restype = RT3DPOINT;
  rb.resval.rpoint[0] = x;
  rb.resval.rpoint[1] = y;
  rb.resval.rpoint[2] = z;
  return rb;
}

}  // namespace

TEST(SystemVariables, ReadWriteAndRefuse) {
  acad::ResetEditorState();
  resbuf rb{};
  ASSERT_EQ(acedGetVar(L"cmdecho", &rb), RTNORM);
  EXPECT_EQ(rb.restype, RTSHORT);
  EXPECT_EQ(rb.resval.rint, 1);
  resbuf zero = Short(0);
  EXPECT_EQ(acedSetVar(L"CMDECHO", &zero), RTNORM);
  acedGetVar(L"CMDECHO", &rb);
  EXPECT_EQ(rb.resval.rint, 0);
  resbuf two = Short(2);
  EXPECT_EQ(acedSetVar(L"CMDECHO", &two), RTERROR);  // out of range
  resbuf pt = Point(1, 2, 3);
  EXPECT_EQ(acedSetVar(L"CMDECHO", &pt), RTERROR);   // wrong type
  EXPECT_EQ(acedSetVar(L"VIEWSIZE", &pt), RTERROR);  // read-only
  EXPECT_EQ(acedGetVar(L"NOSUCHVAR", &rb), RTERROR);
  EXPECT_EQ(acedSetVar(L"LASTPOINT", &pt), RTNORM);
  ads_point last;
  acad::GetLastPoint(last);
  EXPECT_DOUBLE_EQ(last[2], 3);
}

TEST(SystemVariables, DrawingPrefixFollowsTheDrawing) {
  acad::ResetEditorState();
  acad::SetDrawingPath(L"Z:\\plans\\floor 1.dwg");
  resbuf rb{};
  ASSERT_EQ(acedGetVar(L"DWGPREFIX", &rb), RTNORM);
  EXPECT_STREQ(rb.resval.rstring, L"Z:\\plans\\");
  std::free(rb.resval.rstring);
  ASSERT_EQ(acedGetVar(L"DWGNAME", &rb), RTNORM);
  EXPECT_STREQ(rb.resval.rstring, L"floor 1.dwg");
  std::free(rb.resval.rstring);
}

TEST(SystemVariables, ViewValuesComeFromTheCurrentView) {
  acad::ResetEditorState();
  acad::View& v = acad::CurrentView();
  v.centerX = 5;
  v.centerY = 10;
  v.height = 30;
  v.width = 15;
  v.target = {100, 0, 0};
  resbuf rb{};
  acedGetVar(L"VIEWCTR", &rb);
  EXPECT_DOUBLE_EQ(rb.resval.rpoint[0], 105);  // display centre is relative to the target
  EXPECT_DOUBLE_EQ(rb.resval.rpoint[1], 10);
  acedGetVar(L"VIEWSIZE", &rb);
  EXPECT_DOUBLE_EQ(rb.resval.rreal, 30);
  EXPECT_DOUBLE_EQ(acad::PixelSize(), 30.0 / acad::kDrawingWindowHeight);
}

TEST(Transforms, UserWorldDisplayAndEntitySystems) {
  acad::ResetEditorState();
  acad::Ucs& ucs = acad::CurrentUcs();
  ucs.origin = {10, 0, 0};
  ucs.xAxis = {0, 1, 0};  // turned a quarter to the left
  ucs.yAxis = {-1, 0, 0};
  resbuf world = Short(0), user = Short(1);
  ads_point p = {1, 2, 0}, out;
  ASSERT_EQ(acedTrans(p, &user, &world, 0, out), RTNORM);
  EXPECT_NEAR(out[0], 8, 1e-12);
  EXPECT_NEAR(out[1], 1, 1e-12);
  ASSERT_EQ(acedTrans(p, &user, &world, 1, out), RTNORM);  // a displacement ignores the origin
  EXPECT_NEAR(out[0], -2, 1e-12);
  ads_point back;
  acedTrans(out, &world, &user, 1, back);
  EXPECT_NEAR(back[0], 1, 1e-12);
  EXPECT_NEAR(back[1], 2, 1e-12);
  // An upside-down extrusion mirrors x, as the arbitrary-axis rule says.
  resbuf down = Point(0, 0, -1);
  ads_point q = {3, 4, 5};
  ASSERT_EQ(acedTrans(q, &world, &down, 0, out), RTNORM);
  EXPECT_NEAR(out[0], -3, 1e-12);
  EXPECT_NEAR(out[1], 4, 1e-12);
  EXPECT_NEAR(out[2], -5, 1e-12);
  resbuf bad = Short(7);
  EXPECT_EQ(acedTrans(q, &world, &bad, 0, out), RTERROR);
}
