// The statistics table's arithmetic: shares and the shift of points between
// the bands of one type when a count is edited.
#include <gtest/gtest.h>

#include <vector>

#include "BandStatistics.h"

namespace {

void Fill(CLevelBandArray& arBands, const std::vector<int>& counts) {
  arBands.RemoveAll();
  for (size_t i = 0; i < counts.size(); ++i) {
    levelmapdb band;
    band.head.Format(_T("%i"), 101 + (int)i);
    band.num = counts[i];
    arBands.Add(band);
  }
}

std::vector<int> Counts(const CLevelBandArray& arBands) {
  std::vector<int> counts;
  for (INT_PTR i = 0; i < arBands.GetSize(); ++i) counts.push_back(arBands[i].num);
  return counts;
}

struct ShiftCase {
  const char* what;
  std::vector<int> before;
  int band, newCount;
  std::vector<int> after;
};

TEST(BandStatistics, ShiftMovesTheDifferenceOntoTheFollowingBands) {
  const ShiftCase cases[] = {
      {"raising takes from the next band", {1000, 600, 400}, 0, 1500, {1500, 100, 400}},
      {"lowering gives all to the next band", {1500, 100, 400}, 0, 200, {200, 1400, 400}},
      {"the next band runs dry, the one after gives the rest", {100, 50, 300}, 0, 250, {250, 0, 200}},
      {"after the last band the first is next", {100, 200, 300}, 2, 400, {0, 200, 400}},
      {"raising by more than the others hold empties them all", {100, 200, 300}, 1, 600, {0, 600, 0}},
      {"a single band gets its old count back", {500}, 0, 700, {500}},
      {"an unchanged count changes nothing", {10, 20, 30}, 1, 20, {10, 20, 30}},
      // Counts that add up to less than nothing: one round, then stop.
      {"a negative total ends after one round", {-5, -10}, 0, 3, {0, 0}},
  };
  for (const ShiftCase& c : cases) {
    CLevelBandArray arBands;
    Fill(arBands, c.before);
    int nOld = arBands[c.band].num;
    EXPECT_TRUE(ShiftBandCount(arBands, c.band, c.newCount, nOld)) << c.what;
    EXPECT_EQ(Counts(arBands), c.after) << c.what;
  }
}

TEST(BandStatistics, ShiftRefusesABandThatIsNotThere) {
  CLevelBandArray arBands;
  Fill(arBands, {1, 2});
  EXPECT_FALSE(ShiftBandCount(arBands, 2, 5, 0));
  EXPECT_FALSE(ShiftBandCount(arBands, -1, 5, 0));
  EXPECT_EQ(Counts(arBands), (std::vector<int>{1, 2}));
  CLevelBandArray arNone;
  EXPECT_FALSE(ShiftBandCount(arNone, 0, 5, 0));
}

TEST(BandStatistics, SharesHaveTwoDecimalsAndAPerCentSign) {
  EXPECT_EQ(FormatBandShare(250, 2000), CString(_T("12.50%")));
  EXPECT_EQ(FormatBandShare(2000, 2000), CString(_T("100.00%")));
  EXPECT_EQ(FormatBandShare(1, 3), CString(_T("33.33%")));
  EXPECT_EQ(FormatBandShare(2, 3), CString(_T("66.67%")));
  // A cumulative sum beyond int stays right.
  EXPECT_EQ(FormatBandShare(3000000000LL, 1000000), CString(_T("300000.00%")));
}

TEST(BandStatistics, BandsAreFoundByTheirKey) {
  CLevelBandArray arBands;
  Fill(arBands, {1, 2, 3});
  EXPECT_EQ(FindBandByHead(arBands, _T("102")), 1);
  EXPECT_EQ(FindBandByHead(arBands, _T("")), -1);
  EXPECT_EQ(FindBandByHead(arBands, _T("10")), -1);
}

}  // namespace
