// The resources of the built Travune.exe, read back from the file: both dialog
// templates, the About entry's string, the icon, the manifest, the version.
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

// Describes a dialog template, classic or extended, as one line for the frame and
// one per control; a << chain reads the fields in order (C++17 sequences it).
struct CTemplateReader {
  const std::string data;
  size_t at = 0;

  std::vector<std::string> Lines() {
    const bool extended = Take<DWORD>() == 0xFFFF0001;  // version 1, signature 0xFFFF
    if (!extended) at = 0;
    WORD count = 0;
    std::ostringstream frame;
    frame << (extended ? "DIALOGEX " : "DIALOG ") << Common(extended, &count) << Field() << Field()
          << " \"" << Field() << "\" font " << Take<WORD>();
    if (extended) frame << " " << Take<WORD>() << " " << +Take<BYTE>() << " " << +Take<BYTE>();
    std::vector<std::string> lines = {frame.str() + " \"" + Field() + "\""};
    while (lines.size() <= count) {
      at = (at + 3) & ~size_t{3};
      std::ostringstream item;
      item << Common(extended, nullptr) << " "
           << (extended ? static_cast<long>(Take<DWORD>()) : Take<short>()) << " " << Class(Field())
           << " \"" << Field() << "\"";
      at += Take<WORD>();  // creation data
      lines.push_back(item.str());
    }
    return lines;
  }
  template <typename T>
  T Take() {  // 0 past the end
    T value = 0;
    if (at + sizeof(value) <= data.size()) memcpy(&value, &data[at], sizeof(value));
    at += sizeof(value);
    return value;
  }
  // A sz_Or_Ord field: "#" and an ordinal, or a zero-terminated UTF-16 string.
  std::string Field() {
    WORD c = Take<WORD>();
    if (c == 0xFFFF) return "#" + std::to_string(Take<WORD>());
    std::string text;
    for (; c != 0; c = Take<WORD>()) text += static_cast<char>(c);
    return text;
  }
  // The button and static classes may be stored as ordinals.
  std::string Class(std::string n) { return n == "#128" ? "BUTTON" : n == "#130" ? "STATIC" : n; }
  // Style, extended style (extended templates: after a help id, in reverse),
  // the frame's control count, position and size.
  std::string Common(bool extended, WORD* count) {
    if (extended) at += 4;
    const DWORD first = Take<DWORD>(), second = Take<DWORD>();
    if (count != nullptr) *count = Take<WORD>();
    const short x = Take<short>(), y = Take<short>(), cx = Take<short>(), cy = Take<short>();
    char text[64];
    snprintf(text, sizeof(text), "0x%08lX 0x%08lX %d,%d %dx%d", extended ? second : first,
             extended ? first : second, x, y, cx, cy);
    return text;
  }
};

TEST(TravuneExe, DialogTemplates) {
  EXPECT_THAT(
      CTemplateReader{Resource(RT_DIALOG, 102)}.Lines(),
      ElementsAre("DIALOGEX 0x90CC0040 0x00040000 0,0 374x184 "
                  "\"Travune ( EEPROM Update )\" font 8 0 0 1 \"MS Sans Serif\"",
                  "0x50010001 0x00000000 1,1 101x47 1034 BUTTON \"verifiy\"",
                  "0x50010000 0x00000000 1,48 101x45 1035 BUTTON \"UPDATE\"",
                  "0x50020000 0x00000000 123,15 116x30 1042 STATIC \"EEPROM Is Old\"",
                  "0x50020000 0x00000000 127,55 116x30 1043 STATIC \"SUCCESS !!\"",
                  "0x50800000 0x00000000 2,102 367x14 1044 MSCTLS_PROGRESS32 \"Progress1\""));
  EXPECT_THAT(CTemplateReader{Resource(RT_DIALOG, 100)}.Lines(),
              ElementsAre("DIALOG 0x80C800C0 0x00000000 0,0 235x55 \"About Travune\" "
                          "font 8 \"MS Sans Serif\"",
                          "0x50000003 0x00000000 11,17 20x20 -1 STATIC \"#128\"",
                          "0x50020080 0x00000000 40,10 119x8 -1 STATIC \"Travune  Version 1.0\"",
                          MatchesRegex("0x50020000 0x00000000 40,25 119x8 -1 STATIC \".+\""),
                          "0x50030001 0x00000000 178,7 50x14 1 BUTTON \"OK\""));
}

TEST(TravuneExe, AboutEntryIconManifestAndVersion) {
  char text[64] = "";
  LoadStringA(g_exe, 101, text, sizeof(text));
  EXPECT_STREQ(text, "&About Zerith...");

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
