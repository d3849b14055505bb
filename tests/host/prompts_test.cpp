// Prompts answered by scripted lines, in process.
#include <gtest/gtest.h>

#include <sstream>

#include "edcmdstack.h"
#include "edprompt.h"
#include "hostoptions.h"
#include "script.h"
#include "transcript.h"

namespace {

class Prompts : public ::testing::Test {
 protected:
  void Feed(std::vector<std::string> lines) { user::Script::Instance().UseLines(std::move(lines)); }
  void SetUp() override { m_old = user::SetSink(&m_out); }
  void TearDown() override { user::SetSink(m_old); }
  std::ostringstream m_out;
  std::ostream* m_old = nullptr;
};

}  // namespace

TEST_F(Prompts, PointsAbsoluteRelativeAndInvalid) {
  Feed({"abc", "10,20", "@5,-5", "1,2,3"});
  ads_point p, q, r;
  EXPECT_EQ(acedGetPoint(nullptr, L"\nP: ", p), RTNORM);  // "abc" is refused, asked again
  EXPECT_DOUBLE_EQ(p[0], 10);
  EXPECT_DOUBLE_EQ(p[1], 20);
  EXPECT_EQ(acedGetCorner(p, L"\nQ: ", q), RTNORM);
  EXPECT_DOUBLE_EQ(q[0], 15);
  EXPECT_DOUBLE_EQ(q[1], 15);
  EXPECT_EQ(acedGetPoint(nullptr, L"\nR: ", r), RTNORM);
  EXPECT_DOUBLE_EQ(r[2], 3);
  EXPECT_NE(m_out.str().find("Invalid point."), std::string::npos);
  EXPECT_EQ(acedGetPoint(nullptr, L"\nS: ", r), RTCAN);  // end of the script
}

TEST_F(Prompts, ParsePointRejectsWhatIsNotAPoint) {
  ads_point base = {1, 1, 1}, out;
  EXPECT_FALSE(acad::ParsePoint(L"1", base, out));
  EXPECT_FALSE(acad::ParsePoint(L"1,2,3,4", base, out));
  EXPECT_FALSE(acad::ParsePoint(L"1,,2", base, out));
  EXPECT_FALSE(acad::ParsePoint(L"1e999,2", base, out));
  EXPECT_TRUE(acad::ParsePoint(L" 1.5 , -2 ", base, out));
  EXPECT_DOUBLE_EQ(out[2], 1);  // a 2D answer keeps the base's elevation
}

TEST_F(Prompts, KeywordsMatchByAbbreviationAndLastOnePrompt) {
  Feed({"lt", "LTYPE", "l", "7", "lt"});
  ACHAR kw[133];
  acedInitGet(0, L"LType Layer _LType Layer");
  EXPECT_EQ(acedGetKword(L"\nK: ", kw), RTNORM);
  EXPECT_STREQ(kw, L"LType");
  acedInitGet(0, L"LType Layer");
  EXPECT_EQ(acedGetKword(L"\nK: ", kw), RTNORM);
  EXPECT_STREQ(kw, L"LType");
  acedInitGet(0, L"LType Layer");
  EXPECT_EQ(acedGetKword(L"\nK: ", kw), RTNORM);
  EXPECT_STREQ(kw, L"Layer");
  // The keywords lasted for one prompt only: "lt" is no answer to a number.
  int n = 0;
  EXPECT_EQ(acedGetInt(L"\nN: ", &n), RTNORM);
  EXPECT_EQ(n, 7);
  EXPECT_EQ(acedGetInt(L"\nN: ", &n), RTCAN);
  EXPECT_NE(m_out.str().find("Requires an integer"), std::string::npos);
}

