// _wsplitpath_s and _wmakepath_s.
#include "splitpath.h"

#include <cwchar>
#include <string>
#include <string_view>

namespace {

struct Part {
  wchar_t* buffer;
  size_t size;
};

void Clear(const Part& part) {
  if (part.buffer && part.size > 0) part.buffer[0] = L'\0';
}

bool Fits(const Part& part, std::wstring_view text) { return !part.buffer || text.size() < part.size; }

void Store(const Part& part, std::wstring_view text) {
  if (!part.buffer) return;
  std::wmemcpy(part.buffer, text.data(), text.size());
  part.buffer[text.size()] = L'\0';
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

}  // namespace

errno_t _wsplitpath_s(const wchar_t* path, wchar_t* drive, size_t driveSize, wchar_t* dir, size_t dirSize,
                      wchar_t* fname, size_t fnameSize, wchar_t* ext, size_t extSize) {
  const Part parts[4] = {{drive, driveSize}, {dir, dirSize}, {fname, fnameSize}, {ext, extSize}};
  auto fail = [&](errno_t error) {
    for (const Part& part : parts) Clear(part);
    errno = error;
    return error;
  };
  for (const Part& part : parts) {
    if ((part.buffer == nullptr) != (part.size == 0)) return fail(EINVAL);
  }
  if (!path) return fail(EINVAL);

  std::wstring_view rest(path);
  std::wstring_view drivePart;
  if (rest.size() >= 2 && rest[1] == L':') {
    drivePart = rest.substr(0, 2);
    rest.remove_prefix(2);
  }
  size_t lastSeparator = std::wstring_view::npos;
  for (size_t i = 0; i < rest.size(); ++i) {
    if (IsSeparator(rest[i])) lastSeparator = i;
  }
  std::wstring_view dirPart = lastSeparator == std::wstring_view::npos ? std::wstring_view() : rest.substr(0, lastSeparator + 1);
  std::wstring_view name = rest.substr(dirPart.size());
  size_t dot = name.rfind(L'.');
  std::wstring_view fnamePart = dot == std::wstring_view::npos ? name : name.substr(0, dot);
  std::wstring_view extPart = dot == std::wstring_view::npos ? std::wstring_view() : name.substr(dot);

  const std::wstring_view texts[4] = {drivePart, dirPart, fnamePart, extPart};
  for (int i = 0; i < 4; ++i) {
    if (!Fits(parts[i], texts[i])) return fail(ERANGE);
  }
  for (int i = 0; i < 4; ++i) Store(parts[i], texts[i]);
  return 0;
}

void _wsplitpath(const wchar_t* path, wchar_t* drive, wchar_t* dir, wchar_t* fname, wchar_t* ext) {
  _wsplitpath_s(path, drive, drive ? _MAX_DRIVE : 0, dir, dir ? _MAX_DIR : 0, fname, fname ? _MAX_FNAME : 0, ext,
                ext ? _MAX_EXT : 0);
}

errno_t _wmakepath_s(wchar_t* path, size_t sizeInWords, const wchar_t* drive, const wchar_t* dir,
                     const wchar_t* fname, const wchar_t* ext) {
  if (!path || sizeInWords == 0) {
    errno = EINVAL;
    return EINVAL;
  }
  std::wstring out;
  if (drive && *drive) {
    out += drive[0];
    out += L':';
  }
  if (dir && *dir) {
    out += dir;
    if (!IsSeparator(out.back())) out += L'\\';
  }
  if (fname) out += fname;
  if (ext && *ext) {
    if (ext[0] != L'.') out += L'.';
    out += ext;
  }
  if (out.size() >= sizeInWords) {
    path[0] = L'\0';
    errno = ERANGE;
    return ERANGE;
  }
  std::wmemcpy(path, out.data(), out.size());
  path[out.size()] = L'\0';
  return 0;
}

void _wmakepath(wchar_t* path, const wchar_t* drive, const wchar_t* dir, const wchar_t* fname, const wchar_t* ext) {
  _wmakepath_s(path, _MAX_PATH, drive, dir, fname, ext);
}
