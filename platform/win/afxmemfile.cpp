// Memory files: CMemFile on heap memory and CSharedFile on a global memory
// block (the kind the clipboard takes).
#include <cstdlib>
#include <cstring>
#include <new>

#include "afxfile.h"

CMemFile::CMemFile(UINT nGrowBytes) : m_nGrowBytes(nGrowBytes) {}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) : m_nGrowBytes(nGrowBytes) {
  Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile() {
  // Derived files free their own memory before this runs.
  if (m_lpBuffer && m_bAutoDelete) CMemFile::Free(m_lpBuffer);
  m_lpBuffer = nullptr;
}

BYTE* CMemFile::Alloc(SIZE_T nBytes) { return static_cast<BYTE*>(std::malloc(nBytes ? nBytes : 1)); }

BYTE* CMemFile::Realloc(BYTE* lpMem, SIZE_T nBytes) {
  return static_cast<BYTE*>(std::realloc(lpMem, nBytes ? nBytes : 1));
}

void CMemFile::Free(BYTE* lpMem) { std::free(lpMem); }

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) {
  m_nGrowBytes = nGrowBytes;
  m_nPosition = 0;
  m_nBufferSize = nBufferSize;
  // A fixed buffer holds data; a growable one starts empty.
  m_nFileSize = nGrowBytes == 0 ? nBufferSize : 0;
  m_lpBuffer = lpBuffer;
  m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach() {
  BYTE* lpBuffer = m_lpBuffer;
  m_lpBuffer = nullptr;
  m_nFileSize = m_nBufferSize = m_nPosition = 0;
  return lpBuffer;
}

void CMemFile::GrowFile(SIZE_T nNewLen) {
  if (nNewLen <= m_nBufferSize) return;
  if (m_nGrowBytes == 0) AfxThrowMemoryException();
  // Whole steps of the grow size, however many a long write needs.
  SIZE_T nNewBufferSize = m_nBufferSize;
  while (nNewBufferSize < nNewLen) nNewBufferSize += m_nGrowBytes;
  BYTE* lpNew = m_lpBuffer ? Realloc(m_lpBuffer, nNewBufferSize) : Alloc(nNewBufferSize);
  if (!lpNew) AfxThrowMemoryException();
  m_lpBuffer = lpNew;
  m_nBufferSize = nNewBufferSize;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount) {
  if (m_nPosition >= m_nFileSize || nCount == 0) return 0;
  SIZE_T n = std::min<SIZE_T>(nCount, m_nFileSize - m_nPosition);
  std::memcpy(lpBuf, m_lpBuffer + m_nPosition, n);
  m_nPosition += n;
  return static_cast<UINT>(n);
}

void CMemFile::Write(const void* lpBuf, UINT nCount) {
  if (nCount == 0) return;
  if (m_nPosition + nCount > m_nBufferSize) GrowFile(m_nPosition + nCount);
  std::memcpy(m_lpBuffer + m_nPosition, lpBuf, nCount);
  m_nPosition += nCount;
  if (m_nPosition > m_nFileSize) m_nFileSize = m_nPosition;
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom) {
  LONGLONG base = nFrom == current ? static_cast<LONGLONG>(m_nPosition)
                  : nFrom == end   ? static_cast<LONGLONG>(m_nFileSize)
                                   : 0;
  if (base + lOff < 0) AfxThrowFileException(CFileException::badSeek);
  m_nPosition = static_cast<SIZE_T>(base + lOff);
  return m_nPosition;
}

void CMemFile::SetLength(ULONGLONG dwNewLen) {
  if (dwNewLen > m_nBufferSize) GrowFile(static_cast<SIZE_T>(dwNewLen));
  if (dwNewLen < m_nPosition) m_nPosition = static_cast<SIZE_T>(dwNewLen);
  m_nFileSize = static_cast<SIZE_T>(dwNewLen);
}

void CMemFile::Close() {
  m_nGrowBytes = m_nGrowBytes ? m_nGrowBytes : 1024;
  m_nPosition = m_nBufferSize = m_nFileSize = 0;
  if (m_lpBuffer && m_bAutoDelete) Free(m_lpBuffer);
  m_lpBuffer = nullptr;
}

// ---------------------------------------------------------------- CSharedFile

CSharedFile::CSharedFile(UINT nAllocFlags, UINT nGrowBytes) : CMemFile(nGrowBytes), m_nAllocFlags(nAllocFlags) {}

CSharedFile::~CSharedFile() {
  if (m_lpBuffer) {
    if (m_bAutoDelete) Free(m_lpBuffer);
    else GlobalUnlock(m_hGlobalMemory);
  }
  m_lpBuffer = nullptr;
  m_hGlobalMemory = nullptr;
}

BYTE* CSharedFile::Alloc(SIZE_T nBytes) {
  m_hGlobalMemory = GlobalAlloc(m_nAllocFlags, nBytes);
  return m_hGlobalMemory ? static_cast<BYTE*>(GlobalLock(m_hGlobalMemory)) : nullptr;
}

BYTE* CSharedFile::Realloc(BYTE* lpMem, SIZE_T nBytes) {
  if (!m_bAllowGrow || !m_hGlobalMemory) return nullptr;
  (void)lpMem;
  GlobalUnlock(m_hGlobalMemory);
  HGLOBAL hNew = GlobalReAlloc(m_hGlobalMemory, nBytes, m_nAllocFlags | GMEM_MOVEABLE);
  if (!hNew) {
    GlobalLock(m_hGlobalMemory);
    return nullptr;
  }
  m_hGlobalMemory = hNew;
  return static_cast<BYTE*>(GlobalLock(m_hGlobalMemory));
}

void CSharedFile::Free(BYTE* lpMem) {
  (void)lpMem;
  if (!m_hGlobalMemory) return;
  GlobalUnlock(m_hGlobalMemory);
  GlobalFree(m_hGlobalMemory);
  m_hGlobalMemory = nullptr;
}

HGLOBAL CSharedFile::Detach() {
  HGLOBAL hMem = m_hGlobalMemory;
  if (hMem) {
    GlobalUnlock(hMem);
    // The block ends where the data ends.
    if (m_nFileSize) {
      if (HGLOBAL hFit = GlobalReAlloc(hMem, m_nFileSize, GMEM_MOVEABLE)) hMem = hFit;
    }
  }
  m_hGlobalMemory = nullptr;
  m_lpBuffer = nullptr;
  m_nFileSize = m_nBufferSize = m_nPosition = 0;
  return hMem;
}

void CSharedFile::SetHandle(HGLOBAL hGlobalMemory, BOOL bAllowGrow) {
  if (m_lpBuffer && m_bAutoDelete) Free(m_lpBuffer);
  m_hGlobalMemory = hGlobalMemory;
  m_lpBuffer = static_cast<BYTE*>(GlobalLock(hGlobalMemory));
  m_nBufferSize = m_nFileSize = GlobalSize(hGlobalMemory);
  m_nPosition = 0;
  m_bAllowGrow = bAllowGrow;
  m_bAutoDelete = FALSE;
}
