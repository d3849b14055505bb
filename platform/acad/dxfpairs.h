// Splitting DXF text into pairs, a group-code line and a value line each:
// the scanner that does the splitting, and the reader the loader asks for
// pairs and records. For large files the reader has the scanner run ahead
// on a thread of its own, converting real numbers as it goes, so that the
// scanning and the making of objects share two processors.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <string_view>
#include <vector>

#include "dxffiler.h"

namespace acdbdxf {

// Reads the pairs off the text in order, passing over comments (999).
class PairScanner {
 public:
  enum Result { kPair, kEnd, kError };
  // The group codes a pair may have.
  static constexpr int kFirstCode = -5, kLastCode = 1071;

  explicit PairScanner(std::string_view text) : m_text(text) {
    // A byte-order mark is not part of the first line.
    if (m_text.size() >= 3 && std::memcmp(m_text.data(), "\xEF\xBB\xBF", 3) == 0) m_pos = 3;
  }

  // kEnd at the end of the text; kError where a code is no number or has no
  // value line (the file was cut short), and again at every call after.
  Result scan(AcDbDxfPair& pair) {
    for (;;) {
      m_start = m_pos;
      if (m_pos >= m_text.size()) return kEnd;
      long long code;
      std::string_view value;
      if (!readCode(code) || !line(value) || code < kFirstCode || code > kLastCode) {
        m_pos = m_start;  // and there it stays: nothing after it is read
        return kError;
      }
      if (code == 999) continue;
      pair.code = static_cast<int>(code);
      pair.value = value;
      pair.number = std::numeric_limits<double>::quiet_NaN();  // not converted
      return kPair;
    }
  }

  // Where the pair last scanned starts (the end, or the malformed pair).
  size_t start() const { return m_start; }

 private:
  // The group-code line. Codes are short, right-aligned numbers: parsed here
  // directly as the line is passed over, with the general integer parser for
  // anything unusual (tabs, signs, "1.0", a last line without its end).
  bool readCode(long long& code) {
    const char* s = m_text.data();
    size_t n = m_text.size(), i = m_pos;
    // Most writers put codes in three columns ("  8", " 10", "330"): read
    // without a loop, whose exit would depend on each code's width.
    if (i + 3 < n) {
      size_t end = i + 3 + (s[i + 3] == '\r');
      unsigned c0 = static_cast<unsigned char>(s[i]), c1 = static_cast<unsigned char>(s[i + 1]);
      unsigned d0 = c0 == ' ' ? 0 : c0 - 48u, d1 = c1 == ' ' ? 0 : c1 - 48u;
      unsigned d2 = static_cast<unsigned char>(s[i + 2]) - 48u;
      bool spacesFirst = c0 == ' ' || c1 != ' ';
      if (end < n && s[end] == '\n' && d0 <= 9 && d1 <= 9 && d2 <= 9 && spacesFirst) {
        m_pos = end + 1;
        code = d0 * 100 + d1 * 10 + d2;
        return true;
      }
    }
    while (i < n && s[i] == ' ') ++i;
    size_t first = i, digitsEnd = std::min(n, i + 5);
    long long v = 0;
    for (unsigned d; i < digitsEnd && (d = static_cast<unsigned char>(s[i]) - 48u) <= 9; ++i) v = v * 10 + d;
    if (i < n && s[i] == '\r') ++i;
    if (i > first && i < n && s[i] == '\n') {
      m_pos = i + 1;
      code = v;
      return true;
    }
    return readUnusualCode(code);
  }
  // Out of line (dxfpairs.cpp), so that the usual case above stays small.
  bool readUnusualCode(long long& code);

  bool line(std::string_view& out) {
    if (m_pos >= m_text.size()) return false;
    const char* start = m_text.data() + m_pos;
    const void* nl = std::memchr(start, '\n', m_text.size() - m_pos);
    size_t len = nl ? static_cast<size_t>(static_cast<const char*>(nl) - start) : m_text.size() - m_pos;
    m_pos += len + (nl ? 1 : 0);
    if (len > 0 && start[len - 1] == '\r') --len;
    out = std::string_view(start, len);
    return true;
  }

