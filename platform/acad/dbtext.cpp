// Single-line and multiline text: properties, extents, transforms, explosion and DXF.
#include "dbtext.h"

#include <cmath>
#include <cstring>
#include <cwchar>

#include "dbdatabase.h"
#include "dbgeutil.h"
#include "dbstub.h"
#include "dbsymtb.h"
#include "textutil.h"

using namespace acdbgeo;

ACRX_DEFINE_MEMBERS(AcDbText, AcDbEntity, L"TEXT")
ACRX_DEFINE_MEMBERS(AcDbMText, AcDbEntity, L"MTEXT")

namespace {
ACHAR* CopyText(std::wstring_view s) {
  auto* out = new ACHAR[s.size() + 1];
  std::wmemcpy(out, s.data(), s.size());
  out[s.size()] = 0;
  return out;
}

AcDbObjectId StyleId(AcDbDatabase* db, const std::wstring& name) {
  AcDbObjectId id;
  if (!db) return id;
  AcDbStub* s = db->textStyleTableId().stub();
  if (auto* t = s && s->m_pObject ? AcDbSymbolTable::cast(s->m_pObject) : nullptr) t->getAt(name.c_str(), id);
  return id;
}

bool StyleName(AcDbObjectId id, std::wstring& name) {
  AcDbStub* s = id.stub();
  auto* rec = s && s->m_pObject ? AcDbTextStyleTableRecord::cast(s->m_pObject) : nullptr;
  if (!rec || rec->isErased()) return false;
  name = rec->name();
  return true;
}

AcGeVector3d ReadVector(const std::vector<AcDbDxfPair>& pairs, size_t& i) {
  AcGePoint3d p = AcDbDxfRecord::point(pairs, i);
  return p.asVector();
}
}  // namespace

namespace {
const std::wstring& StandardName() {
  static const std::wstring name = L"Standard";
  return name;
}

// The style as kept: "Standard" (any case) as the empty text.
std::wstring StoredStyle(std::wstring name) {
  if (name == L"Standard" || win::textutil::EqualNoCase(name, L"Standard")) return {};
  return name;
}

// The same for a text's shared name: "Standard" as no name.
AcDbSharedName SharedStyle(AcDbSharedName name) {
  const std::wstring& text = name.textOr(StandardName());
  if (text == L"Standard" || win::textutil::EqualNoCase(text, L"Standard")) return {};
  return name;
}
AcDbSharedName SharedStyle(std::wstring_view name) {
  if (win::textutil::EqualNoCase(name, L"Standard")) return {};
  return AcDbSharedName(name);
}
}  // namespace

// ---- AcDbText -------------------------------------------------------------------

const std::wstring& AcDbText::textStyleName() const { return m_style.textOr(StandardName()); }
void AcDbText::setStyleName(const std::wstring& name) { m_style = SharedStyle(name); }
const std::wstring& AcDbMText::textStyleName() const { return m_style.empty() ? StandardName() : m_style; }

AcDbText::AcDbText(const AcGePoint3d& position, const ACHAR* text, AcDbObjectId style, double height, double rotation)
    : m_position(position), m_alignment(position), m_text(text ? text : L""), m_dRotation(rotation) {
  if (height > 0) m_dHeight = height;
  std::wstring name;
  if (StyleName(style, name)) m_style = SharedStyle(name);
}

ACHAR* AcDbText::textString() const { return CopyText(m_text); }

Acad::ErrorStatus AcDbText::setTextString(const ACHAR* text) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  m_text = text ? text : L"";
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setHeight(double h) {
  if (!(h > 0.0)) return Acad::eInvalidInput;
  m_dHeight = h;
  return Acad::eOk;
}

const AcDbText::Form& AcDbText::form() const {
  static const Form usual;
  return m_form.get() ? *m_form.get() : usual;
}

void AcDbText::setForm(const Form& f) {
  if (m_form.get() || f != Form()) m_form.make() = f;
}

