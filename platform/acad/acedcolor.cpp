// acedGetRGB: the host's 256-colour index palette.
#include "acedcolor.h"

namespace {

constexpr Adesk::UInt32 Rgb(int r, int g, int b) {
  return static_cast<Adesk::UInt32>(r) | (static_cast<Adesk::UInt32>(g) << 8) | (static_cast<Adesk::UInt32>(b) << 16);
}

// Hue sector by sector, with the channels floored as the host's table has them.
Adesk::UInt32 Hue(int index) {
  static constexpr double kShade[5] = {255, 204, 153, 127, 76};
  int hue = (index - 10) / 10;  // 0..23, 15 degrees each
  int step = (index - 10) % 10;
  double v = kShade[step / 2];
  double s = step % 2 ? 0.5 : 1.0;
  double h = hue * 15.0 / 60.0;  // sector position 0..6
  int sector = static_cast<int>(h) % 6;
  double f = h - static_cast<int>(h);
  double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
  double r = 0, g = 0, b = 0;
  switch (sector) {
    case 0: r = v; g = t; b = p; break;
    case 1: r = q; g = v; b = p; break;
    case 2: r = p; g = v; b = t; break;
    case 3: r = p; g = q; b = v; break;
    case 4: r = t; g = p; b = v; break;
    default: r = v; g = p; b = q; break;
  }
  return Rgb(static_cast<int>(r), static_cast<int>(g), static_cast<int>(b));
}

}  // namespace

Adesk::UInt32 acedGetRGB(int colorIndex) {
  static constexpr Adesk::UInt32 kNamed[10] = {
      Rgb(0, 0, 0),       Rgb(255, 0, 0),   Rgb(255, 255, 0), Rgb(0, 255, 0),     Rgb(0, 255, 255),
      Rgb(0, 0, 255),     Rgb(255, 0, 255), Rgb(255, 255, 255), Rgb(128, 128, 128), Rgb(192, 192, 192)};
  static constexpr Adesk::UInt32 kGrey[6] = {Rgb(51, 51, 51),    Rgb(91, 91, 91),    Rgb(132, 132, 132),
                                             Rgb(173, 173, 173), Rgb(214, 214, 214), Rgb(255, 255, 255)};
  if (colorIndex >= 0 && colorIndex <= 9) return kNamed[colorIndex];
  if (colorIndex >= 10 && colorIndex <= 249) return Hue(colorIndex);
  if (colorIndex >= 250 && colorIndex <= 255) return kGrey[colorIndex - 250];
  return Rgb(255, 255, 255);
}

namespace {
AcColorSettings& CurrentColors() {
  static AcColorSettings settings = acad::DefaultColorSettings();
  return settings;
}
}  // namespace

namespace acad {
AcColorSettings DefaultColorSettings() {
  return AcColorSettings{Rgb(0, 0, 0),       Rgb(255, 255, 255), Rgb(0, 0, 0),
                         Rgb(33, 40, 48),    Rgb(255, 255, 255), Rgb(255, 255, 255),
                         Rgb(255, 255, 255), Rgb(0, 0, 0),       Rgb(0, 0, 0)};
}
void ResetColorSettings() { CurrentColors() = DefaultColorSettings(); }
}  // namespace acad

bool acedGetCurrentColors(AcColorSettings* pColorSettings) {
  if (!pColorSettings) return false;
  *pColorSettings = CurrentColors();
  return true;
}

bool acedSetCurrentColors(AcColorSettings* pColorSettings) {
  if (!pColorSettings) return false;
  CurrentColors() = *pColorSettings;
  return true;
}
