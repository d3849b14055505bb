// The palette and the progress meter.
#include <gtest/gtest.h>

#include <sstream>

#include "acedcolor.h"
#include "acedstatus.h"
#include "transcript.h"

TEST(Palette, NamedHuesAndGreysMatchTheHostsTable) {
  EXPECT_EQ(acedGetRGB(1), 0x0000FFu);  // red, as 0x00BBGGRR
  EXPECT_EQ(acedGetRGB(5), 0xFF0000u);
  EXPECT_EQ(acedGetRGB(7), 0xFFFFFFu);
  auto rgb = [](int r, int g, int b) { return static_cast<Adesk::UInt32>(r | g << 8 | b << 16); };
  EXPECT_EQ(acedGetRGB(10), rgb(255, 0, 0));
  EXPECT_EQ(acedGetRGB(11), rgb(255, 127, 127));
  EXPECT_EQ(acedGetRGB(15), rgb(153, 76, 76));
  EXPECT_EQ(acedGetRGB(20), rgb(255, 63, 0));
  EXPECT_EQ(acedGetRGB(21), rgb(255, 159, 127));
  EXPECT_EQ(acedGetRGB(26), rgb(127, 31, 0));
  EXPECT_EQ(acedGetRGB(50), rgb(255, 255, 0));
  EXPECT_EQ(acedGetRGB(130), rgb(0, 255, 255));
  EXPECT_EQ(acedGetRGB(170), rgb(0, 0, 255));
  EXPECT_EQ(acedGetRGB(250), rgb(51, 51, 51));
  EXPECT_EQ(acedGetRGB(255), rgb(255, 255, 255));
}

TEST(ProgressMeter, ShowsCaptionAndFinalPositionAndClamps) {
  std::ostringstream out;
  std::ostream* old = user::SetSink(&out);
  EXPECT_EQ(acedSetStatusBarProgressMeterPos(3), -1);  // no meter yet
  EXPECT_EQ(acedSetStatusBarProgressMeter(L"正在绘制...", 0, 10), 0);
  acedSetStatusBarProgressMeterPos(4);
  acedSetStatusBarProgressMeterPos(40);
  EXPECT_EQ(acad::CurrentProgressMeter().pos, 10);
  acedRestoreStatusBar();
  acedRestoreStatusBar();  // a second restore shows nothing
  user::SetSink(old);
  EXPECT_EQ(out.str(), "[progress] 正在绘制...\n[progress] 正在绘制... 10/10\n");
}
