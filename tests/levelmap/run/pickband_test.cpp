// The band choice for one point: only bands with quota while any has some,
// uniform among them whatever their quota, uniform among all when every
// quota is used up, and driven by the runtime's generator.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <vector>

#include "PointSimulation.h"

namespace {

void Fill(CLevelBandArray& bands, std::vector<std::pair<int, int>> colorAndRemain) {
  bands.RemoveAll();
  for (const auto& band : colorAndRemain) {
    levelmapdb rec;
    rec.color = band.first;
    rec.remain = band.second;
    rec.num = 99;  // never looked at by the choice
    bands.Add(rec);
  }
}

std::vector<int> Remains(const CLevelBandArray& bands) {
  std::vector<int> out;
  for (INT_PTR i = 0; i < bands.GetSize(); ++i) out.push_back(bands[i].remain);
  return out;
}

TEST(PickBand, NeverTakesAnExhaustedBandWhileAnyHasQuota) {
  for (unsigned int seed = 1; seed <= 50; ++seed) {
    srand(seed);
    CLevelBandArray bands;
    Fill(bands, {{1, 0}, {2, 3}, {3, 0}, {4, 2}, {5, 1}, {6, -2}});
    std::map<int, int> counts;
    for (int i = 0; i < 6; ++i) ++counts[PickBand(bands)];
    EXPECT_EQ(counts, (std::map<int, int>{{2, 3}, {4, 2}, {5, 1}})) << "seed " << seed;
    EXPECT_EQ(Remains(bands), (std::vector<int>{0, 0, 0, 0, 0, -2})) << "seed " << seed;
  }
}

TEST(PickBand, EveryBandWithQuotaIsEquallyLikely) {
  srand(11);
  std::map<int, int> counts;
  const int kTrials = 3000;
  for (int i = 0; i < kTrials; ++i) {
    CLevelBandArray bands;
    Fill(bands, {{1, 1}, {2, 5000}, {3, 0}, {4, 2}});
    int nColor = PickBand(bands);
    ++counts[nColor];
    // Exactly the chosen band lost one.
    std::vector<int> expected = {1, 5000, 0, 2};
    expected[nColor - 1] -= 1;
    ASSERT_EQ(Remains(bands), expected);
  }
  EXPECT_EQ(counts.count(3), 0u);
  for (int nColor : {1, 2, 4}) {
    EXPECT_GT(counts[nColor], kTrials / 3 - 150) << "colour " << nColor;
    EXPECT_LT(counts[nColor], kTrials / 3 + 150) << "colour " << nColor;
  }
}

TEST(PickBand, WithEveryQuotaUsedUpAnyBandComesUniformlyAndNoQuotaMoves) {
  srand(5);
  CLevelBandArray bands;
  Fill(bands, {{10, 0}, {20, 0}, {30, -1}});
  std::map<int, int> counts;
  const int kTrials = 3000;
  for (int i = 0; i < kTrials; ++i) ++counts[PickBand(bands)];
  EXPECT_EQ(counts.size(), 3u);
  for (int nColor : {10, 20, 30}) {
    EXPECT_GT(counts[nColor], kTrials / 3 - 150) << "colour " << nColor;
    EXPECT_LT(counts[nColor], kTrials / 3 + 150) << "colour " << nColor;
  }
  EXPECT_EQ(Remains(bands), (std::vector<int>{0, 0, -1}));
}

TEST(PickBand, QuotasRunOutThenTheFallbackTakesOver) {
  srand(8);
  CLevelBandArray bands;
  Fill(bands, {{1, 2}, {2, 1}});
  std::vector<int> colors;
  for (int i = 0; i < 3; ++i) colors.push_back(PickBand(bands));
  std::sort(colors.begin(), colors.end());
  EXPECT_EQ(colors, (std::vector<int>{1, 1, 2}));
  std::map<int, int> counts;
  for (int i = 0; i < 400; ++i) ++counts[PickBand(bands)];
  EXPECT_EQ(counts.size(), 2u);
  EXPECT_EQ(Remains(bands), (std::vector<int>{0, 0}));
}

TEST(PickBand, FollowsTheRuntimeGeneratorWithoutSeedingIt) {
  CLevelBandArray bands;
  Fill(bands, {{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}});
  auto draw = [&]() {
    std::vector<int> colors;
    for (int i = 0; i < 40; ++i) colors.push_back(PickBand(bands));
    return colors;
  };
  srand(77);
  std::vector<int> first = draw();
  std::vector<int> second = draw();
  EXPECT_NE(first, second) << "each call goes on with the sequence";
  srand(77);
  EXPECT_EQ(draw(), first) << "the host's seed repeats a run exactly";
}

TEST(PickBand, AnEmptyListGivesColourZero) {
  CLevelBandArray bands;
  EXPECT_EQ(PickBand(bands), 0);
}

}  // namespace