TEST_F(Prompts, NumbersEnterAndLimits) {
  Feed({"", "", "40000", "-3", "3", "x", "2.5", "", "toolong"});
  int n = -1;
  EXPECT_EQ(acedGetInt(L"\nN: ", &n), RTNONE);
  acedInitGet(RSG_NONULL | RSG_NONEG, nullptr);
  EXPECT_EQ(acedGetInt(L"\nN: ", &n), RTNORM);  // Enter, out of range and negative are refused
  EXPECT_EQ(n, 3);
  double d = 0;
  EXPECT_EQ(acedGetReal(L"\nD: ", &d), RTNORM);
  EXPECT_DOUBLE_EQ(d, 2.5);
  ACHAR s[4];
  EXPECT_EQ(acedGetString(0, L"\nS: ", s, 4), RTNORM);
  EXPECT_STREQ(s, L"");
  EXPECT_EQ(acedGetString(0, L"\nS: ", s, 4), RTINPUTTRUNCATED);
  EXPECT_STREQ(s, L"too");
}

TEST(CommandStack, NamesGroupsAndRemoval) {
  auto* stack = acedRegCmds;
  auto f = [] {};
  EXPECT_EQ(stack->addCommand(L"G1", L"_DT", L"DTTest", ACRX_CMD_MODAL, f), Acad::eOk);
  EXPECT_EQ(stack->addCommand(L"G1", L"_dt", L"Other", ACRX_CMD_MODAL, f), Acad::eDuplicateKey);
  EXPECT_EQ(stack->addCommand(L"G1", L"bad name", L"x", ACRX_CMD_MODAL, f), Acad::eInvalidInput);
  EXPECT_NE(stack->lookupCmd(L"dttest"), nullptr);
  EXPECT_NE(stack->lookupCmd(L"_DT"), nullptr);
  EXPECT_EQ(stack->lookupCmd(L"DT"), nullptr);
  EXPECT_EQ(stack->removeCmd(L"g1", L"_DT"), Acad::eOk);
  EXPECT_EQ(stack->lookupCmd(L"DTTest"), nullptr);
  EXPECT_EQ(stack->removeGroup(L"G1"), Acad::eKeyNotFound);
}

TEST(HostOptions, ParsesAndRefuses) {
  std::string error;
  auto o = host::ParseOptions({"--load", "a.dbx", "--load", "b.arx", "--seed", "7", "--out", "o"}, error);
  ASSERT_TRUE(o);
  EXPECT_EQ(o->modules, (std::vector<std::string>{"a.dbx", "b.arx"}));
  EXPECT_EQ(*o->seed, 7u);
  EXPECT_EQ(o->outDir, "o");
  EXPECT_FALSE(host::ParseOptions({"--load"}, error));
  EXPECT_NE(error.find("needs a value"), std::string::npos);
  EXPECT_FALSE(host::ParseOptions({"--seed", "12x"}, error));
  EXPECT_FALSE(host::ParseOptions({"--seed", "99999999999"}, error));
}

namespace {
int g_nTransparentRuns = 0;
void TransparentCommand() { ++g_nTransparentRuns; }
}  // namespace

TEST_F(Prompts, ApostropheRunsATransparentCommandInsideThePrompt) {
  acedRegCmds->addCommand(L"PROMPTTEST", L"_TR", L"TrCmd", ACRX_CMD_TRANSPARENT, TransparentCommand);
  acedRegCmds->addCommand(L"PROMPTTEST", L"_MO", L"MoCmd", ACRX_CMD_MODAL, TransparentCommand);
  g_nTransparentRuns = 0;
  Feed({"'trcmd", "'MoCmd", "'nosuch", "3,4"});
  ads_point p;
  // "'nosuch" names no command: an ordinary (invalid) answer.
  EXPECT_EQ(acedGetPoint(nullptr, L"\nP: ", p), RTNORM);
  EXPECT_DOUBLE_EQ(p[0], 3);
  EXPECT_EQ(g_nTransparentRuns, 1) << "only the transparent command ran";
  std::string out = m_out.str();
  EXPECT_NE(out.find("** That command may not be invoked transparently **"), std::string::npos) << out;
  EXPECT_NE(out.find("Resuming the command."), std::string::npos) << out;
  EXPECT_NE(out.find("Invalid point."), std::string::npos) << out;
  acedRegCmds->removeGroup(L"PROMPTTEST");
}
