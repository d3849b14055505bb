// The drive-test application's images as PNG bytes (LevelmapImages.cpp is
// written by data/images/mkimages).
#pragma once

#include <cstddef>

// Icon 111: the product icon, 128 x 128.
extern const unsigned char kLevelmapIconPng[];
extern const size_t kLevelmapIconPngSize;
// Bitmap 107: seven 32 x 32 button images side by side on RGB(0, 255, 0).
extern const unsigned char kLevelmapButtonsPng[];
extern const size_t kLevelmapButtonsPngSize;
// The preview's cursors 39464 (default), 40464 (orbit) and 41464 (pan), 32 x 32.
extern const unsigned char kLevelmapCursorDefaultPng[];
extern const size_t kLevelmapCursorDefaultPngSize;
extern const unsigned char kLevelmapCursorOrbitPng[];
extern const size_t kLevelmapCursorOrbitPngSize;
extern const unsigned char kLevelmapCursorPanPng[];
extern const size_t kLevelmapCursorPanPngSize;
