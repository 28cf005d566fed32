// The resources compiled into Travune.exe: dialog templates, string, icon,
// version block and manifest, read back from the executable itself.
#include <gtest/gtest.h>
#include <windows.h>

#include <iterator>
#include <string>
#include <vector>

#include "dialog_template.h"
#include "main_dialog_layout.h"
#include "resource.h"

namespace {

class TravuneResources : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    module = LoadLibraryExA(TRAVUNE_EXE, nullptr,
                            LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  }
  static void TearDownTestSuite() {
    if (module != nullptr) FreeLibrary(module);
    module = nullptr;
  }
  void SetUp() override { ASSERT_NE(module, nullptr) << "cannot load " << TRAVUNE_EXE; }

  static const void* Resource(const char* type, WORD id, DWORD* size = nullptr) {
    const HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (found == nullptr) return nullptr;
    if (size != nullptr) *size = SizeofResource(module, found);
    return LockResource(LoadResource(module, found));
  }

  static DialogTemplate Dialog(WORD id) {
    const void* data = Resource(RT_DIALOG, id);
    EXPECT_NE(data, nullptr);
    return data == nullptr ? DialogTemplate() : ParseDialogTemplate(data);
  }

  static HMODULE module;
};

HMODULE TravuneResources::module = nullptr;

void ExpectItem(const DialogItem& item, int id, const char* className, const char* text,
                DWORD style, short x, short y, short cx, short cy) {
  SCOPED_TRACE("control " + std::to_string(id) + " " + text);
  EXPECT_EQ(item.id, id);
  EXPECT_EQ(ClassName(item.windowClass), className);
  EXPECT_FALSE(item.title.isOrdinal);
  EXPECT_EQ(item.title.text, text);
  EXPECT_EQ(item.style, style);
  EXPECT_EQ(item.exStyle, 0u);
  EXPECT_EQ(item.helpId, 0u);
  EXPECT_EQ(item.extraCount, 0);
  EXPECT_EQ(item.x, x);
  EXPECT_EQ(item.y, y);
  EXPECT_EQ(item.cx, cx);
  EXPECT_EQ(item.cy, cy);
}

// What both dialogs share: the frame at 0,0 with its size, no menu or
// window class, and 8 point MS Sans Serif.
void ExpectFrame(const DialogTemplate& dialog, DWORD style, DWORD exStyle, const char* title,
                 short cx, short cy) {
  SCOPED_TRACE(title);
  EXPECT_EQ(dialog.style, style);
  EXPECT_EQ(dialog.exStyle, exStyle);
  EXPECT_EQ(dialog.title, title);
  EXPECT_EQ(dialog.x, 0);
  EXPECT_EQ(dialog.y, 0);
  EXPECT_EQ(dialog.cx, cx);
  EXPECT_EQ(dialog.cy, cy);
  EXPECT_EQ(dialog.menu.text, "");
  EXPECT_EQ(dialog.windowClass.text, "");
  EXPECT_EQ(dialog.pointSize, 8);
  EXPECT_EQ(dialog.typeface, "MS Sans Serif");
}

TEST_F(TravuneResources, MainDialogIsAnExtendedTemplateWithTheExactFrame) {
  const DialogTemplate dialog = Dialog(IDD_MAIN_DIALOG);
  EXPECT_TRUE(dialog.extended);
  ExpectFrame(dialog, 0x90CC0040u, 0x00040000u, "Travune ( EEPROM Update )", 374, 184);
  EXPECT_EQ(dialog.helpId, 0u);
  EXPECT_FALSE(dialog.menu.isOrdinal);
  EXPECT_FALSE(dialog.windowClass.isOrdinal);
  EXPECT_EQ(dialog.weight, 0);
  EXPECT_EQ(dialog.italic, 0);
  EXPECT_EQ(dialog.charSet, DEFAULT_CHARSET);
}

TEST_F(TravuneResources, MainDialogControlsInCreationOrder) {
  const DialogTemplate dialog = Dialog(IDD_MAIN_DIALOG);
  ASSERT_EQ(dialog.items.size(), 5u);
  ExpectItem(dialog.items[0], 1034, "BUTTON", "verifiy", 0x50010001, 1, 1, 101, 47);
  ExpectItem(dialog.items[1], 1035, "BUTTON", "UPDATE", 0x50010000, 1, 48, 101, 45);
  ExpectItem(dialog.items[2], 1042, "STATIC", "EEPROM Is Old", 0x50020000, 123, 15, 116, 30);
  ExpectItem(dialog.items[3], 1043, "STATIC", "SUCCESS !!", 0x50020000, 127, 55, 116, 30);
  ExpectItem(dialog.items[4], 1044, "MSCTLS_PROGRESS32", "Progress1", 0x50800000, 2, 102, 367, 14);
}

TEST_F(TravuneResources, LayoutPlacesEveryTemplateControlOnce) {
  const DialogTemplate dialog = Dialog(IDD_MAIN_DIALOG);
  ASSERT_EQ(dialog.items.size(), std::size(MAIN_DIALOG_LAYOUT));
  for (size_t i = 0; i < dialog.items.size(); ++i) {
    EXPECT_EQ(MAIN_DIALOG_LAYOUT[i].id, dialog.items[i].id);
  }
}

