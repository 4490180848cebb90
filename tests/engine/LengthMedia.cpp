#include "LengthMedia.h"

#include <gst/gst.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "MediaFixtures.h"

namespace lumivox::test {
namespace {

constexpr std::int64_t kSecond = 1'000'000'000;
constexpr std::int64_t kHalfPicture = Duration(1, 50);

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
std::string WithId3Tags(const std::string& bytes) {
  const std::string priv = std::string("lumivox", 8) + FramesOf(bytes);
  const std::string frame = "PRIV" + Syncsafe(priv.size()) + std::string(2, '\0') + priv;
  const std::string header = std::string("ID3\x04\x00\x10", 6) + Syncsafe(frame.size());
  const std::string footer = std::string("3DI\x04\x00\x10", 6) + Syncsafe(frame.size());
  return header + frame + footer + bytes + Id3v1Tag();
}

// An APEv2 tag with header and footer at the end.
std::string WithApeTag(const std::string& bytes) {
  const std::string value = FramesOf(bytes);
  const std::string item = LittleEndian(value.size()) + LittleEndian(2) + std::string("Cover Art (Front)", 18) + value;
  const auto size = static_cast<std::uint32_t>(item.size() + 32);
  return bytes + ApeTagMark(size, 0xA0000000) + item + ApeTagMark(size, 0x80000000);
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

std::vector<LengthCase> BuildCases() {
  using enum StreamKind;
  return {
      {"vbr.mp3", kVbrMp3, Audio, std::nullopt, kHalfMp3Frame},
      {"xing.mp3", kVbrMp3 + " ! xingmux", Audio, std::nullopt, kHalfMp3Frame},
      {"cbr.mp3", Tone() + "lamemp3enc target=bitrate bitrate=128 cbr=true", Audio, std::nullopt, kHalfMp3Frame},
      {"tone.mp2", Tone() + "twolamemp2enc", Audio, std::nullopt, kHalfMp3Frame},
      {"lsf.mp3", Tone(22050) + "lamemp3enc target=quality quality=2", Audio, std::nullopt, kHalfMp3Frame},
      {"mpeg25.mp3", Tone(8000, 1) + "lamemp3enc target=quality quality=2", Audio, std::nullopt, Duration(288, 8000)},
      {"id3.mp3", kVbrMp3 + " ! taginject tags=\"title=Tone\" ! id3mux write-v1=true", Audio, std::nullopt,
       kHalfMp3Frame},
      {"frames-in-tags.mp3", kVbrMp3, Audio, std::nullopt, kHalfMp3Frame, WithId3Tags},
      {"ape-front.mp3", kVbrMp3 + " ! taginject tags=\"title=Tone\" ! apev2mux", Audio, std::nullopt, kHalfMp3Frame},
      {"ape-end.mp3", kVbrMp3, Audio, std::nullopt, kHalfMp3Frame, WithApeTag},
      {"gapless.mp3", kVbrMp3 + " ! mpegaudioparse ! avmux_mp3", Audio, std::nullopt, kHalfMp3Frame,
       WithLameDelayAndPadding},
      {"ip.m2v", Pictures(100) + "mpeg2enc format=3", VideoStream, Duration(100, 25), kHalfPicture},
      {"b.m1v", Pictures(100) + kMpeg1WithB, VideoStream, Duration(100, 25), kHalfPicture},
      {"b.m2v", Pictures(100) + kMpeg2WithB, VideoStream, Duration(100, 25), kHalfPicture},
      {"ntsc.m2v", Pictures(120, kSmall, "30000/1001") + kMpeg2WithB, VideoStream, Duration(120, 30000, 1001),
       Duration(1001, 60000)},
      {"zero-time-codes.m2v", Pictures(100) + kMpeg2WithB, VideoStream, Duration(100, 25), kHalfPicture,
       WithZeroTimeCodes},
      // Audio 3 s, pictures 4 s: the pictures end it.
      {"mpeg1.mpg",
       Pictures(100) + kMpeg1WithB + " ! mpegvideoparse ! avmux_mpeg name=mux ! {file} " + Mp2Frames(115) + "mux.",
       ProgramStream, Duration(100, 25), kHalfPicture},
      {"mpeg2.m2p",
       Pictures(100) + kMpeg2WithB + " ! mpegvideoparse ! mpegpsmux name=mux ! {file} " + Mp2Frames(115) + "mux.",
       ProgramStream, Duration(100, 25), kHalfPicture},
      {"dvd.mpg",
       Pictures(100) + kMpeg2WithB + " ! mpegvideoparse ! avmux_vob name=mux ! {file} " + Mp2Frames(115) + "mux.",
       ProgramStream, Duration(100, 25), kHalfPicture},
      // Pictures so small that several share a packet and go without a time stamp.
      {"small-pictures.mpg", Pictures(100, kSmall) + kMpeg1WithB + " ! mpegvideoparse ! avmux_mpeg", ProgramStream,
       Duration(100, 25), kHalfPicture},
      {"audio-ends.m2p",
       Pictures(50) + kMpeg2WithB + " ! mpegvideoparse ! mpegpsmux name=mux ! {file} " + Mp2Frames(150) + "mux.",
       ProgramStream, Duration(150 * 1152, 44100), kHalfMp3Frame},
      {"display-order.m2p", Pictures(100) + kMpeg2WithB, ProgramStream, Duration(100, 25), kHalfPicture,
       InDisplayOrder},
      {"audio-only.mpg", Mp2Frames(150) + "avmux_mpeg", ProgramStream, Duration(150 * 1152, 44100), kHalfMp3Frame},
      {"clock-wraps.m2p",
       Pictures(100, "width=176,height=144", "25/1", kNearWrap) + kMpeg2WithB +
           " ! mpegvideoparse ! mpegpsmux name=mux ! {file} " + Mp2Frames(115, kNearWrap) + "mux.",
       ProgramStream, Duration(100, 25), kHalfPicture},
  };
}

}  // namespace

const std::vector<LengthCase>& LengthCases() {
  static const std::vector<LengthCase> cases = BuildCases();
  return cases;
}

const TempDir& LengthFolder() {
  static const TempDir folder;
  return folder;
}

std::string LengthMedia(const LengthCase& media) {
  const std::string file = LengthFolder() / media.name;
  if (!std::filesystem::exists(file) && !WriteMedia(media.pipeline, file, media.edit)) {
    ADD_FAILURE() << media.name << " could not be made";
  }
  return file;
}

std::string LengthMedia(const std::string& name) {
  for (const auto& media : LengthCases()) {
    if (media.name == name) return LengthMedia(media);
  }
  ADD_FAILURE() << "no case " << name;
  return {};
}

std::string ApeTagMark(std::uint32_t size, std::uint32_t flags) {
  return "APETAGEX" + LittleEndian(2000) + LittleEndian(size) + LittleEndian(1) + LittleEndian(flags) +
         std::string(8, '\0');
}

std::string Id3v1Tag() { return "TAGTone" + std::string(121, '\0'); }

std::optional<std::int64_t> DecodedLength(const std::string& file) {
  std::int64_t bytes = 0;
  CapsRef caps;
  const bool ran = RunPipeline(
      "filesrc location=\"" + file +
          "\" ! decodebin ! audioconvert ! audio/x-raw,format=S16LE,channels=1 ! fakesink name=probe",
      [&](GstBuffer* buffer) { bytes += static_cast<std::int64_t>(gst_buffer_get_size(buffer)); }, &caps);
  int rate = 0;
  if (!ran || !caps || !gst_structure_get_int(gst_caps_get_structure(caps.get(), 0), "rate", &rate)) {
    return std::nullopt;
  }
  return Duration(bytes / 2, rate);
}

}  // namespace lumivox::test
