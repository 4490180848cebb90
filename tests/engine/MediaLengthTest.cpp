// The length scanners against files made by GStreamer's encoders and muxers. The true
// length of an audio file is what GStreamer's own decoder plays from it: it keeps LAME's
// encoder delay and the padding up to whole frames, leaves out the Xing frame, and trims
// what a LAME tag says to. Video and program streams last the pictures (or audio frames)
// fed to the encoder. Each file must read within half a frame of that: one frame too many
// or too few fails, which at 4 s is already about 1 %.

#include <gst/gst.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <set>
#include <span>
#include <string>

#include "LengthMedia.h"
#include "MediaFixtures.h"
#include "TempDir.h"
#include "engine/length/MediaLength.h"
#include "engine/length/MpegVideoHeaders.h"

namespace lumivox::test {
namespace {

std::optional<std::int64_t> LengthOf(StreamKind kind, const std::string& file) {
  switch (kind) {
    case StreamKind::Audio: return MpegAudioLength(file);
    case StreamKind::VideoStream: return MpegVideoStreamLength(file);
    case StreamKind::ProgramStream: return MpegProgramStreamLength(file);
  }
  return std::nullopt;
}

std::set<std::size_t> FrameSizes(const std::string& file) {
  std::set<std::size_t> sizes;
  RunPipeline("filesrc location=\"" + file + "\" ! mpegaudioparse ! fakesink name=probe",
              [&](GstBuffer* buffer) { sizes.insert(gst_buffer_get_size(buffer)); });
  return sizes;
}

TEST(MediaLength, GeneratedFilesReadTheirTrueLength) {
  for (const auto& media : LengthCases()) {
    SCOPED_TRACE(media.name);
    const std::string file = LengthMedia(media);
    const auto expected = media.length ? media.length : DecodedLength(file);
    ASSERT_TRUE(expected);
    const auto length = LengthOf(media.kind, file);
    ASSERT_TRUE(length);
    EXPECT_NEAR(*length, *expected, media.tolerance);
    // The other scanners see that it is not theirs.
    for (const StreamKind other : {StreamKind::Audio, StreamKind::VideoStream, StreamKind::ProgramStream}) {
      if (other != media.kind) {
        EXPECT_EQ(LengthOf(other, file), std::nullopt) << static_cast<int>(other);
      }
    }
  }
}

// The case the scanner is for: a constant bitrate reckoned from the first frame would be
// far off.
TEST(MediaLength, VariableBitrateFixtureReallyVaries) {
  const auto sizes = FrameSizes(LengthMedia("vbr.mp3"));
  ASSERT_FALSE(sizes.empty());
  EXPECT_GT(*sizes.rbegin() - *sizes.begin(), 100u);
}

// --- bytes that are not what they claim ---------------------------------------------------

std::string Noise(std::size_t size) {
  std::mt19937 random(20240611);
  std::string bytes(size, '\0');
  for (auto& byte : bytes) byte = static_cast<char>(random());
  return bytes;
}

std::string Repeat(const std::string& bytes, int times) {
  std::string repeated;
  for (int i = 0; i < times; ++i) repeated += bytes;
  return repeated;
}

std::span<const unsigned char> Bytes(const std::string& bytes) {
  return {reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()};
}

TEST(MediaLength, JunkHasNoLength) {
  const std::string mp3 = TempDir::Read(LengthMedia("cbr.mp3"));
  const std::string m2p = TempDir::Read(LengthMedia("mpeg2.m2p"));
  const std::pair<const char*, std::string> cases[] = {
      {"empty", ""},
      {"noise", Noise(1 << 20)},
      {"ID3v2 tag longer than the file", std::string("ID3\x04\x00\x00\x7F\x7F\x7F\x7F", 10) + mp3},
      {"a few bytes of each", mp3.substr(0, 3) + m2p.substr(0, 3)},
      {"free format, whose frames do not say their size",
       Repeat(std::string("\xFF\xFB\x00\x64", 4) + std::string(413, '\0'), 100)},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    const std::string file = LengthFolder().Write("junk", bytes);
    EXPECT_EQ(MpegAudioLength(file), std::nullopt);
    EXPECT_EQ(MpegVideoStreamLength(file), std::nullopt);
    EXPECT_EQ(MpegProgramStreamLength(file), std::nullopt);
    EXPECT_EQ(MpegAudioLength(Bytes(bytes)), std::nullopt);
    EXPECT_EQ(MpegVideoStreamLength(Bytes(bytes)), std::nullopt);
    EXPECT_EQ(MpegProgramStreamLength(Bytes(bytes)), std::nullopt);
  }
}

TEST(MediaLength, OnlyRegularFilesAreRead) {
  const std::string fifo = LengthFolder() / "fifo.mp3";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {fifo, LengthFolder().path().string(), LengthFolder() / "missing.mp3"}) {
    EXPECT_EQ(MpegAudioLength(path), std::nullopt) << path;
    EXPECT_EQ(MpegVideoStreamLength(path), std::nullopt) << path;
    EXPECT_EQ(MpegProgramStreamLength(path), std::nullopt) << path;
  }
}

// A file cut in two reads as about the half that is left.
TEST(MediaLength, TruncatedFilesReadWhatIsLeft) {
  for (const auto& media : LengthCases()) {
    if (media.name != "cbr.mp3" && media.name != "b.m2v" && media.name != "mpeg2.m2p") continue;
    SCOPED_TRACE(media.name);
    const auto whole = LengthOf(media.kind, LengthMedia(media));
    ASSERT_TRUE(whole);
    const std::string bytes = TempDir::Read(LengthMedia(media));
    const auto half =
        LengthOf(media.kind, LengthFolder().Write("half-" + media.name, bytes.substr(0, bytes.size() / 2)));
    ASSERT_TRUE(half);
    EXPECT_NEAR(static_cast<double>(*half) / static_cast<double>(*whole), 0.5, 0.15);
  }
}

// Tags after a stream cut short (a broken download, tagged afterwards): the ID3v1 tag
// must not complete the cut frame, and an APE footer that claims more than the file is
// not believed.
TEST(MediaLength, TagsAfterACutStream) {
  const std::string mp3 = LengthMedia("cbr.mp3");
  const auto whole = DecodedLength(mp3);
  ASSERT_TRUE(whole);
  const std::string bytes = TempDir::Read(mp3);
  const std::string cut = bytes.substr(0, bytes.size() - 100);
  const std::string apeFooter = ApeTagMark(0xFFFFFFF0, 0x80000000);
  const struct {
    const char* name;
    std::string bytes;
    int framesLeft;  // of the whole stream's
  } cases[] = {
      {"ID3v1", cut + Id3v1Tag(), -1},
      {"APE footer of 4 GB", bytes + apeFooter, 0},
      {"both", cut + apeFooter + Id3v1Tag(), -1},
  };
  for (const auto& tagged : cases) {
    const auto length = MpegAudioLength(Bytes(tagged.bytes));
    ASSERT_TRUE(length) << tagged.name;
    EXPECT_NEAR(*length, *whole + tagged.framesLeft * Duration(1152, 44100), kHalfMp3Frame) << tagged.name;
  }
}

// 100 MB of one frame header over and over, written to disk and read back.
std::string RepeatedHeaders(const std::string& name, const std::string& prefix, const char (&header)[5]) {
  constexpr std::size_t kSize = 100 * 1024 * 1024;
  std::string block;
  for (int i = 0; i < 16384; ++i) block.append(header, 4);
  const std::string file = LengthFolder() / name;
  std::ofstream out(file, std::ios::binary);
  out << prefix;
  for (std::size_t written = 0; written < kSize; written += block.size()) out << block;
  return file;
}

TEST(MediaLength, RepeatedFrameHeaders) {
  // 384-byte frames of 1152 samples at 48 kHz: the headers chain into 24 ms frames.
  const std::string chained = RepeatedHeaders("chained.mp3", "", "\xFF\xFB\x94\x64");
  EXPECT_EQ(MpegAudioLength(chained), Duration(100 * 1024 * 1024 / 384 * 1152, 48000));
  std::filesystem::remove(chained);
  // 417-byte frames after a real stream: the first header stands where the stream goes on
  // and passes for one more frame, but none after it stands where the one before says.
  const std::string mp3 = LengthMedia("cbr.mp3");
  const auto expected = DecodedLength(mp3);
  ASSERT_TRUE(expected);
  const std::string broken = RepeatedHeaders("broken.mp3", TempDir::Read(mp3), "\xFF\xFB\x90\x64");
  const auto length = MpegAudioLength(broken);
  ASSERT_TRUE(length);
  EXPECT_NEAR(*length, *expected + Duration(1152, 44100), kHalfMp3Frame);
  std::filesystem::remove(broken);
}

// Drop-frame time codes at 29.97 leave out picture numbers 0 and 1 of every minute but
// every tenth.
TEST(MediaLength, GroupTimeCodesNameTheirPicture) {
  struct TimeCode {
    bool drop;
    int hours, minutes, seconds, pictures;
    FrameRate rate;
    std::int64_t frame;
  };
  const TimeCode cases[] = {
      {false, 0, 0, 1, 0, {25, 1}, 25},          {false, 1, 0, 0, 12, {25, 1}, 90012},
      {false, 0, 0, 1, 3, {24000, 1001}, 27},    {true, 0, 1, 0, 2, {30000, 1001}, 1800},
      {true, 0, 10, 0, 0, {30000, 1001}, 17982}, {true, 1, 0, 0, 0, {30000, 1001}, 107892},
      {true, 0, 1, 0, 4, {60000, 1001}, 3600},
  };
  for (const auto& code : cases) {
    const std::uint32_t bits = std::uint32_t{code.drop} << 31 | code.hours << 26 | code.minutes << 20 | 1 << 19 |
                               code.seconds << 13 | code.pictures << 7;
    const unsigned char header[] = {0,
                                    0,
                                    1,
                                    0xB8,
                                    static_cast<unsigned char>(bits >> 24),
                                    static_cast<unsigned char>(bits >> 16),
                                    static_cast<unsigned char>(bits >> 8),
                                    static_cast<unsigned char>(bits)};
    EXPECT_EQ(GroupTimeCodeFrame(header, code.rate), code.frame) << code.minutes << ":" << code.seconds;
  }
}

}  // namespace
}  // namespace lumivox::test