TEST_F(TravuneResources, AboutBoxIsAClassicTemplate) {
  const DialogTemplate dialog = Dialog(IDD_ABOUTBOX);
  EXPECT_FALSE(dialog.extended);
  ExpectFrame(dialog, 0x80C800C0u, 0u, "About Travune", 235, 55);

  ASSERT_EQ(dialog.items.size(), 4u);
  const DialogItem& icon = dialog.items[0];
  EXPECT_EQ(icon.id, -1);
  EXPECT_EQ(ClassName(icon.windowClass), "STATIC");
  EXPECT_TRUE(icon.title.isOrdinal);
  EXPECT_EQ(icon.title.ordinal, IDR_MAINFRAME);
  EXPECT_EQ(icon.style, 0x50000003u);
  EXPECT_EQ(icon.x, 11);
  EXPECT_EQ(icon.y, 17);
  EXPECT_EQ(icon.cx, 20);
  EXPECT_EQ(icon.cy, 20);

  ExpectItem(dialog.items[1], -1, "STATIC", "Travune  Version 1.0", 0x50020080, 40, 10, 119, 8);
  const DialogItem& notice = dialog.items[2];
  EXPECT_EQ(notice.id, -1);
  EXPECT_EQ(ClassName(notice.windowClass), "STATIC");
  EXPECT_FALSE(notice.title.text.empty());
  EXPECT_EQ(notice.style, 0x50020000u);
  EXPECT_EQ(notice.x, 40);
  EXPECT_EQ(notice.y, 25);
  EXPECT_EQ(notice.cx, 119);
  EXPECT_EQ(notice.cy, 8);
  ExpectItem(dialog.items[3], IDOK, "BUTTON", "OK", 0x50030001, 178, 7, 50, 14);
}

TEST_F(TravuneResources, AboutEntryText) {
  char text[64] = "";
  EXPECT_EQ(LoadStringA(module, IDS_ABOUTBOX, text, sizeof(text)), 16);
  EXPECT_STREQ(text, "&About Zerith...");
}

#pragma pack(push, 2)
struct IconGroupEntry {
  BYTE width;
  BYTE height;
  BYTE colourCount;
  BYTE reserved;
  WORD planes;
  WORD bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

TEST_F(TravuneResources, IconGroupHoldsFiveSquare32BitImages) {
  DWORD size = 0;
  const auto* group = static_cast<const BYTE*>(Resource(RT_GROUP_ICON, IDR_MAINFRAME, &size));
  ASSERT_NE(group, nullptr);
  WORD header[3];
  memcpy(header, group, sizeof(header));
  EXPECT_EQ(header[0], 0);
  EXPECT_EQ(header[1], 1);
  ASSERT_EQ(header[2], 5);
  ASSERT_EQ(size, sizeof(header) + 5 * sizeof(IconGroupEntry));

  const int sizes[] = {64, 48, 32, 24, 16};
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(sizes[i]);
    IconGroupEntry entry;
    memcpy(&entry, group + sizeof(header) + i * sizeof(entry), sizeof(entry));
    EXPECT_EQ(entry.width, sizes[i]);
    EXPECT_EQ(entry.height, sizes[i]);
    EXPECT_EQ(entry.bitCount, 32);
    EXPECT_EQ(entry.planes, 1);

    DWORD imageSize = 0;
    const void* image = Resource(RT_ICON, entry.id, &imageSize);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(imageSize, entry.bytes);
    BITMAPINFOHEADER bitmap;
    memcpy(&bitmap, image, sizeof(bitmap));
    EXPECT_EQ(bitmap.biWidth, sizes[i]);
    EXPECT_EQ(bitmap.biHeight, 2 * sizes[i]);  // colour image and mask
    EXPECT_EQ(bitmap.biBitCount, 32);
  }
}

class TravuneVersion : public ::testing::Test {
 protected:
  void SetUp() override {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(TRAVUNE_EXE, &handle);
    ASSERT_GT(size, 0u);
    block.resize(size);
    ASSERT_TRUE(GetFileVersionInfoA(TRAVUNE_EXE, 0, size, block.data()));
  }

  std::string Value(const char* name) {
    char* text = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\040904b0\\") + name;
    if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) ||
        text == nullptr) {
      return "<missing>";
    }
    return std::string(text);
  }

  std::vector<BYTE> block;
};

TEST_F(TravuneVersion, FixedInfo) {
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00000003u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00000003u);
  EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu);
  EXPECT_EQ(fixed->dwFileFlags, 0u);
  EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  EXPECT_EQ(fixed->dwFileSubtype, 0u);
}

TEST_F(TravuneVersion, Strings) {
  EXPECT_EQ(Value("FileDescription"), "Travune ( EEPROM Update ) MFC Application");
  EXPECT_EQ(Value("FileVersion"), "1, 0, 0, 3");
  EXPECT_EQ(Value("InternalName"), "Travune");
  EXPECT_EQ(Value("OriginalFilename"), "Travune.EXE");
  EXPECT_EQ(Value("ProductName"), "Travune ( EEPROM Update ) Application");
  EXPECT_EQ(Value("ProductVersion"), "1, 0, 0, 3");
  for (const char* empty :
       {"Comments", "CompanyName", "LegalTrademarks", "PrivateBuild", "SpecialBuild"}) {
    EXPECT_EQ(Value(empty), "") << empty;
  }
}

TEST_F(TravuneVersion, TranslationIsUsEnglishUnicode) {
  WORD* translation = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(translation[0], 0x0409);
  EXPECT_EQ(translation[1], 1200);
}

TEST_F(TravuneResources, ManifestAsksForCommonControls6AsInvokerWithoutDpiAwareness) {
  DWORD size = 0;
  const auto* data =
      static_cast<const char*>(Resource(RT_MANIFEST, 1 /* process manifest */, &size));
  ASSERT_NE(data, nullptr);
  const std::string manifest(data, size);
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
            std::string::npos);
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
  EXPECT_EQ(manifest.find("dpiAware"), std::string::npos);
}

}  // namespace
