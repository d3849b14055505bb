// The pair reader's scanning ahead: a thread scans the text into chunks of
// pairs, a few chunks ahead of the reader, and hands each over whole. The
// pairs point into the text, which outlives both.
#include "dxfpairs.h"

#include <array>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "adscodes.h"

namespace acdbdxf {

bool PairScanner::readUnusualCode(long long& code) {
  std::string_view text;
  return line(text) && acdbParseInt(text, code);
}

struct PairChunk {
  std::vector<AcDbDxfPair> pairs;
  PairScanner::Result last = PairScanner::kPair;  // kEnd or kError: the pairs end after these
  size_t end = 0;                                 // where the scanner stopped, then
};

class PairQueue {
 public:
  PairQueue(std::string_view text, size_t pairsPerChunk) : m_scanner(text), m_nPerChunk(pairsPerChunk) {
    // Filled to this size and no further, so the scanner never allocates.
    for (PairChunk& c : m_chunks) c.pairs.reserve(m_nPerChunk);
    // Points and single reals, the values AcDbDxfRecord::real is asked for,
    // looked up once per code rather than once per pair.
    for (int code = kFirstCode; code <= kLastCode; ++code) {
      int type = acdbGroupCodeToType(code);
      m_realCode[static_cast<size_t>(code - kFirstCode)] = type == RTREAL || type == RT3DPOINT;
    }
    m_thread = std::thread([this] { run(); });
  }

  ~PairQueue() {
    {
      std::lock_guard lock(m_mutex);
      m_bStop = true;
    }
    m_changed.notify_all();
    m_thread.join();
  }

  // The next chunk, once the scanner has filled it; the chunk taken before
  // is given back to the scanner by this.
  const PairChunk& take() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_nFilled > m_nTaken; });
    const PairChunk& c = m_chunks[m_nTaken % kChunks];
    ++m_nTaken;
    lock.unlock();
    m_changed.notify_all();
    return c;
  }

 private:
  static constexpr size_t kChunks = 8;
  static constexpr int kFirstCode = PairScanner::kFirstCode, kLastCode = PairScanner::kLastCode;

  // (flatten: the scanner's code and line reading inlined into the loop.)
  [[gnu::flatten]] void run() {
    for (PairScanner::Result r = PairScanner::kPair; r == PairScanner::kPair;) {
      bool convert;
      {
        // A slot is free once the reader has taken the chunk after the one
        // in it (the last chunk taken is still being read).
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_bStop || m_nFilled - (m_nTaken > 0 ? m_nTaken - 1 : 0) < kChunks; });
        if (m_bStop) return;
        // Numbers are most of the work of reading values: converted here
        // while the reader has chunks to go on with, left to it when it
        // would wait for this one.
        convert = m_nFilled - m_nTaken >= kChunks / 4;
      }
      PairChunk& c = m_chunks[m_nFilled % kChunks];
      c.pairs.clear();
      AcDbDxfPair pair;
      while (c.pairs.size() < m_nPerChunk && (r = m_scanner.scan(pair)) == PairScanner::kPair) {
        if (convert && m_realCode[static_cast<size_t>(pair.code - kFirstCode)]) pair.number = AcDbDxfRecord::real(pair.value);
        c.pairs.push_back(pair);
      }
      c.last = r;
      c.end = m_scanner.start();
      {
        std::lock_guard lock(m_mutex);
        ++m_nFilled;
      }
      m_changed.notify_all();
    }
  }

  PairScanner m_scanner;
  size_t m_nPerChunk;
  std::array<bool, kLastCode - kFirstCode + 1> m_realCode{};
  std::array<PairChunk, kChunks> m_chunks;
  std::mutex m_mutex;
  std::condition_variable m_changed;
  size_t m_nFilled = 0;  // chunks the scanner has filled
  size_t m_nTaken = 0;   // chunks the reader has taken
  bool m_bStop = false;
  std::thread m_thread;  // last: started once everything it uses is made
};

PairReader::PairReader(std::string_view text, size_t pairsAhead) : m_text(text), m_scanner(text) {
  // With one processor a second thread would only take turns with this one.
  if (pairsAhead == 0 || std::thread::hardware_concurrency() < 2) return;
  try {
    m_pAhead = std::make_unique<PairQueue>(text, pairsAhead);
  } catch (const std::system_error&) {
    // No thread to be had: the text is scanned here.
  }
}

PairReader::~PairReader() = default;

bool PairReader::pairsLeftAhead() {
  while (!m_pChunk || m_iChunk == m_pChunk->pairs.size()) {
    // The chunk last taken says whether more follow.
    if (m_pChunk && m_pChunk->last != PairScanner::kPair) {
      m_lastPairStart = m_pChunk->end;
      if (m_pChunk->last == PairScanner::kError) m_bError = true;
      return false;
    }
    m_pChunk = &m_pAhead->take();
    m_iChunk = 0;
  }
  return true;
}

bool PairReader::nextAhead(AcDbDxfPair& pair) {
  if (!pairsLeftAhead()) return false;
  pair = m_pChunk->pairs[m_iChunk++];
  m_lastPairStart = static_cast<size_t>(pair.value.data() - m_text.data());
  return true;
}

void PairReader::readRecordPairsAhead(std::vector<AcDbDxfPair>& pairs, RecordMarks& marks) {
  while (pairsLeftAhead()) {
    // The record's pairs in this chunk, copied at once.
    const std::vector<AcDbDxfPair>& chunk = m_pChunk->pairs;
    size_t from = m_iChunk, to = from, first = pairs.size();
    for (; to < chunk.size() && chunk[to].code != 0; ++to) Note(chunk[to], first + (to - from), marks);
    pairs.insert(pairs.end(), chunk.begin() + static_cast<ptrdiff_t>(from), chunk.begin() + static_cast<ptrdiff_t>(to));
    m_iChunk = to;
    if (to < chunk.size()) {
      m_peek = chunk[to];
      m_bHavePeek = true;
      ++m_iChunk;
      m_lastPairStart = static_cast<size_t>(m_peek.value.data() - m_text.data());
      return;
    }
  }
}

}  // namespace acdbdxf
