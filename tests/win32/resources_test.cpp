// The program file's resources as linked: the version record and the icon group "DEFAULT_ICON".
#include <windows.h>
// (windows.h before the other system headers)

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

#pragma pack(push, 2)
struct IconGroupEntry {  // GRPICONDIRENTRY
  BYTE width, height, colours, reserved;
  WORD planes, bit_count;
  DWORD bytes;
  WORD id;
};
struct IconGroupHeader {  // GRPICONDIR
  WORD reserved, type, count;
};
#pragma pack(pop)

std::vector<char> VersionRecord() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  std::vector<char> record(size);
  if (size == 0 || !GetFileVersionInfoA(path, 0, size, record.data())) record.clear();
  return record;
}

std::string StringValue(std::vector<char>& record, const char* name) {
  char* value = nullptr;
  UINT length = 0;
  const std::string query = std::string("\\StringFileInfo\\080404B0\\") + name;
  if (!VerQueryValueA(record.data(), query.c_str(), reinterpret_cast<void**>(&value), &length)) {
    return "<none>";
  }
  return value;
}

TEST(ProgramResources, VersionRecordIs1000OrvaneInSimplifiedChinese) {
  std::vector<char> record = VersionRecord();
  ASSERT_FALSE(record.empty());
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(record.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));

  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueA(record.data(), "\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(translation[0], 0x0804);
  EXPECT_EQ(translation[1], 1200);

  EXPECT_EQ(StringValue(record, "FileVersion"), "1.0.0.0");
  EXPECT_EQ(StringValue(record, "ProductVersion"), "1.0.0.0");
  EXPECT_EQ(StringValue(record, "ProductName"), "Orvane");
  EXPECT_EQ(StringValue(record, "FileDescription"), "Orvane");
}

TEST(ProgramResources, IconGroupHasFourImagesOf32BitsFrom48To16) {
  const HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, "DEFAULT_ICON", MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  ASSERT_NE(found, nullptr);
  const auto* header =
      static_cast<const IconGroupHeader*>(LockResource(LoadResource(module, found)));
  ASSERT_NE(header, nullptr);
  ASSERT_EQ(header->count, 4);
  const auto* entries = reinterpret_cast<const IconGroupEntry*>(header + 1);
  const int sizes[4] = {48, 32, 24, 16};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(entries[i].width, sizes[i]) << i;
    EXPECT_EQ(entries[i].height, sizes[i]) << i;
    EXPECT_EQ(entries[i].bit_count, 32) << i;
    EXPECT_EQ(entries[i].planes, 1) << i;
    EXPECT_EQ(entries[i].colours, 0) << i;
  }
  // The window's icons are made from the 16 x 16 image.
  HICON small = static_cast<HICON>(LoadImageA(module, "DEFAULT_ICON", IMAGE_ICON, 16, 16, 0));
  EXPECT_NE(small, nullptr);
  DestroyIcon(small);
}

}  // namespace
