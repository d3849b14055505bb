// AcCmColor: colour index or true colour of entities and layers.
#include "dbcolor.h"

Adesk::UInt16 AcCmColor::colorIndex() const {
  switch (m_method) {
    case AcCmEntityColor::kByLayer: return 256;
    case AcCmEntityColor::kByBlock: return 0;
    case AcCmEntityColor::kForeground: return 7;
    case AcCmEntityColor::kNone: return 257;
    default: return m_index;
  }
}

Acad::ErrorStatus AcCmColor::setColorIndex(Adesk::UInt16 index) {
  if (index > 257) return Acad::eInvalidInput;
  m_index = index;
  m_rgb = 0;
  m_method = index == 256 ? AcCmEntityColor::kByLayer
             : index == 0 ? AcCmEntityColor::kByBlock
             : index == 257 ? AcCmEntityColor::kNone
                            : AcCmEntityColor::kByACI;
  return Acad::eOk;
}

Acad::ErrorStatus AcCmColor::setColorMethod(AcCmEntityColor::ColorMethod method) {
  m_method = method;
  if (method == AcCmEntityColor::kByLayer) m_index = 256;
  if (method == AcCmEntityColor::kByBlock) m_index = 0;
  return Acad::eOk;
}

Acad::ErrorStatus AcCmColor::setRGB(Adesk::UInt8 r, Adesk::UInt8 g, Adesk::UInt8 b) {
  m_method = AcCmEntityColor::kByColor;
  m_rgb = (static_cast<Adesk::UInt32>(r) << 16) | (static_cast<Adesk::UInt32>(g) << 8) | b;
  return Acad::eOk;
}
