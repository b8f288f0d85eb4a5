// Icon 128, the program's icon: a kestrel perched on a book, drawn as XPM
// images of 32 x 32 and 16 x 16 pixels in 16 colours or fewer.
#include "res/resource.h"
#include "res/resources.h"

namespace {

// clang-format off
const char* const kKestrel32[] = {
"32 32 12 1",
". c None",
"B c #2A4F9A",
"C c #F4E2B8",
"G c #71819E",
"K c #1C1612",
"P c #A9A9B2",
"R c #C2652F",
"S c #5A3A22",
"W c #FFFFFF",
"Y c #E9B52F",
"b c #18305E",
"r c #8C4220",
"................................",
"................................",
".........GGGGGG.................",
"........GGGGGGGG................",
"........GGYYGGGG................",
".......GGYKKGGGGG...............",
"......YYYCYYCGGGGR..............",
"......YYCCKCCGGGRRR.............",
"......KYCCKCCGGGRRRR............",
".........CCKGGGrrrrRR...........",
"..........CCCCCrrrrrr...........",
"..........CCCCCrrrKrr...........",
".........CCCCCSCrrrrrr..........",
".........CCSCCCCrKrrKr..........",
".........CCCCCCCrrrrrr..........",
".........CCCCSCCrrrrrrr.........",
".........CCCCCCCrrrKrrr.........",
".........CCSCCCCRrrrrKrr........",
"..........CCCSCRRRrrrKKRr.......",
"..........CCCCCRRRRrKKRRr.......",
"...........CSCRRRRR..KRRRr......",
"...........YYRYYRR...rRRRr......",
"......BBBBBYYBYYBBBBBBRRRRKBBBb.",
".....BBBBBBBBBBBBBBBBBrRKKBBBB..",
".....BBBBBBBBBBBBBBBBBBKBBBBBb..",
"....BBBBBBBBBBBBBBBBBBBBBBBBBb..",
"....bbbbbbbbbbbbbbbbbbbbbbbbb...",
"...WWWWWWWWWWWWWWWWWWWWWWWWWb...",
"...PPPPPPPPPPPPPPPPPPPPPPPPPb...",
"...WWWWWWWWWWWWWWWWWWWWWWWWW....",
"..bbbbbbbbbbbbbbbbbbbbbbbbbb....",
"................................",
};

const char* const kKestrel16[] = {
"16 16 10 1",
". c None",
"B c #2A4F9A",
"C c #F4E2B8",
"G c #71819E",
"K c #1C1612",
"R c #C2652F",
"W c #FFFFFF",
"Y c #E9B52F",
"b c #18305E",
"r c #8C4220",
"................",
"....GGGG........",
"....GKGG........",
"...YCCCGR.......",
"....CKGGrR......",
".....CCCrrr.....",
".....CCCrrr.....",
"....CCCCrrr.....",
".....CCCrrrr....",
".....CCCRrKR....",
".....YCYR.rRr...",
"...BBYBYBBBRKBB.",
"..BBBBBBBBBBBBb.",
".WWWWWWWWWWWWWb.",
".WWWWWWWWWWWWW..",
"................",
};
// clang-format on

constexpr IconImage kMainFrameImages[] = {{32, kKestrel32}, {16, kKestrel16}};

constexpr IconResource kIcons[] = {{IDR_MAINFRAME, kMainFrameImages}};

}  // namespace

const IconResource* FindIconResource(int id) {
  for (const IconResource& icon : kIcons) {
    if (icon.id == id) return &icon;
  }
  return nullptr;
}
