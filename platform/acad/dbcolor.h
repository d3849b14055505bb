// AcCmColor: an entity or layer colour as a colour index (1-255, 0 by block,
// 256 by layer) or a true colour.
#pragma once

#include "adesk.h"

namespace AcCmEntityColor {
enum ColorMethod { kByLayer = 0xC0, kByBlock = 0xC1, kByColor = 0xC2, kByACI = 0xC3, kForeground = 0xC5, kNone = 0xC8 };
}

class AcCmColor {
 public:
  AcCmColor() = default;
  AcCmEntityColor::ColorMethod colorMethod() const { return m_method; }
  Adesk::UInt16 colorIndex() const;
  Acad::ErrorStatus setColorIndex(Adesk::UInt16 index);
  Acad::ErrorStatus setColorMethod(AcCmEntityColor::ColorMethod method);
  Acad::ErrorStatus setRGB(Adesk::UInt8 red, Adesk::UInt8 green, Adesk::UInt8 blue);
  Adesk::UInt8 red() const { return static_cast<Adesk::UInt8>(m_rgb >> 16); }
  Adesk::UInt8 green() const { return static_cast<Adesk::UInt8>(m_rgb >> 8); }
  Adesk::UInt8 blue() const { return static_cast<Adesk::UInt8>(m_rgb); }
  Adesk::UInt32 rgb() const { return m_rgb; }
  bool isByLayer() const { return m_method == AcCmEntityColor::kByLayer; }
  bool isByBlock() const { return m_method == AcCmEntityColor::kByBlock; }
  bool isByACI() const { return m_method == AcCmEntityColor::kByACI; }
  bool operator==(const AcCmColor& o) const { return m_method == o.m_method && m_index == o.m_index && m_rgb == o.m_rgb; }
  bool operator!=(const AcCmColor& o) const { return !(*this == o); }

 private:
  AcCmEntityColor::ColorMethod m_method = AcCmEntityColor::kByLayer;
  Adesk::UInt16 m_index = 256;
  Adesk::UInt32 m_rgb = 0;
};
