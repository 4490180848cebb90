#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "TempDir.h"
#include "engine/SourceChoice.h"

namespace lumivox::test {
namespace {

TEST(SourceChoice, ExtensionOfTheWholePathPicksTheSource) {
  const std::pair<const char*, SourceKind> cases[] = {
      {"/media/Clip.WMV", SourceKind::AsfReader}, {"/m/a.wma", SourceKind::AsfReader},
      {"/m/a.Asf", SourceKind::AsfReader},        {"/cd/Track01.cda", SourceKind::CdReader},
      {"/m/a.mp3", SourceKind::AutoPlug},         {"/clips.old/song", SourceKind::AutoPlug},
      {"/m/a.wmv.bak", SourceKind::AutoPlug},     {"/m/a.wmvx", SourceKind::AutoPlug},
      {"/m/noext", SourceKind::AutoPlug}};
  for (const auto& [path, kind] : cases) EXPECT_EQ(SourceFor(path), kind) << path;
}

// A track file as the system writes it: RIFF, CDDA, a "fmt " chunk of 24 bytes.
std::string CdaFile(std::uint16_t track, const std::string& before = "") {
  std::string fmt(24, '\0');
  fmt[0] = 1;  // version
  fmt[2] = static_cast<char>(track & 0xFF);
  fmt[3] = static_cast<char>(track >> 8);
  const std::string body = "CDDA" + before + "fmt " + std::string("\x18\0\0\0", 4) + fmt;
  const auto n = static_cast<std::uint32_t>(body.size());
  return "RIFF" + std::string{char(n & 0xFF), char(n >> 8 & 0xFF), 0, 0} + body;
}

TEST(SourceChoice, CdTrackFilesNameTheirTrack) {
  TempDir dir;
  EXPECT_EQ(ReadCdaTrack(dir.Write("Track01.cda", CdaFile(1))), 1);
  EXPECT_EQ(ReadCdaTrack(dir.Write("Track12.cda", CdaFile(12))), 12);
  EXPECT_EQ(ReadCdaTrack(dir.Write("Skip.cda", CdaFile(7, std::string("LIST\3\0\0\0abc\0", 12)))), 7);
  for (const std::string& bytes : {CdaFile(0), std::string("RIFF\0\0\0\0WAVEfmt ", 16), CdaFile(3).substr(0, 30),
                                  std::string("RIFF\0\0\0\0CDDAjunk\xff\xff\xff\x7f", 20), std::string()}) {
    EXPECT_EQ(ReadCdaTrack(dir.Write("bad.cda", bytes)), std::nullopt);
  }
  EXPECT_EQ(ReadCdaTrack(dir / "missing.cda"), std::nullopt);
}

}  // namespace
}  // namespace lumivox::test
