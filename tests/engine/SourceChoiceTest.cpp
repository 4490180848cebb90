#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "CdaFile.h"
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
