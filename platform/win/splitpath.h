// The C runtime's path splitting and joining for wide paths.
#pragma once

#include <cerrno>
#include <cstddef>

#include "wintypes.h"

typedef int errno_t;

// Splits "C:\dir\sub\name.ext" into "C:", "\dir\sub\", "name" and ".ext".
// Either separator counts; the extension starts at the last dot of the last
// component. A part not wanted is passed as null with size 0. Returns 0;
// EINVAL for a null path or a buffer that does not match its size; ERANGE
// when a part does not fit its buffer. On any error every buffer given is
// emptied.
errno_t _wsplitpath_s(const wchar_t* path, wchar_t* drive, size_t driveSize, wchar_t* dir, size_t dirSize,
                      wchar_t* fname, size_t fnameSize, wchar_t* ext, size_t extSize);
// The same with buffers of the classic sizes (_MAX_DRIVE, _MAX_DIR, ...).
void _wsplitpath(const wchar_t* path, wchar_t* drive, wchar_t* dir, wchar_t* fname, wchar_t* ext);

// Joins the parts: "C" or "C:" gives "C:", a folder gets a trailing
// backslash when it has no separator at its end, an extension gets its dot.
// Any part may be null or empty. ERANGE (and an empty result) when the
// result does not fit; EINVAL for a null buffer or size 0.
errno_t _wmakepath_s(wchar_t* path, size_t sizeInWords, const wchar_t* drive, const wchar_t* dir,
                     const wchar_t* fname, const wchar_t* ext);
void _wmakepath(wchar_t* path, const wchar_t* drive, const wchar_t* dir, const wchar_t* fname, const wchar_t* ext);
