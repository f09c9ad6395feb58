#include "layout/win32/fonts.h"

#include "platform/win32/text.h"

namespace quorvel::layout {
namespace {

// Whether the font mapper gives the face itself for its name, rather than a
// stand-in. (Asking it costs less than enumerating the face, which reads the
// metrics of every style it has.)
bool FaceInstalled(HDC dc, const std::wstring& face) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  face.copy(query.lfFaceName, LF_FACESIZE - 1);
  const win::UniqueFont font(::CreateFontIndirectW(&query));
  const win::ScopedSelect selected(dc, font.get());
  wchar_t given[LF_FACESIZE] = {};
  return ::GetTextFaceW(dc, LF_FACESIZE, given) > 0 &&
         ::CompareStringOrdinal(given, -1, face.c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

std::wstring AvailableFace(std::string_view face) {
  static std::map<std::string, std::wstring, std::less<>> chosen;
  if (const auto known = chosen.find(face); known != chosen.end()) return known->second;
  std::wstring result = win::OwnText(face);
  // One memory DC for every candidate: the screen's DC costs a round to the
  // window system each time it is taken.
  const win::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
  for (const std::string_view candidate : FaceCandidates(face)) {
    if (FaceInstalled(dc.get(), win::OwnText(candidate))) {
      result = win::OwnText(candidate);
      break;
    }
  }
  chosen.emplace(std::string(face), result);
  return result;
}

HFONT FontCache::Get(const Font& font, int dpi) {
  if (font.face.empty()) return nullptr;
  const auto key =
      std::make_tuple(font.face, font.centipoints, font.bold, font.italic, font.oem_charset, dpi);
  if (const auto found = fonts_.find(key); found != fonts_.end()) return found->second.get();
  const std::wstring face = AvailableFace(font.face);
  LOGFONTW description{};
  description.lfHeight = FontHeight(font, dpi);
  description.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  description.lfItalic = font.italic ? TRUE : FALSE;
  // An OEM face keeps its character set; a stand-in face would lose out to
  // any OEM font the mapper finds.
  const bool own_face = face == win::OwnText(font.face);
  description.lfCharSet = font.oem_charset && own_face ? OEM_CHARSET : DEFAULT_CHARSET;
  face.copy(description.lfFaceName, LF_FACESIZE - 1);
  HFONT made = ::CreateFontIndirectW(&description);
  fonts_.emplace(key, win::UniqueFont(made));
  return made;
}

}  // namespace quorvel::layout
