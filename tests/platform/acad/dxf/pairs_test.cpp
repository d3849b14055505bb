// The pair reader hands out the same pairs, records, marks and errors
// whether it scans the text itself or has a thread scan it ahead in chunks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dxfpairs.h"

using acdbdxf::PairReader;

namespace {

// What a reader gives, read the way the loader reads: a record's 0 pair,
// then its pairs at once, with a look at the next pair now and then.
std::string Transcript(std::string_view text, size_t pairsAhead) {
  PairReader reader(text, pairsAhead);
  std::string out;
  size_t last = 0;
  auto show = [&](const char* what, const AcDbDxfPair& p) {
    // A number converted by the scanner is the reader's own conversion.
    out += what + std::to_string(p.code) + "=" + std::string(p.value) + " (" +
           std::to_string(AcDbDxfRecord::real(p)) + ")\n";
  };
  AcDbDxfPair p;
  for (int turn = 0;; ++turn) {
    if (turn % 3 == 2) {
      if (!reader.peek(p)) break;
      show("peek ", p);
    }
    if (!reader.next(p)) break;
    show("", p);
    if (p.code == 0) {
      std::vector<AcDbDxfPair> pairs;
      PairReader::RecordMarks marks;
      reader.readRecordPairs(pairs, marks);
      for (const AcDbDxfPair& q : pairs) show("  ", q);
      if (marks.firstXdata != SIZE_MAX) out += "  xdata from " + std::to_string(marks.firstXdata) + "\n";
      if (!marks.paperSpace.empty()) out += "  67 " + std::string(marks.paperSpace) + "\n";
    }
    // Where the reader stands only moves forward, within the text.
    EXPECT_GE(reader.lastPairStart(), last);
    EXPECT_LE(reader.lastPairStart(), text.size());
    last = reader.lastPairStart();
  }
  out += reader.error() ? "error" : "end";
  return out;
}

const char* kSample =
    "\xEF\xBB\xBF  0\nSECTION\n  2\nENTITIES\n999\na comment\n  0\nLINE\n  5\n1A\n 67\n1\n 10\n1.5\r\n 20\n-2\n"
    "1001\nAPP\n1000\nnote\n1001\nOTHER\n  0\nSEQEND\n  0\nSEQEND\n\t8\n0\n  0\nTEXT\n  1\n\n  1\n  spaced  \n"
    "  0\nENDSEC\n  0\nEOF\n";

TEST(AcadDxfPairs, ScanningAheadReadsAsScanningInPlace) {
  std::string many;
  for (int i = 0; i < 3000; ++i) many += "  0\nPOINT\n  5\n" + std::to_string(i) + "\n 10\n1.25\n 67\n1\n";
  const std::string texts[] = {
      kSample,
      many,
      "",
      "  0\nLINE\n",
      "  0\nLINE\nx\n1\n  0\nEOF\n",          // a code that is no number
      "  0\nLINE\n 10\n1\n 2000\nfar\n",      // a code out of range
      many + " 10\n",                           // the last value cut off, far into the text
  };
  for (const std::string& text : texts) {
    std::string expected = Transcript(text, 0);
    for (size_t ahead : {1, 3, 4096}) EXPECT_EQ(Transcript(text, ahead), expected) << "chunks of " << ahead;
  }
  EXPECT_NE(Transcript(many + " 10\n", 3).find("error"), std::string::npos);

  // Cut anywhere, chunks of one and of a few pairs included.
  std::string sample = kSample;
  for (size_t n = 0; n <= sample.size(); ++n) {
    std::string_view cut = std::string_view(sample).substr(0, n);
    std::string expected = Transcript(cut, 0);
    EXPECT_EQ(Transcript(cut, 1), expected) << n;
    EXPECT_EQ(Transcript(cut, 3), expected) << n;
  }
}

TEST(AcadDxfPairs, AReaderLeftEarlyStopsItsScanner) {
  std::string many;
  for (int i = 0; i < 20000; ++i) many += "  0\nPOINT\n 10\n" + std::to_string(i) + "\n";
  for (size_t ahead : {1, 64}) {
    PairReader reader(many, ahead);
    AcDbDxfPair p;
    ASSERT_TRUE(reader.next(p));
    EXPECT_EQ(p.value, "POINT");
    ASSERT_TRUE(reader.next(p));
    EXPECT_EQ(p.code, 10);
  }  // gone with the scanner waiting for room, and no hang
}

}  // namespace