template <class T>
Acad::ErrorStatus AcDbText::setFormField(T Form::*field, T value) {
  Form f = form();
  f.*field = value;
  setForm(f);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setWidthFactor(double w) {
  if (!(w > 0.0)) return Acad::eInvalidInput;
  return setFormField(&Form::widthFactor, w);
}
Acad::ErrorStatus AcDbText::setOblique(double a) { return setFormField(&Form::oblique, a); }
Acad::ErrorStatus AcDbText::setHorizontalMode(AcDbTextHorzMode m) { return setFormField(&Form::horz, m); }
Acad::ErrorStatus AcDbText::setVerticalMode(AcDbTextVertMode m) { return setFormField(&Form::vert, m); }

AcDbObjectId AcDbText::textStyle() const { return StyleId(database(), textStyleName()); }

Acad::ErrorStatus AcDbText::setTextStyle(AcDbObjectId styleId) {
  std::wstring name;
  if (!StyleName(styleId, name)) return Acad::eWrongObjectType;
  m_style = SharedStyle(name);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setNormal(const AcGeVector3d& n) {
  if (n.isZeroLength()) return Acad::eInvalidInput;
  m_plane.setUnitNormal(n.normal());
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::getGeomExtents(AcDbExtents& extents) const {
  extents = AcDbExtents();
  const AcGeVector3d& normal = m_plane.normal();
  AcGeVector3d x = acgeArbitraryXAxis(normal);
  AcGeVector3d y = normal.crossProduct(x);
  AcGeVector3d dir = x * std::cos(m_dRotation) + y * std::sin(m_dRotation);
  AcGeVector3d up = normal.crossProduct(dir);
  // Without font metrics: each character about 0.8 of the height wide.
  double w = 0.8 * m_dHeight * form().widthFactor * static_cast<double>(m_text.size());
  extents.addPoint(m_position);
  extents.addPoint(m_position + dir * w);
  extents.addPoint(m_position + up * m_dHeight);
  extents.addPoint(m_position + dir * w + up * m_dHeight);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::transformBy(const AcGeMatrix3d& xform) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!xform.isUniScaledOrtho()) return Acad::eNotApplicable;
  AcGeVector3d x = acgeArbitraryXAxis(m_plane.normal());
  AcGeVector3d y = m_plane.normal().crossProduct(x);
  AcGeVector3d dir = xform * (x * std::cos(m_dRotation) + y * std::sin(m_dRotation));
  bool mirrored;
  m_plane.setUnitNormal(TransformNormal(xform, m_plane.normal(), mirrored));
  m_position = xform * m_position;
  m_alignment = xform * m_alignment;
  m_dHeight *= xform.scale();
  m_dRotation = AngleInPlane(AcGePoint3d::kOrigin, m_plane.normal(), AcGePoint3d::kOrigin + dir);
  return Acad::eOk;
}

void AcDbText::dxfOutFields(AcDbDxfFiler& filer) const {
  AcDbEntity::dxfOutFields(filer);
  filer.writeUtf8(100, "AcDbText");
  const AcGeVector3d& normal = m_plane.normal();
  const Form& f = form();
  if (m_plane.thickness() != 0.0) filer.writeDouble(39, m_plane.thickness());
  AcGeMatrix3d w2p = AcGeMatrix3d::worldToPlane(normal);
  filer.writePoint3d(10, w2p * m_position);
  filer.writeDouble(40, m_dHeight);
  filer.writeString(1, m_text);
  if (m_dRotation != 0.0) filer.writeDouble(50, m_dRotation * 180.0 / kPi);
  if (f.widthFactor != 1.0) filer.writeDouble(41, f.widthFactor);
  if (f.oblique != 0.0) filer.writeDouble(51, f.oblique * 180.0 / kPi);
  filer.writeString(7, textStyleName());
  if (f.horz != kTextLeft) filer.writeInt(72, f.horz);
  if (f.horz != kTextLeft || f.vert != kTextBase) filer.writePoint3d(11, w2p * m_alignment);
  if (!normal.isEqualTo(AcGeVector3d::kZAxis)) filer.writeVector3d(210, normal);
  filer.writeUtf8(100, "AcDbText");
  if (f.vert != kTextBase) filer.writeInt(73, f.vert);
}

Acad::ErrorStatus AcDbText::dxfInFields(const AcDbDxfRecord& record) {
  AcDbEntity::dxfInFields(record);
  const auto& pairs = record.pairs;
  AcGePoint3d pos, align;
  bool haveAlign = false;
  Form f = form();
  for (size_t i = 0, nPairs = pairs.size(); i < nPairs; ++i) {
    const AcDbDxfPair& p = pairs[i];
    switch (p.code) {
      case 10: pos = AcDbDxfRecord::point(pairs, i); break;
      case 11: align = AcDbDxfRecord::point(pairs, i); haveAlign = true; break;
      case 40: m_dHeight = AcDbDxfRecord::real(p); break;
      case 1: m_text = record.text(p.value); break;
      case 50: m_dRotation = AcDbDxfRecord::real(p) * kPi / 180.0; break;
      case 41: f.widthFactor = AcDbDxfRecord::real(p); break;
      case 51: f.oblique = AcDbDxfRecord::real(p) * kPi / 180.0; break;
      case 7: m_style = SharedStyle(record.sharedText(p.value)); break;
      case 39: m_plane.setThickness(AcDbDxfRecord::real(p)); break;
      case 72: {
        long long m = AcDbDxfRecord::integer(p.value);
        f.horz = m >= 0 && m <= 5 ? static_cast<AcDbTextHorzMode>(m) : kTextLeft;
        break;
      }
      case 73: {
        long long m = AcDbDxfRecord::integer(p.value);
        f.vert = m >= 0 && m <= 3 ? static_cast<AcDbTextVertMode>(m) : kTextBase;
        break;
      }
      case 210: {
        AcGeVector3d n = ReadVector(pairs, i);
        if (!n.isZeroLength()) m_plane.setUnitNormal(n.normal());
        break;
      }
      default: break;
    }
  }
  if (!(f.widthFactor > 0.0)) f.widthFactor = 1.0;
  setForm(f);
  // Most texts lie in the world's plane, whose object system is the world's.
  const AcGeVector3d& normal = m_plane.normal();
  bool flat = normal.x == 0.0 && normal.y == 0.0 && normal.z == 1.0;
  AcGeMatrix3d p2w = flat ? AcGeMatrix3d::kIdentity : AcGeMatrix3d::planeToWorld(normal);
  m_position = flat ? pos : p2w * pos;
  m_alignment = haveAlign ? (flat ? align : p2w * align) : m_position;
  return Acad::eOk;
}

// ---- AcDbMText ------------------------------------------------------------------

ACHAR* AcDbMText::contents() const { return CopyText(m_contents); }

Acad::ErrorStatus AcDbMText::setContents(const ACHAR* text) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  m_contents = text ? text : L"";
  return Acad::eOk;
}

std::wstring AcDbMText::text() const {
  std::wstring out;
  const std::wstring& s = m_contents;
  for (size_t i = 0; i < s.size(); ++i) {
    wchar_t c = s[i];
    if (c == L'{' || c == L'}') continue;
    if (c != L'\\' || i + 1 >= s.size()) {
      out.push_back(c);
      continue;
    }
    wchar_t code = s[++i];
    switch (code) {
      case L'P': case L'n': out.push_back(L'\n'); break;
      case L'~': out.push_back(L' '); break;
      case L'\\': case L'{': case L'}': out.push_back(code); break;
      case L'L': case L'l': case L'O': case L'o': case L'K': case L'k': break;
      case L'S': {
        // Stacked text a^b; or a/b; or a#b; reads as a/b.
        size_t end = s.find(L';', i + 1);
        std::wstring stack = s.substr(i + 1, end == std::wstring::npos ? std::wstring::npos : end - i - 1);
        for (wchar_t& ch : stack)
          if (ch == L'^' || ch == L'#') ch = L'/';
        out += stack;
        i = end == std::wstring::npos ? s.size() : end;
        break;
      }
      case L'f': case L'F': case L'H': case L'W': case L'Q': case L'T': case L'A': case L'C': case L'c':
      case L'p': {
        size_t end = s.find(L';', i + 1);
        i = end == std::wstring::npos ? s.size() : end;
        break;
      }
      default: out.push_back(code); break;
    }
  }
  return out;
}

Acad::ErrorStatus AcDbMText::setTextHeight(double h) {
  if (!(h > 0.0)) return Acad::eInvalidInput;
  m_dHeight = h;
  return Acad::eOk;
}

double AcDbMText::rotation() const {
  return AngleInPlane(AcGePoint3d::kOrigin, m_normal, AcGePoint3d::kOrigin + m_direction);
}

Acad::ErrorStatus AcDbMText::setRotation(double a) {
  m_direction = (PointOnCircle(AcGePoint3d::kOrigin, m_normal, 1.0, a) - AcGePoint3d::kOrigin).normal();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::setDirection(const AcGeVector3d& d) {
  if (d.isZeroLength()) return Acad::eInvalidInput;
  m_direction = d.normal();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::setNormal(const AcGeVector3d& n) {
  if (n.isZeroLength()) return Acad::eInvalidInput;
  m_normal = n.normal();
  return Acad::eOk;
}

AcDbObjectId AcDbMText::textStyle() const { return StyleId(database(), textStyleName()); }

Acad::ErrorStatus AcDbMText::setTextStyle(AcDbObjectId styleId) {
  std::wstring name;
  if (!StyleName(styleId, name)) return Acad::eWrongObjectType;
  m_style = StoredStyle(name);
  return Acad::eOk;
}

namespace {
std::vector<std::wstring> Lines(const std::wstring& text) {
  std::vector<std::wstring> lines(1);
  for (wchar_t c : text) {
    if (c == L'\n') lines.emplace_back();
    else lines.back().push_back(c);
  }
  return lines;
}
}  // namespace

Acad::ErrorStatus AcDbMText::getGeomExtents(AcDbExtents& extents) const {
  extents = AcDbExtents();
  std::vector<std::wstring> lines = Lines(text());
  size_t longest = 0;
  for (const auto& l : lines) longest = std::max(longest, l.size());
  double w = m_dWidth > 0 ? m_dWidth : 0.8 * m_dHeight * static_cast<double>(longest);
  double h = m_dHeight * (1 + 1.6667 * m_dLineSpacing * static_cast<double>(lines.size() - 1));
  AcGeVector3d down = -m_normal.crossProduct(m_direction);
  // The box hangs from the location as the attachment says.
  int col = (static_cast<int>(m_attachment) - 1) % 3, row = (static_cast<int>(m_attachment) - 1) / 3;
  AcGePoint3d topLeft = m_location - m_direction * (w * col / 2.0) - down * (h * row / 2.0);
  extents.addPoint(topLeft);
  extents.addPoint(topLeft + m_direction * w + down * h);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::transformBy(const AcGeMatrix3d& xform) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!xform.isUniScaledOrtho()) return Acad::eNotApplicable;
  bool mirrored;
  m_normal = TransformNormal(xform, m_normal, mirrored);
  m_direction = (xform * m_direction).normal();
  m_location = xform * m_location;
  m_dHeight *= xform.scale();
  m_dWidth *= xform.scale();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::explode(AcDbVoidPtrArray& entities) const {
  std::vector<std::wstring> lines = Lines(text());
  AcGeVector3d down = -m_normal.crossProduct(m_direction);
  double step = m_dHeight * 1.6667 * m_dLineSpacing;
  int col = (static_cast<int>(m_attachment) - 1) % 3;
  int row = (static_cast<int>(m_attachment) - 1) / 3;
  size_t longest = 0;
  for (const auto& l : lines) longest = std::max(longest, l.size());
  double w = m_dWidth > 0 ? m_dWidth : 0.8 * m_dHeight * static_cast<double>(longest);
  double h = m_dHeight + step * static_cast<double>(lines.size() - 1);
  AcGePoint3d topLeft = m_location - m_direction * (w * col / 2.0) - down * (h * row / 2.0);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    AcGePoint3d base = topLeft + down * (m_dHeight + step * static_cast<double>(i));
    auto* t = new AcDbText(base, lines[i].c_str(), AcDbObjectId::kNull, m_dHeight, rotation());
    t->setStyleName(textStyleName());
    t->setNormal(m_normal);
    t->setPropertiesFrom(*this);
    entities.append(t);
  }
  return Acad::eOk;
}

void AcDbMText::dxfOutFields(AcDbDxfFiler& filer) const {
  AcDbEntity::dxfOutFields(filer);
  filer.writeUtf8(100, "AcDbMText");
  filer.writePoint3d(10, m_location);
  filer.writeDouble(40, m_dHeight);
  filer.writeDouble(41, m_dWidth);
  filer.writeInt(71, m_attachment);
  filer.writeInt(72, 1);
  // Long contents go in pieces of 250 characters: 3 groups, then the last as 1.
  size_t pos = 0;
  while (m_contents.size() - pos > 250) {
    filer.writeString(3, std::wstring_view(m_contents).substr(pos, 250));
    pos += 250;
  }
  filer.writeString(1, std::wstring_view(m_contents).substr(pos));
  filer.writeString(7, textStyleName());
  if (!m_normal.isEqualTo(AcGeVector3d::kZAxis)) filer.writeVector3d(210, m_normal);
  filer.writeVector3d(11, m_direction);
  filer.writeInt(73, 1);
  filer.writeDouble(44, m_dLineSpacing);
}

Acad::ErrorStatus AcDbMText::dxfInFields(const AcDbDxfRecord& record) {
  AcDbEntity::dxfInFields(record);
  const auto& pairs = record.pairs;
  // The pieces are joined as bytes first: a piece of an older file may end
  // inside a double-byte character.
  std::string pieces;
  std::string_view last;
  bool haveRotation = false, haveDirection = false;
  double rot = 0.0;
  for (size_t i = 0; i < pairs.size(); ++i) {
    const AcDbDxfPair& p = pairs[i];
    switch (p.code) {
      case 10: m_location = AcDbDxfRecord::point(pairs, i); break;
      case 40: m_dHeight = AcDbDxfRecord::real(p); break;
      case 41: m_dWidth = AcDbDxfRecord::real(p); break;
      case 44: m_dLineSpacing = AcDbDxfRecord::real(p); break;
      case 71: {
        long long a = AcDbDxfRecord::integer(p.value);
        m_attachment = static_cast<AttachmentPoint>(a >= 1 && a <= 9 ? a : 1);
        break;
      }
      case 3: pieces += p.value; break;
      case 1: last = p.value; break;
      case 7: m_style = StoredStyle(record.text(p.value)); break;
      case 50: rot = AcDbDxfRecord::real(p) * kPi / 180.0; haveRotation = true; break;
      case 11: {
        AcGeVector3d d = ReadVector(pairs, i);
        if (!d.isZeroLength()) { m_direction = d.normal(); haveDirection = true; }
        break;
      }
      case 210: {
        AcGeVector3d n = ReadVector(pairs, i);
        if (!n.isZeroLength()) m_normal = n.normal();
        break;
      }
      default: break;
    }
  }
  pieces += last;
  m_contents = record.text(pieces);
  if (!(m_dLineSpacing > 0.0)) m_dLineSpacing = 1.0;
  if (haveRotation && !haveDirection) setRotation(rot);
  return Acad::eOk;
}
