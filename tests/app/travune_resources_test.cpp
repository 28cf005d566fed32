// What the resources say that the running dialogs do not show: the icon's
// images, the manifest, and Travune.exe's version block.
#include <windows.h>
#include <gmock/gmock.h>

#include <string>
#include <vector>

namespace {

using namespace ::testing;

std::string Resource(LPCSTR type, LPCSTR name) {
  const HRSRC found = FindResourceA(nullptr, name, type);
  return std::string(static_cast<const char*>(LockResource(LoadResource(nullptr, found))),
                     SizeofResource(nullptr, found));
}

TEST(TravuneResources, IconManifestAndVersion) {
  // 6 bytes, then 14 for each image: width, height, ..., depth at 6.
  const std::string group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEA(128));
  std::vector<std::string> images;
  for (size_t at = 6; at + 14 <= group.size(); at += 14)
    images.push_back(std::to_string(BYTE(group[at])) + "x" + std::to_string(BYTE(group[at + 1])) +
                     " " + std::to_string(BYTE(group[at + 6])) + " bpp");
  EXPECT_THAT(images, ElementsAre("64x64 32 bpp", "48x48 32 bpp", "32x32 32 bpp", "24x24 32 bpp",
                                  "16x16 32 bpp"));

  // The themed controls, no elevation, no claim to scale itself.
  const std::string manifest = Resource(RT_MANIFEST, MAKEINTRESOURCEA(1));
  EXPECT_THAT(manifest,
              AllOf(HasSubstr("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
                    HasSubstr("level=\"asInvoker\""), Not(HasSubstr("dpiAware"))));

  std::vector<BYTE> block(GetFileVersionInfoSizeA(TRAVUNE_EXE, nullptr));
  ASSERT_TRUE(GetFileVersionInfoA(TRAVUNE_EXE, 0, static_cast<DWORD>(block.size()), block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileType, DWORD{VFT_APP});
  EXPECT_EQ(fixed->dwFileOS, DWORD{VOS__WINDOWS32});
  EXPECT_EQ(fixed->dwFileFlags, 0u) << "a release, not a debug, patched or private build";
  // A file's properties show the numbers and the texts: they must agree.
  const auto text = [&](const char* name) {
    char* value = nullptr;
    VerQueryValueA(block.data(), ("\\StringFileInfo\\040904b0\\" + std::string(name)).c_str(),
                   reinterpret_cast<void**>(&value), &length);
    return std::string(value != nullptr ? value : "<missing>");
  };
  const auto numbers = [](DWORD high, DWORD low) {
    return std::to_string(HIWORD(high)) + ", " + std::to_string(LOWORD(high)) + ", " +
           std::to_string(HIWORD(low)) + ", " + std::to_string(LOWORD(low));
  };
  EXPECT_EQ(text("FileVersion"), numbers(fixed->dwFileVersionMS, fixed->dwFileVersionLS));
  EXPECT_EQ(text("ProductVersion"), numbers(fixed->dwProductVersionMS, fixed->dwProductVersionLS));
  EXPECT_EQ(text("OriginalFilename"), "Travune.EXE");
}

}  // namespace
