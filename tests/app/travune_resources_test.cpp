// What only the resources of the built Travune.exe hold, read back from the
// file: the About box's template, the icon, the manifest, the version block.
#include <windows.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace ::testing;

const HMODULE g_exe = LoadLibraryExA(TRAVUNE_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);

std::string Resource(const char* type, WORD id) {
  const HRSRC found = FindResourceA(g_exe, MAKEINTRESOURCEA(id), type);
  return std::string(static_cast<const char*>(LockResource(LoadResource(g_exe, found))),
                     SizeofResource(g_exe, found));
}

// The About box's classic template as one line for the frame and one per
// control, each read by a << chain in order (C++17 sequences it).
std::vector<std::string> AboutBoxTemplate() {
  const std::string data = Resource(RT_DIALOG, 100);
  size_t at = 0;
  const auto take = [&](auto value) {  // 0 past the end
    if (at + sizeof(value) <= data.size()) memcpy(&value, &data[at], sizeof(value));
    at += sizeof(value);
    return value;
  };
  // A sz_Or_Ord field: "#" and an ordinal, or a zero-terminated UTF-16 string.
  const auto field = [&] {
    WORD c = take(WORD{});
    if (c == 0xFFFF) return "#" + std::to_string(take(WORD{}));
    std::string text;
    for (; c != 0; c = take(WORD{})) text += static_cast<char>(c);
    return text;
  };
  // Style, extended style, (the frame's control count,) position and size.
  WORD count = 0;
  const auto common = [&](bool frame) {
    const DWORD style = take(DWORD{}), extended = take(DWORD{});
    if (frame) count = take(WORD{});
    const short x = take(short{}), y = take(short{}), cx = take(short{}), cy = take(short{});
    char text[64];
    snprintf(text, sizeof(text), "0x%08lX 0x%08lX %d,%d %dx%d", style, extended, x, y, cx, cy);
    return std::string(text);
  };
  std::ostringstream frame;
  frame << common(true) << field() << field() << " \"" << field() << "\" font " << take(WORD{})
        << " \"" << field() << "\"";
  std::vector<std::string> lines = {frame.str()};
  while (lines.size() <= count) {
    at = (at + 3) & ~size_t{3};
    std::ostringstream item;
    item << common(false) << " " << take(short{}) << " " << field() << " \"" << field() << "\"";
    at += take(WORD{});  // creation data
    lines.push_back(item.str());
  }
  return lines;
}

// The main dialog's template is left to its running window (main_dialog_test.cpp):
// the layout replaces its geometry and texts.
TEST(TravuneExe, AboutBoxTemplate) {
  EXPECT_THAT(AboutBoxTemplate(),
              ElementsAre("0x80C800C0 0x00000000 0,0 235x55 \"About Travune\" "
                          "font 8 \"MS Sans Serif\"",
                          "0x50000003 0x00000000 11,17 20x20 -1 STATIC \"#128\"",
                          "0x50020080 0x00000000 40,10 119x8 -1 STATIC \"Travune  Version 1.0\"",
                          MatchesRegex("0x50020000 0x00000000 40,25 119x8 -1 STATIC \".+\""),
                          "0x50030001 0x00000000 178,7 50x14 1 BUTTON \"OK\""));
}

TEST(TravuneExe, IconManifestAndVersion) {
  const std::string group = Resource(RT_GROUP_ICON, 128);  // 6 bytes, then 14 for each image
  std::vector<std::string> images;
  for (size_t at = 6; at + 14 <= group.size(); at += 14) {
    images.push_back(std::to_string(BYTE(group[at])) + "x" + std::to_string(BYTE(group[at + 1])) +
                     " " + std::to_string(BYTE(group[at + 6])) + " bpp");  // width, height, depth
  }
  EXPECT_THAT(images, ElementsAre("64x64 32 bpp", "48x48 32 bpp", "32x32 32 bpp", "24x24 32 bpp",
                                  "16x16 32 bpp"));

  const std::string manifest = Resource(RT_MANIFEST, 1);
  EXPECT_THAT(manifest,
              HasSubstr("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));
  EXPECT_THAT(manifest, HasSubstr("level=\"asInvoker\""));
  EXPECT_THAT(manifest, Not(HasSubstr("dpiAware")));

  std::vector<BYTE> block(GetFileVersionInfoSizeA(TRAVUNE_EXE, nullptr));
  ASSERT_TRUE(GetFileVersionInfoA(TRAVUNE_EXE, 0, static_cast<DWORD>(block.size()), block.data()));
  DWORD *fixed = nullptr, *translation = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  // Signature, structure version, versions 1.0.0.3, flags mask, flags, OS, type, subtype.
  EXPECT_EQ(std::vector<DWORD>(fixed, fixed + 11),
            (std::vector<DWORD>{0xFEEF04BD, 0x10000, 0x10000, 3, 0x10000, 3, 0x3F, 0, 4, 1, 0}));
  // What the file's properties show on Windows.
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  EXPECT_EQ(std::vector<DWORD>(translation, translation + length / 4),
            std::vector<DWORD>{0x04B00409});  // code page 1200, language 0x0409
  std::vector<std::string> strings;
  for (const char* name : {"FileDescription", "FileVersion", "InternalName", "OriginalFilename",
                           "ProductName", "ProductVersion", "CompanyName"}) {
    char* value = nullptr;
    VerQueryValueA(block.data(), ("\\StringFileInfo\\040904b0\\" + std::string(name)).c_str(),
                   reinterpret_cast<void**>(&value), &length);
    strings.push_back(std::string(name) + "=" + (value != nullptr ? value : "<missing>"));
  }
  EXPECT_THAT(strings, ElementsAre("FileDescription=Travune ( EEPROM Update ) MFC Application",
                                   "FileVersion=1, 0, 0, 3", "InternalName=Travune",
                                   "OriginalFilename=Travune.EXE",
                                   "ProductName=Travune ( EEPROM Update ) Application",
                                   "ProductVersion=1, 0, 0, 3", "CompanyName="));
}

}  // namespace