  std::string_view m_text;
  size_t m_pos = 0;
  size_t m_start = 0;
};

// Pairs scanned ahead of the reader on a thread of their own, and the
// chunks they are handed over in (dxfpairs.cpp).
class PairQueue;
struct PairChunk;

// Hands out the text's pairs one at a time, with one pair of look-ahead, or
// a record's pairs at once.
class PairReader {
 public:
  // With pairsAhead, the pairs are scanned on another thread, that many to
  // a chunk handed over; the reader reads alike either way. With one
  // processor, or without a thread to be had, the text is scanned here.
  explicit PairReader(std::string_view text, size_t pairsAhead = 0);
  ~PairReader();
  PairReader(const PairReader&) = delete;
  PairReader& operator=(const PairReader&) = delete;

  // False at the end of the text; sets m_bError when a pair is malformed.
  bool next(AcDbDxfPair& pair) {
    if (m_bHavePeek) {
      m_bHavePeek = false;
      pair = m_peek;
      return true;
    }
    if (m_pAhead) return nextAhead(pair);
    PairScanner::Result r = m_scanner.scan(pair);
    m_lastPairStart = m_scanner.start();
    if (r == PairScanner::kError) m_bError = true;
    return r == PairScanner::kPair;
  }

  // What the loader asks of every record, noted as its pairs are read
  // rather than in another walk over them.
  struct RecordMarks {
    size_t firstXdata = SIZE_MAX;  // the index of the first 1001 pair
    std::string_view paperSpace;   // the value of a 67 pair
  };

  // Appends the pairs of the record being read, up to the next 0 group
  // (left for the next record) or the end; a malformed pair sets m_bError
  // as next does. One loop without a call per pair (flatten inlines the
  // scanner and the vector's append, which is otherwise left out of line as
  // too large): a drawing has tens of millions of them.
  [[gnu::flatten]] void readRecordPairs(std::vector<AcDbDxfPair>& pairs, RecordMarks& marks) {
    if (m_bHavePeek) {
      if (m_peek.code == 0) return;
      m_bHavePeek = false;
      pairs.push_back(m_peek);
      Note(m_peek, pairs.size() - 1, marks);
    }
    if (m_pAhead) return readRecordPairsAhead(pairs, marks);
    AcDbDxfPair pair;
    for (;;) {
      PairScanner::Result r = m_scanner.scan(pair);
      if (r != PairScanner::kPair || pair.code == 0) {
        m_lastPairStart = m_scanner.start();
        if (r == PairScanner::kError) m_bError = true;
        if (r == PairScanner::kPair) {
          m_peek = pair;
          m_bHavePeek = true;
        }
        return;
      }
      pairs.push_back(pair);
      Note(pair, pairs.size() - 1, marks);
    }
  }

  bool peek(AcDbDxfPair& pair) {
    if (!m_bHavePeek) {
      if (!next(m_peek)) return false;
      m_bHavePeek = true;
    }
    pair = m_peek;
    return true;
  }

  bool error() const { return m_bError; }
  void fail() { m_bError = true; }
  // Where the last pair read (or looked at) starts, or its value when the
  // pairs are scanned ahead: nothing before it is needed any more once the
  // records before it are in the database.
  size_t lastPairStart() const { return m_lastPairStart; }
  const char* base() const { return m_text.data(); }

 private:
  static void Note(const AcDbDxfPair& p, size_t index, RecordMarks& marks) {
    if (p.code == 1001 || p.code == 67) [[unlikely]] {
      if (p.code == 67) marks.paperSpace = p.value;
      else if (marks.firstXdata == SIZE_MAX) marks.firstXdata = index;
    }
  }
  bool nextAhead(AcDbDxfPair& pair);
  void readRecordPairsAhead(std::vector<AcDbDxfPair>& pairs, RecordMarks& marks);
  // Takes chunks scanned ahead until one has a pair left to read; false at
  // the end of the pairs (with m_bError when the scanner met a malformed pair).
  bool pairsLeftAhead();

  std::string_view m_text;
  PairScanner m_scanner;
  std::unique_ptr<PairQueue> m_pAhead;
  const PairChunk* m_pChunk = nullptr;  // the chunk being read, when scanned ahead
  size_t m_iChunk = 0;
  size_t m_lastPairStart = 0;
  AcDbDxfPair m_peek{};
  bool m_bHavePeek = false;
  bool m_bError = false;
};

}  // namespace acdbdxf
