// Printers that write PDF files: the printer device context (CreateDCW), the
// document and page calls, and the default printer. A printer's pages are
// Cairo PDF pages whose user units are the printer's dots, so everything the
// drawing layer does on a window it does on paper too, as vector graphics
// with the text kept as text.
#include <cairo-pdf.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "dlgscript.h"
#include "gdiimpl.h"
#include "module.h"
#include "paths.h"
#include "textconv.h"
#include "textutil.h"
#include "winspool.h"

namespace win {
namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kPointsPerInch = 72.0;

// Paper in tenths of a millimetre, portrait.
struct Paper {
  int width, length;
};

Paper PaperOf(short paperSize) {
  switch (paperSize) {
    case DMPAPER_LETTER: return {2159, 2794};
    case DMPAPER_LEGAL: return {2159, 3556};
    case DMPAPER_A3: return {2970, 4200};
    case DMPAPER_A5: return {1480, 2100};
    default: return {2100, 2970};
  }
}

// One printer context's device: its settings and the document being printed.
class PrinterDevice : public gdi::VectorDevice {
 public:
  PrinterDevice(SIZE res, int dpiX, int dpiY, double widthPt, double heightPt, std::string file)
      : VectorDevice(res, dpiX, dpiY), m_widthPt(widthPt), m_heightPt(heightPt), m_file(std::move(file)) {}
  ~PrinterDevice() override { Abort(); }

  bool InDocument() const { return m_pdf != nullptr; }
  bool PageOpen() const { return m_pageOpen; }

  // Opens the PDF file; false when it cannot be written.
  bool Start(const std::string& output, const std::string& title) {
    if (m_pdf) return false;
    cairo_surface_t* pdf = cairo_pdf_surface_create(output.c_str(), m_widthPt, m_heightPt);
    if (cairo_surface_status(pdf) != CAIRO_STATUS_SUCCESS) {
      cairo_surface_destroy(pdf);
      return false;
    }
    if (!title.empty()) cairo_pdf_surface_set_metadata(pdf, CAIRO_PDF_METADATA_TITLE, title.c_str());
    cairo_surface_set_device_scale(pdf, kPointsPerInch / dpiX, kPointsPerInch / dpiY);
    m_pdf = pdf;
    m_output = output;
    m_pages = 0;
    return true;
  }
  cairo_surface_t* Surface() const { return m_pdf; }
  void OpenPage() { m_pageOpen = true; }
  bool ClosePage() {
    if (!m_pdf || !m_pageOpen) return false;
    m_pageOpen = false;
    cairo_surface_show_page(m_pdf);
    ++m_pages;
    return cairo_surface_status(m_pdf) == CAIRO_STATUS_SUCCESS;
  }
  // Completes the file; false (and no file left) when it failed.
  bool Finish() {
    if (!m_pdf) return false;
    if (m_pageOpen) ClosePage();
    cairo_surface_finish(m_pdf);
    bool ok = cairo_surface_status(m_pdf) == CAIRO_STATUS_SUCCESS && m_pages > 0;
    cairo_surface_destroy(m_pdf);
    m_pdf = nullptr;
    if (!ok) ::unlink(m_output.c_str());
    return ok;
  }
  void Abort() {
    if (!m_pdf) return;
    cairo_surface_finish(m_pdf);
    cairo_surface_destroy(m_pdf);
    m_pdf = nullptr;
    m_pageOpen = false;
    ::unlink(m_output.c_str());
  }
  const std::string& File() const { return m_file; }

 private:
  double m_widthPt, m_heightPt;
  std::string m_file;
  std::string m_output;
  cairo_surface_t* m_pdf = nullptr;
  bool m_pageOpen = false;
  int m_pages = 0;
};

PrinterDevice* PrinterOf(HDC hdc) { return dynamic_cast<PrinterDevice*>(gdi::DeviceOf(hdc)); }

std::string AbsolutePosix(const std::wstring& path) {
  std::string posix = ToPosixPath(std::wstring_view(path));
  std::error_code ec;
  std::filesystem::path abs = std::filesystem::absolute(posix, ec);
  return ec ? posix : abs.lexically_normal().string();
}

}  // namespace
}  // namespace win

