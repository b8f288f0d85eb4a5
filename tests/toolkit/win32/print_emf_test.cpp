// The GDI painter of printed pages, drawn into an enhanced metafile instead
// of a printer: the metafile's records give back each ExtTextOutW call's text
// and position and each font asked for, so no printer is needed.
#include "app/toolkit/win32/windows_header.h"
// (windows_header.h first: it brings <windows.h> with the program's settings.)
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/toolkit/win32/print_native.h"

namespace {

struct TextOut {
  std::wstring text;
  POINTL at;
  LONG fontHeight;
  LONG fontWeight;
  std::wstring face;
};

struct Recorded {
  std::vector<LOGFONTW> fonts;  // by object handle index in the metafile
  std::vector<DWORD> fontIndex;
  LOGFONTW current{};
  std::vector<TextOut> texts;
  std::vector<POINTL> lineEnds;
};

int CALLBACK Collect(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) {
  auto* out = reinterpret_cast<Recorded*>(data);
  switch (record->iType) {
    case EMR_EXTCREATEFONTINDIRECTW: {
      const auto* font = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(record);
      out->fontIndex.push_back(font->ihFont);
      out->fonts.push_back(font->elfw.elfLogFont);
      break;
    }
    case EMR_SELECTOBJECT: {
      const DWORD handle = reinterpret_cast<const EMRSELECTOBJECT*>(record)->ihObject;
      for (std::size_t i = 0; i < out->fontIndex.size(); ++i) {
        if (out->fontIndex[i] == handle) out->current = out->fonts[i];
      }
      break;
    }
    case EMR_EXTTEXTOUTW: {
      const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
      const auto* chars = reinterpret_cast<const wchar_t*>(reinterpret_cast<const char*>(record) +
                                                           text->emrtext.offString);
      out->texts.push_back({std::wstring(chars, text->emrtext.nChars), text->emrtext.ptlReference,
                            out->current.lfHeight, out->current.lfWeight, out->current.lfFaceName});
      break;
    }
    case EMR_LINETO:
      out->lineEnds.push_back(reinterpret_cast<const EMRLINETO*>(record)->ptl);
      break;
    default:
      break;
  }
  return 1;
}

TEST(PrintEmfTest, EveryRunIsOneExtTextOutInArialAtItsPlaceAndSize) {
  report::Page page;
  struct Row {
    report::TextRun run;
    std::wstring text;
  };
  const std::vector<Row> rows = {
      {{72, 100, 10, report::Weight::regular, "Zo\xEB M\xFCller"}, L"Zo\u00EB M\u00FCller"},
      {{300.5, 412.25, 12, report::Weight::bold,
        "\x80"
        "5"},
       L"\u20AC5"},
      {{40, 770, 8, report::Weight::regular, "a\x81z"}, L"a?z"},
  };
  for (const Row& row : rows) page.ops.emplace_back(std::in_place_type<report::TextRun>, row.run);
  page.ops.emplace_back(std::in_place_type<report::Line>, 72, 120, 540, 130, 1);

  HDC dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(dc, nullptr);
  const double dpx = GetDeviceCaps(dc, LOGPIXELSX) / 72.0;
  const double dpy = GetDeviceCaps(dc, LOGPIXELSY) / 72.0;
  // A printer's origin is where it can start to print, here 5 and 7 dots in.
  win32::DrawPage(dc, page, {dpx, dpy, 5, 7});
  HENHMETAFILE emf = CloseEnhMetaFile(dc);
  ASSERT_NE(emf, nullptr);
  Recorded recorded;
  EnumEnhMetaFile(nullptr, emf, Collect, &recorded, nullptr);
  DeleteEnhMetaFile(emf);

  ASSERT_EQ(recorded.texts.size(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const report::TextRun& run = rows[i].run;
    const TextOut& got = recorded.texts[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(got.text, rows[i].text);
    EXPECT_EQ(got.at.x, std::lround(run.x * dpx) - 5);
    EXPECT_EQ(got.at.y, std::lround(run.y * dpy) - 7);
    EXPECT_EQ(got.fontHeight, -std::lround(run.size * dpy));
    EXPECT_EQ(got.fontWeight, run.weight == report::Weight::bold ? FW_BOLD : FW_NORMAL);
    EXPECT_EQ(got.face, L"Arial");
  }
  ASSERT_EQ(recorded.lineEnds.size(), 1u);
  EXPECT_EQ(recorded.lineEnds[0].x, std::lround(540 * dpx) - 5);
  EXPECT_EQ(recorded.lineEnds[0].y, std::lround(130 * dpy) - 7);
}

}  // namespace

// For print_key_test.cpp, which cannot include <windows.h> beside the
// toolkit: Ctrl (and Alt, with `alt`) held, then P pressed on `focus`.
void PressCtrlP(HWND focus, bool alt) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  keys[VK_MENU] = alt ? 0x80 : 0;
  SetKeyboardState(keys);
  PostMessageW(focus, WM_KEYDOWN, 'P', 1);
  // Whatever the key did, the dialog ends after it.
  PostMessageW(GetAncestor(focus, GA_ROOT), WM_COMMAND, IDCANCEL, 0);
}

void ReleaseKeys() {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0;
  keys[VK_MENU] = 0;
  SetKeyboardState(keys);
}
