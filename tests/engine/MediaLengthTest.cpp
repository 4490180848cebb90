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
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "TempDir.h"
#include "engine/GstPtr.h"
#include "engine/length/MediaLength.h"
#include "engine/length/MpegVideoHeaders.h"

namespace lumivox::test {
namespace {

constexpr std::int64_t kSecond = 1'000'000'000;

// How long `frames` last at `rate` / `rateDen` of them a second.
constexpr std::int64_t Duration(std::int64_t frames, std::int64_t rate, std::int64_t rateDen = 1) {
  return frames * rateDen * kSecond / rate;
}

constexpr std::int64_t kHalfMp3Frame = Duration(576, 44100);
constexpr std::int64_t kHalfPicture = Duration(1, 50);

enum class Kind { Audio, VideoStream, ProgramStream };

std::optional<std::int64_t> LengthOf(Kind kind, const std::string& file) {
  switch (kind) {
    case Kind::Audio: return MpegAudioLength(file);
    case Kind::VideoStream: return MpegVideoStreamLength(file);
    case Kind::ProgramStream: return MpegProgramStreamLength(file);
  }
  return std::nullopt;
}

const TempDir& Folder() {
  static const TempDir folder;
  return folder;
}

// Runs `description` to its end, handing each buffer that reaches the element named
// "probe" to `onBuffer`; `caps` gets the caps there at the end.
bool Run(const std::string& description, const std::function<void(GstBuffer*)>& onBuffer = {},
         CapsRef* caps = nullptr) {
  gst_init(nullptr, nullptr);
  GError* raw = nullptr;
  ElementRef pipeline = Sink(gst_parse_launch(description.c_str(), &raw));
  GErrorPtr error(raw);
  if (error || !pipeline) {
    ADD_FAILURE() << description << ": " << (error ? error->message : "no pipeline");
    return false;
  }
  PadRef pad;
  if (auto probe = Adopt(gst_bin_get_by_name(GST_BIN(pipeline.get()), "probe"))) {
    pad = Adopt(gst_element_get_static_pad(probe.get(), "sink"));
    gst_pad_add_probe(
        pad.get(), GST_PAD_PROBE_TYPE_BUFFER,
        [](GstPad*, GstPadProbeInfo* info, gpointer call) {
          (*static_cast<const std::function<void(GstBuffer*)>*>(call))(GST_PAD_PROBE_INFO_BUFFER(info));
          return GST_PAD_PROBE_OK;
        },
        const_cast<std::function<void(GstBuffer*)>*>(&onBuffer), nullptr);
  }
  gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
  const auto bus = Adopt(gst_element_get_bus(pipeline.get()));
  MessageRef end{
      gst_bus_timed_pop_filtered(bus.get(), 60 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR))};
  if (caps && pad) *caps = AdoptCaps(gst_pad_get_current_caps(pad.get()));
  gst_element_set_state(pipeline.get(), GST_STATE_NULL);
  const bool ended = end && GST_MESSAGE_TYPE(end.get()) == GST_MESSAGE_EOS;
  if (!ended) ADD_FAILURE() << description << ": did not run to its end";
  return ended;
}

void Rewrite(const std::string& file, const std::function<std::string(std::string)>& edit) {
  const std::string bytes = edit(TempDir::Read(file));
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// Makes `name` once per run from a pipeline that ends where the file sink goes, or holds
// {file} for it, then edits its bytes.
std::string Generate(const std::string& name, const std::string& pipeline,
                     const std::function<std::string(std::string)>& edit = {}) {
  const std::string file = Folder() / name;
  if (std::filesystem::exists(file)) return file;
  const std::string sink = "filesink location=\"" + file + "\"";
  std::string description = pipeline;
  if (const auto at = description.find("{file}"); at != std::string::npos) {
    description.replace(at, 6, sink);
  } else {
    description += " ! " + sink;
  }
  if (Run(description) && edit) Rewrite(file, edit);
  return file;
}

// How long GStreamer's decoder plays `file`.
std::optional<std::int64_t> DecodedLength(const std::string& file) {
  std::int64_t bytes = 0;
  CapsRef caps;
  const bool ran = Run(
      "filesrc location=\"" + file +
          "\" ! decodebin ! audioconvert ! audio/x-raw,format=S16LE,channels=1 ! fakesink name=probe",
      [&](GstBuffer* buffer) { bytes += static_cast<std::int64_t>(gst_buffer_get_size(buffer)); }, &caps);
  int rate = 0;
  if (!ran || !caps || !gst_structure_get_int(gst_caps_get_structure(caps.get(), 0), "rate", &rate)) {
    return std::nullopt;
  }
  return Duration(bytes / 2, rate);
}

std::set<std::size_t> FrameSizes(const std::string& file) {
  std::set<std::size_t> sizes;
  Run("filesrc location=\"" + file + "\" ! mpegaudioparse ! fakesink name=probe",
      [&](GstBuffer* buffer) { sizes.insert(gst_buffer_get_size(buffer)); });
  return sizes;
}

// --- edits of generated files ---------------------------------------------------------

std::string Syncsafe(std::size_t size) {
  return {char(size >> 21 & 0x7F), char(size >> 14 & 0x7F), char(size >> 7 & 0x7F), char(size & 0x7F)};
}

std::string LittleEndian(std::uint32_t value) {
  return {char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
}

// The stream's first frames, as a tag may hold them by chance (a picture, a private blob):
// a scanner that reads the tag as audio counts them.
std::string FramesOf(const std::string& bytes) { return bytes.substr(0, 4096); }

// An ID3v2.4 tag with a footer in front, and an ID3v1 tag at the end.
std::string WithId3Tags(std::string bytes) {
  const std::string priv = std::string("lumivox", 8) + FramesOf(bytes);
  const std::string frame = "PRIV" + Syncsafe(priv.size()) + std::string(2, '\0') + priv;
  const std::string header = std::string("ID3\x04\x00\x10", 6) + Syncsafe(frame.size());
  const std::string footer = std::string("3DI\x04\x00\x10", 6) + Syncsafe(frame.size());
  const std::string id3v1 = "TAGTone" + std::string(121, '\0');
  return header + frame + footer + bytes + id3v1;
}

// An APEv2 tag with header and footer at the end.
std::string WithApeTag(std::string bytes) {
  const std::string value = FramesOf(bytes);
  const std::string item = LittleEndian(value.size()) + LittleEndian(2) + std::string("Cover Art (Front)", 18) + value;
  const auto mark = [&](std::uint32_t flags) {
    return "APETAGEX" + LittleEndian(2000) + LittleEndian(item.size() + 32) + LittleEndian(1) + LittleEndian(flags) +
           std::string(8, '\0');
  };
  return bytes + mark(0xA0000000) + item + mark(0x80000000);
}

// The LAME tag ffmpeg's muxer leaves blank, filled in as LAME writes it: 576 samples of
// encoder delay, 1000 of padding.
std::string WithLameDelayAndPadding(std::string bytes) {
  const auto xing = bytes.find("Xing");
  const auto at = xing == std::string::npos ? xing : bytes.find("Lavf", xing);
  if (at == std::string::npos) {
    ADD_FAILURE() << "no LAME tag to fill in";
    return bytes;
  }
  bytes.replace(at, 9, "LAME3.100");
  const std::uint32_t delayAndPadding = 576 << 12 | 1000;
  bytes[at + 21] = char(delayAndPadding >> 16);
  bytes[at + 22] = char(delayAndPadding >> 8);
  bytes[at + 23] = char(delayAndPadding);
  return bytes;
}

// Groups of pictures whose time codes all read 00:00:00.00 (the marker bit kept).
std::string WithZeroTimeCodes(std::string bytes) {
  for (auto at = bytes.find(std::string("\0\0\1\xB8", 4)); at != std::string::npos && at + 8 <= bytes.size();
       at = bytes.find(std::string("\0\0\1\xB8", 4), at + 4)) {
    bytes[at + 4] = 0;
    bytes[at + 5] = 0x08;
    bytes[at + 6] = 0;
    bytes[at + 7] &= 0x7F;
  }
  return bytes;
}

// A program stream of `es` muxed as the standard means it: a picture's time stamp is its
// place in display order (its group's time code plus its temporal reference), where
// GStreamer's muxers stamp pictures in stream order. Only the I pictures carry one (stamps
// may be up to 0.7 s apart), in a packet of the headers in front of the picture, which
// begin its access unit; the picture follows in a packet of its own. 25 pictures a second.
std::string InDisplayOrder(const std::string& es) {
  const std::string startCode("\0\0\1", 3);
  const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(es[at]); };
  struct Unit {
    std::size_t begin;
    std::size_t picture;
    std::optional<std::int64_t> frame;
  };
  std::vector<Unit> units;
  std::optional<std::size_t> headers;
  std::int64_t groupFrame = 0;
  for (auto at = es.find(startCode); at != std::string::npos && at + 8 <= es.size(); at = es.find(startCode, at + 3)) {
    const unsigned char code = byte(at + 3);
    if ((code == 0xB3 || code == 0xB8) && !headers) headers = at;
    if (code == 0xB8) {
      const std::int64_t seconds = (byte(at + 4) >> 2 & 31) * 3600 +
                                   ((byte(at + 4) & 3) << 4 | byte(at + 5) >> 4) * 60 +
                                   ((byte(at + 5) & 7) << 3 | byte(at + 6) >> 5);
      groupFrame = seconds * 25 + ((byte(at + 6) & 31) << 1 | byte(at + 7) >> 7);
    } else if (code == 0x00) {
      const int reference = byte(at + 4) << 2 | byte(at + 5) >> 6;
      const bool intra = (byte(at + 5) >> 3 & 7) == 1;
      units.push_back({headers.value_or(at), at, intra ? std::optional(groupFrame + reference) : std::nullopt});
      headers.reset();
    }
  }
  std::string stream;
  const auto packet = [&](std::size_t begin, std::size_t end, std::optional<std::int64_t> frame) {
    std::string header("\x80\0\0", 3);
    if (frame) {
      const std::int64_t pts = 90000 + *frame * 3600;
      header = std::string("\x80\x80\x05", 3) + char(0x21 | (pts >> 29 & 0x0E)) + char(pts >> 22) +
               char(pts >> 14 | 1) + char(pts >> 7) + char(pts << 1 | 1);
    }
    const std::size_t length = header.size() + end - begin;
    stream += std::string("\0\0\1\xBA\x44\0\x04\0\x04\x01\x01\x89\xC3\xF8", 14) + std::string("\0\0\1\xE0", 4) +
              char(length >> 8) + char(length) + header + es.substr(begin, end - begin);
  };
  for (std::size_t i = 0; i < units.size(); ++i) {
    const Unit& unit = units[i];
    const std::size_t end = i + 1 < units.size() ? units[i + 1].begin : es.size();
    if (unit.frame && unit.begin < unit.picture) {
      packet(unit.begin, unit.picture, unit.frame);
      packet(unit.picture, end, std::nullopt);
    } else {
      packet(unit.begin, end, unit.frame);
    }
  }
  return stream;
}

// --- generated media ------------------------------------------------------------------

// 4 s of tone in 100 ms buffers.
std::string Tone(int rate = 44100, int channels = 2) {
  return "audiotestsrc num-buffers=40 samplesperbuffer=" + std::to_string(rate / 10) +
         " ! audio/x-raw,rate=" + std::to_string(rate) + ",channels=" + std::to_string(channels) + " ! audioconvert ! ";
}
// MP2 frames made of one buffer each.
std::string Mp2Frames(int frames, const std::string& offset = "") {
  return "audiotestsrc num-buffers=" + std::to_string(frames) + " samplesperbuffer=1152 " + offset +
         " ! audio/x-raw,rate=44100,channels=2 ! twolamemp2enc ! mpegaudioparse ! ";
}
std::string Pictures(int count, const std::string& size = "width=176,height=144", const std::string& rate = "25/1",
                     const std::string& offset = "") {
  return "videotestsrc num-buffers=" + std::to_string(count) + " " + offset + " ! video/x-raw,format=I420," + size +
         ",framerate=" + rate + " ! ";
}
const std::string kSmall = "width=32,height=32";

const std::string kVbrMp3 = Tone() + "lamemp3enc target=quality quality=2";
// mpeg2enc's defaults make I and P pictures only.
const std::string kMpeg1WithB = "mpeg2enc format=0 b-per-refframe=2";
const std::string kMpeg2WithB = "mpeg2enc format=3 b-per-refframe=2";
// The clock wraps 2 s into the clip.
const std::string kNearWrap = "timestamp-offset=" + std::to_string((std::int64_t{1} << 33) * 100'000 / 9 - 2 * kSecond);

struct LengthCase {
  std::string name;
  std::string pipeline;
  Kind kind;
  std::optional<std::int64_t> length;  // nothing: as long as GStreamer's decoder plays it
  std::int64_t tolerance;
  std::function<std::string(std::string)> edit = {};
};

std::vector<LengthCase> Cases() {
  return {
      {"vbr.mp3", kVbrMp3, Kind::Audio, std::nullopt, kHalfMp3Frame},
      {"xing.mp3", kVbrMp3 + " ! xingmux", Kind::Audio, std::nullopt, kHalfMp3Frame},
      {"cbr.mp3", Tone() + "lamemp3enc target=bitrate bitrate=128 cbr=true", Kind::Audio, std::nullopt, kHalfMp3Frame},
      {"tone.mp2", Tone() + "twolamemp2enc", Kind::Audio, std::nullopt, kHalfMp3Frame},
      {"lsf.mp3", Tone(22050) + "lamemp3enc target=quality quality=2", Kind::Audio, std::nullopt, kHalfMp3Frame},
      {"mpeg25.mp3", Tone(8000, 1) + "lamemp3enc target=quality quality=2", Kind::Audio, std::nullopt,
       Duration(288, 8000)},
      {"id3.mp3", kVbrMp3 + " ! taginject tags=\"title=Tone\" ! id3mux write-v1=true", Kind::Audio, std::nullopt,
       kHalfMp3Frame},
      {"frames-in-tags.mp3", kVbrMp3, Kind::Audio, std::nullopt, kHalfMp3Frame, WithId3Tags},
      {"ape-front.mp3", kVbrMp3 + " ! taginject tags=\"title=Tone\" ! apev2mux", Kind::Audio, std::nullopt,
       kHalfMp3Frame},
      {"ape-end.mp3", kVbrMp3, Kind::Audio, std::nullopt, kHalfMp3Frame, WithApeTag},
      {"gapless.mp3", kVbrMp3 + " ! mpegaudioparse ! avmux_mp3", Kind::Audio, std::nullopt, kHalfMp3Frame,
       WithLameDelayAndPadding},
      {"ip.m2v", Pictures(100) + "mpeg2enc format=3", Kind::VideoStream, Duration(100, 25), kHalfPicture},
      {"b.m1v", Pictures(100) + kMpeg1WithB, Kind::VideoStream, Duration(100, 25), kHalfPicture},
      {"b.m2v", Pictures(100) + kMpeg2WithB, Kind::VideoStream, Duration(100, 25), kHalfPicture},
      {"ntsc.m2v", Pictures(120, kSmall, "30000/1001") + kMpeg2WithB, Kind::VideoStream, Duration(120, 30000, 1001),
       Duration(1001, 60000)},
      {"zero-time-codes.m2v", Pictures(100) + kMpeg2WithB, Kind::VideoStream, Duration(100, 25), kHalfPicture,
       WithZeroTimeCodes},
      // Audio 3 s, pictures 4 s: the pictures end it.
      {"mpeg1.mpg",
       Pictures(100) + kMpeg1WithB + " ! mpegvideoparse ! avmux_mpeg name=mux ! {file} " + Mp2Frames(115) + "mux.",
       Kind::ProgramStream, Duration(100, 25), kHalfPicture},
      {"mpeg2.m2p",
       Pictures(100) + kMpeg2WithB + " ! mpegvideoparse ! mpegpsmux name=mux ! {file} " + Mp2Frames(115) + "mux.",
       Kind::ProgramStream, Duration(100, 25), kHalfPicture},
      {"dvd.mpg",
       Pictures(100) + kMpeg2WithB + " ! mpegvideoparse ! avmux_vob name=mux ! {file} " + Mp2Frames(115) + "mux.",
       Kind::ProgramStream, Duration(100, 25), kHalfPicture},
      // Pictures so small that several share a packet and go without a time stamp.
      {"small-pictures.mpg", Pictures(100, kSmall) + kMpeg1WithB + " ! mpegvideoparse ! avmux_mpeg",
       Kind::ProgramStream, Duration(100, 25), kHalfPicture},
      {"audio-ends.m2p",
       Pictures(50) + kMpeg2WithB + " ! mpegvideoparse ! mpegpsmux name=mux ! {file} " + Mp2Frames(150) + "mux.",
       Kind::ProgramStream, Duration(150 * 1152, 44100), kHalfMp3Frame},
      {"display-order.m2p", Pictures(100) + kMpeg2WithB, Kind::ProgramStream, Duration(100, 25), kHalfPicture,
       InDisplayOrder},
      {"audio-only.mpg", Mp2Frames(150) + "avmux_mpeg", Kind::ProgramStream, Duration(150 * 1152, 44100),
       kHalfMp3Frame},
      {"clock-wraps.m2p",
       Pictures(100, "width=176,height=144", "25/1", kNearWrap) + kMpeg2WithB +
           " ! mpegvideoparse ! mpegpsmux name=mux ! {file} " + Mp2Frames(115, kNearWrap) + "mux.",
       Kind::ProgramStream, Duration(100, 25), kHalfPicture},
  };
}

std::string Make(const LengthCase& media) { return Generate(media.name, media.pipeline, media.edit); }

std::string Make(const std::string& name) {
  for (const auto& media : Cases()) {
    if (media.name == name) return Make(media);
  }
  ADD_FAILURE() << "no case " << name;
  return {};
}

TEST(MediaLength, GeneratedFilesReadTheirTrueLength) {
  for (const auto& media : Cases()) {
    SCOPED_TRACE(media.name);
    const std::string file = Make(media);
    const auto expected = media.length ? media.length : DecodedLength(file);
    ASSERT_TRUE(expected);
    const auto length = LengthOf(media.kind, file);
    ASSERT_TRUE(length);
    EXPECT_NEAR(*length, *expected, media.tolerance);
    // The other scanners see that it is not theirs.
    for (const Kind other : {Kind::Audio, Kind::VideoStream, Kind::ProgramStream}) {
      if (other != media.kind) {
        EXPECT_EQ(LengthOf(other, file), std::nullopt) << static_cast<int>(other);
      }
    }
  }
}

// The case the scanner is for: a constant bitrate reckoned from the first frame would be
// far off.
TEST(MediaLength, VariableBitrateFixtureReallyVaries) {
  const auto sizes = FrameSizes(Make("vbr.mp3"));
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
  const std::string mp3 = TempDir::Read(Make("cbr.mp3"));
  const std::string m2p = TempDir::Read(Make("mpeg2.m2p"));
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
    const std::string file = Folder().Write("junk", bytes);
    EXPECT_EQ(MpegAudioLength(file), std::nullopt);
    EXPECT_EQ(MpegVideoStreamLength(file), std::nullopt);
    EXPECT_EQ(MpegProgramStreamLength(file), std::nullopt);
    EXPECT_EQ(MpegAudioLength(Bytes(bytes)), std::nullopt);
    EXPECT_EQ(MpegVideoStreamLength(Bytes(bytes)), std::nullopt);
    EXPECT_EQ(MpegProgramStreamLength(Bytes(bytes)), std::nullopt);
  }
}

TEST(MediaLength, OnlyRegularFilesAreRead) {
  const std::string fifo = Folder() / "fifo.mp3";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {fifo, Folder().path().string(), Folder() / "missing.mp3"}) {
    EXPECT_EQ(MpegAudioLength(path), std::nullopt) << path;
    EXPECT_EQ(MpegVideoStreamLength(path), std::nullopt) << path;
    EXPECT_EQ(MpegProgramStreamLength(path), std::nullopt) << path;
  }
}

// A file cut in two reads as about the half that is left.
TEST(MediaLength, TruncatedFilesReadWhatIsLeft) {
  for (const auto& media : Cases()) {
    if (media.name != "cbr.mp3" && media.name != "b.m2v" && media.name != "mpeg2.m2p") continue;
    SCOPED_TRACE(media.name);
    const auto whole = LengthOf(media.kind, Make(media));
    ASSERT_TRUE(whole);
    const std::string bytes = TempDir::Read(Make(media));
    const auto half = LengthOf(media.kind, Folder().Write("half-" + media.name, bytes.substr(0, bytes.size() / 2)));
    ASSERT_TRUE(half);
    EXPECT_NEAR(static_cast<double>(*half) / static_cast<double>(*whole), 0.5, 0.15);
  }
}

// Tags after a stream cut short (a broken download, tagged afterwards): the ID3v1 tag
// must not complete the cut frame, and an APE footer that claims more than the file is
// not believed.
TEST(MediaLength, TagsAfterACutStream) {
  const std::string mp3 = Make("cbr.mp3");
  const auto whole = DecodedLength(mp3);
  ASSERT_TRUE(whole);
  const std::string bytes = TempDir::Read(mp3);
  const std::string cut = bytes.substr(0, bytes.size() - 100);
  const std::string apeFooter = "APETAGEX" + LittleEndian(2000) + LittleEndian(0xFFFFFFF0) + LittleEndian(1) +
                                LittleEndian(0x80000000) + std::string(8, '\0');
  const struct {
    const char* name;
    std::string bytes;
    int framesLeft;  // of the whole stream's
  } cases[] = {
      {"ID3v1", cut + "TAGTone" + std::string(121, '\0'), -1},
      {"APE footer of 4 GB", bytes + apeFooter, 0},
      {"both", cut + apeFooter + "TAGTone" + std::string(121, '\0'), -1},
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
  const std::string file = Folder() / name;
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
  const std::string mp3 = Make("cbr.mp3");
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