using namespace win;

HDC CreateDCW(LPCWSTR, LPCWSTR device, LPCWSTR, const DEVMODEW* devMode) {
  if (!device || !*device || textutil::EqualNoCase(device, L"DISPLAY")) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  Paper paper = PaperOf(DMPAPER_A4);
  int dpiX = 600, dpiY = 600;
  bool landscape = false;
  if (devMode) {
    if (devMode->dmFields & DM_PAPERSIZE) paper = PaperOf(devMode->dmPaperSize);
    if ((devMode->dmFields & DM_PAPERWIDTH) && devMode->dmPaperWidth > 0) paper.width = devMode->dmPaperWidth;
    if ((devMode->dmFields & DM_PAPERLENGTH) && devMode->dmPaperLength > 0) paper.length = devMode->dmPaperLength;
    if ((devMode->dmFields & DM_PRINTQUALITY) && devMode->dmPrintQuality > 0) dpiX = dpiY = devMode->dmPrintQuality;
    if ((devMode->dmFields & DM_YRESOLUTION) && devMode->dmYResolution > 0) dpiY = devMode->dmYResolution;
    landscape = (devMode->dmFields & DM_ORIENTATION) && devMode->dmOrientation == DMORIENT_LANDSCAPE;
  }
  if (landscape) std::swap(paper.width, paper.length);
  double widthIn = paper.width / 10.0 / kMmPerInch, lengthIn = paper.length / 10.0 / kMmPerInch;
  SIZE res{static_cast<LONG>(std::lround(widthIn * dpiX)), static_cast<LONG>(std::lround(lengthIn * dpiY))};
  auto printer = std::make_shared<PrinterDevice>(res, dpiX, dpiY, widthIn * kPointsPerInch, lengthIn * kPointsPerInch,
                                                 AbsolutePosix(device));
  return gdi::CreateDeviceDC(std::move(printer));
}

int StartDocW(HDC hdc, const DOCINFOW* docInfo) {
  PrinterDevice* printer = PrinterOf(hdc);
  if (!printer || printer->InDocument()) return SP_ERROR;
  std::string output = docInfo && docInfo->lpszOutput && *docInfo->lpszOutput ? AbsolutePosix(docInfo->lpszOutput)
                                                                              : printer->File();
  std::string title = docInfo && docInfo->lpszDocName ? WideToUtf8(docInfo->lpszDocName) : std::string();
  if (!printer->Start(output, title)) return SP_ERROR;
  gdi::SetDeviceSurface(hdc, printer->Surface());
  return 1;
}

int StartPage(HDC hdc) {
  PrinterDevice* printer = PrinterOf(hdc);
  if (!printer || !printer->InDocument() || printer->PageOpen()) return SP_ERROR;
  printer->OpenPage();
  return 1;
}

int EndPage(HDC hdc) {
  PrinterDevice* printer = PrinterOf(hdc);
  if (!printer || !printer->ClosePage()) return SP_ERROR;
  return 1;
}

int EndDoc(HDC hdc) {
  PrinterDevice* printer = PrinterOf(hdc);
  if (!printer || !printer->InDocument()) return SP_ERROR;
  gdi::SetDeviceSurface(hdc, nullptr);
  return printer->Finish() ? 1 : SP_ERROR;
}

int AbortDoc(HDC hdc) {
  PrinterDevice* printer = PrinterOf(hdc);
  if (!printer || !printer->InDocument()) return SP_ERROR;
  gdi::SetDeviceSurface(hdc, nullptr);
  printer->Abort();
  return 1;
}

BOOL GetDefaultPrinterW(LPWSTR buffer, LPDWORD size) {
  if (!size) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string posix;
  if (const char* env = std::getenv("MARLO_PRINTER"); env && *env) posix = env;
  else posix = SnapshotFolder() + "/print.pdf";
  std::wstring name = ToWindowsPath(AbsolutePosix(Utf8ToWide(posix)));
  DWORD needed = static_cast<DWORD>(name.size() + 1);
  if (!buffer || *size < needed) {
    *size = needed;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  wmemcpy(buffer, name.c_str(), name.size() + 1);
  *size = needed;
  return TRUE;
}
