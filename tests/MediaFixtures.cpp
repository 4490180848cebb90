#include "MediaFixtures.h"

#include <gst/gst.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>

#include "TempDir.h"
#include "engine/GstPtr.h"

namespace lumivox::test {
namespace {

constexpr std::int64_t kSecond = 10'000'000;

// Tone in 100 ms buffers, and 25 fps picture.
std::string Tone(int seconds, const char* wave = "sine") {
  return "audiotestsrc wave=" + std::string(wave) + " num-buffers=" + std::to_string(seconds * 10) +
         " samplesperbuffer=4410 ! audio/x-raw,rate=44100,channels=2 ! ";
}
std::string Picture(int seconds) {
  return "videotestsrc num-buffers=" + std::to_string(seconds * 25) +
         " ! video/x-raw,format=I420,width=176,height=144,framerate=25/1 ! ";
}

const std::string kTone = Tone(1);
const std::string kPicture = Picture(1);

std::vector<MediaFixture> BuildTable() {
  const std::string mp2 = kTone + "twolamemp2enc ! ";
  // Pictures only of their own (no B pictures): the program stream muxer keeps them in
  // order, and a parser's first frame stands for the rest when it reckons the length.
  const std::string mpeg1 = kPicture + "mpeg2enc format=0 min-gop-size=1 max-gop-size=1";
  const std::string mpeg2 = kPicture + "mpeg2enc format=3 min-gop-size=1 max-gop-size=1";
  std::vector<MediaFixture> table = {
      {"tone.wav", kTone + "audioconvert ! wavenc", kSecond},
      {"tone.au", kTone + "audioconvert ! audio/x-raw,format=S16BE ! avmux_au", kSecond},
      {"tone.snd", kTone + "audioconvert ! audio/x-raw,format=S16BE ! avmux_au", kSecond},
      {"tone.aiff", kTone + "audioconvert ! aiffmux", kSecond},
      {"tone.aif", kTone + "audioconvert ! aiffmux", kSecond},
      {"tone.aifc", kTone + "audioconvert ! aiffmux", kSecond},
      {"tone.mp3", kTone + "lamemp3enc target=bitrate bitrate=128 cbr=true", kSecond, 0, 0, true},
      {"tone.mp2", mp2 + "identity", kSecond, 0, 0, true},
      {"tone.mpa", mp2 + "identity", kSecond, 0, 0, true},
      {"tone.wma", kTone + "audioconvert ! avenc_wmav2 ! asfmux", kSecond, 0, 0, false, false, true},
      {"clip.wmv", kPicture + "avenc_wmv2 ! asfmux name=mux ! {file} " + kTone + "audioconvert ! avenc_wmav2 ! mux.",
       kSecond, 176, 144, false, false, true},
      {"clip.asf", kPicture + "avenc_wmv1 ! asfmux", kSecond, 176, 144, false, false, true},
      {"clip.avi", kPicture + "avimux name=mux ! {file} " + kTone + "audioconvert ! audio/x-raw,format=S16LE ! mux.",
       kSecond, 176, 144},
      {"clip.m1v", mpeg1, kSecond, 176, 144, false, true},
      {"clip.mpv", mpeg1, kSecond, 176, 144, false, true},
      {"clip.m2v", mpeg2, kSecond, 176, 144, false, true},
      {"clip.mpg", mpeg2 + " ! mpegvideoparse ! avmux_mpeg name=mux ! {file} " + mp2 + "mpegaudioparse ! mux.", kSecond,
       176, 144, true, true},
      {"clip.m2p", mpeg1 + " ! mpegvideoparse ! avmux_mpeg name=mux ! {file} " + mp2 + "mpegaudioparse ! mux.", kSecond,
       176, 144, true, true},
      // MPEG audio under an ASF name: the reader refuses it and the file plays anyway.
      {"renamed.wma", kTone + "lamemp3enc target=bitrate bitrate=128 cbr=true", kSecond, 0, 0, true},
  };
  return table;
}

// Four seconds of tone and of picture, and two timed subtitles.
const std::string kLongTone = Tone(4) + "audioconvert ! ";
const std::string kLongNoise = Tone(4, "pink-noise") + "audioconvert ! ";  // a VBR encoder varies its frames
const std::string kLongPicture = Picture(4);
const std::string kSubtitles =
    "filesrc location={subtitles} ! subparse ! capssetter caps=text/x-raw,format=utf8 replace=true ! ";
constexpr std::string_view kSrt =
    "1\n00:00:00,500 --> 00:00:01,500\nHello\n\n2\n00:00:02,000 --> 00:00:03,000\nWorld\n";

std::string BigEndian(std::uint64_t value, int bytes) {
  std::string out;
  for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>(value >> (8 * i) & 0xFF);
  return out;
}

// 44.1 kHz as the 80-bit extended number AIFF keeps its rate in.
const std::string kRate44100 = std::string("\x40\x0E\xAC\x44", 4) + std::string(6, '\0');

// Stereo 32-bit float samples, big-endian, in an AIFF-C file ("fl32").
std::string WrapFloatAifc(const std::string& samples) {
  const std::string name = std::string(1, '\x0c') + "32-bit float" + '\0';  // a pascal string of even length
  const std::string comm =
      BigEndian(2, 2) + BigEndian(samples.size() / 8, 4) + BigEndian(32, 2) + kRate44100 + "fl32" + name;
  const std::string chunks = "FVER" + BigEndian(4, 4) + BigEndian(0xA2805140, 4) + "COMM" + BigEndian(comm.size(), 4) +
                             comm + "SSND" + BigEndian(samples.size() + 8, 4) + std::string(8, '\0') + samples;
  return "FORM" + BigEndian(chunks.size() + 4, 4) + "AIFC" + chunks;
}

std::uint32_t LittleEndian(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

std::string LittleEndian(std::uint32_t value) {
  std::string out;
  for (int i = 0; i < 4; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
  return out;
}

// An AVI with every audio chunk moved in front of the pictures and its index rewritten to
// match: the streams lie the whole length of the file apart.
std::string WrapAudioFirstAvi(const std::string& avi) {
  std::size_t movi = 0, moviEnd = 0, index = 0, indexEnd = 0;
  for (std::size_t at = 12; at + 8 <= avi.size();) {
    const std::uint32_t size = LittleEndian(avi, at + 4);
    if (avi.compare(at, 4, "LIST") == 0 && avi.compare(at + 8, 4, "movi") == 0) movi = at, moviEnd = at + 8 + size;
    if (avi.compare(at, 4, "idx1") == 0) index = at, indexEnd = at + 8 + size;
    at += 8 + size + (size & 1);
  }
  std::map<std::string, std::deque<std::uint32_t>> flags;  // each stream's key-frame flags, in order
  for (std::size_t at = index + 8; at + 16 <= indexEnd; at += 16)
    flags[avi.substr(at, 4)].push_back(LittleEndian(avi, at + 4));
  std::vector<std::string> audio, rest;
  for (std::size_t at = movi + 12; at + 8 <= moviEnd;) {
    const std::uint32_t size = LittleEndian(avi, at + 4);
    std::string chunk = avi.substr(at, 8 + size + (size & 1));
    at += chunk.size();
    (chunk.compare(2, 2, "wb") == 0 ? audio : rest).push_back(std::move(chunk));
  }
  std::string list = "movi", entries;
  for (const auto* chunks : {&audio, &rest}) {
    for (const std::string& chunk : *chunks) {
      auto& stream = flags[chunk.substr(0, 4)];
      entries += chunk.substr(0, 4) + LittleEndian(stream.front()) + LittleEndian(list.size()) + chunk.substr(4, 4);
      stream.pop_front();
      list += chunk;
    }
  }
  return avi.substr(0, movi) + "LIST" + LittleEndian(list.size()) + list + avi.substr(moviEnd, index - moviEnd) +
         "idx1" + LittleEndian(entries.size()) + entries + avi.substr(indexEnd);
}

std::vector<MediaFixture> BuildCorpus() {
  constexpr std::int64_t kLength = 4 * kSecond;
  // No B pictures: their reordering delay would stretch the picture past the sound.
  const std::string h264 = kLongPicture + "x264enc bframes=0 ! h264parse ! ";
  const std::string aac = kLongTone + "avenc_aac ! aacparse ! ";
  std::vector<MediaFixture> table = {
      {"eight.aiff", kLongTone + "audio/x-raw,format=S8 ! aiffmux", kLength},
      {"deep24.aiff", kLongTone + "audio/x-raw,format=S24BE ! aiffmux", kLength},
      {"deep32.aiff", kLongTone + "audio/x-raw,format=S32BE ! aiffmux", kLength},
      {.name = "float.aifc",
       .pipeline = kLongTone + "audio/x-raw,format=F32BE",
       .duration = kLength,
       .wrap = &WrapFloatAifc},
      {"eight.wav",
       "audiotestsrc num-buffers=40 samplesperbuffer=4410 ! audio/x-raw,rate=44100,channels=1 ! audioconvert ! "
       "audio/x-raw,format=U8 ! wavenc",
       kLength},
      {"float.wav", kLongTone + "audio/x-raw,format=F32LE ! wavenc", kLength},
      {"vbr.mp3", kLongNoise + "lamemp3enc target=quality quality=2", kLength, 0, 0, true},
      {"xing.mp3", kLongNoise + "lamemp3enc target=quality quality=2 ! xingmux", kLength, 0, 0, true},
      {"long.m1v", kLongPicture + "mpeg2enc format=0", kLength, 176, 144, false, true},
      {"tone.flac", kLongTone + "flacenc", kLength},
      {"surround.flac",
       "audiotestsrc num-buffers=40 samplesperbuffer=4410 ! "
       "audio/x-raw,rate=44100,channels=6,channel-mask=(bitmask)0x3f ! audioconvert ! flacenc",
       kLength},
      {"tone.opus", kLongTone + "audioresample ! opusenc ! oggmux", kLength},
      {"tone.ogg", kLongTone + "vorbisenc ! oggmux", kLength},
      {"tone.m4a", kLongTone + "avenc_aac ! mp4mux", kLength},
      {"film.mkv", h264 + "matroskamux name=mux ! {file} " + aac + "mux. " + kSubtitles + "mux.", kLength, 176, 144,
       false, false, false, 1},
      {"film.mp4", h264 + "mp4mux name=mux ! {file} " + aac + "mux. " + kSubtitles + "mux.subtitle_0", kLength, 176,
       144, false, false, false, 1},
      {"dual.mkv",
       h264 + "matroskamux name=mux ! {file} " + kLongTone + "vorbisenc ! mux. " + kLongTone +
           "audioresample ! opusenc ! mux.",
       kLength, 176, 144, false, false, false, 1},
      {"clip.webm", kLongPicture + "vp8enc ! webmmux name=mux ! {file} " + kLongTone + "vorbisenc ! mux.", kLength, 176,
       144},
      // A minute whose audio the muxer writes all before the picture: the streams lie far apart.
      {"apart.wmv",
       Picture(60) + "avenc_wmv2 ! asfmux name=mux ! {file} " + Tone(60) + "audioconvert ! avenc_wmav2 ! mux.",
       15 * kLength, 176, 144, false, false, true},
      {.name = "apart.avi",
       .pipeline = Picture(60) + "avenc_mpeg4 ! avimux name=mux ! {file} " + Tone(60) +
                   "audioconvert ! audio/x-raw,format=S16LE ! mux.",
       .duration = 15 * kLength,
       .width = 176,
       .height = 144,
       .wrap = &WrapAudioFirstAvi},
  };
  return table;
}

}  // namespace

bool RunPipeline(const std::string& description, const std::function<void(GstBuffer*)>& onBuffer, CapsRef* caps) {
  gst_init(nullptr, nullptr);
  GError* raw = nullptr;
  ElementRef pipeline = Sink(gst_parse_launch(description.c_str(), &raw));
  GErrorPtr error(raw);
  if (error || !pipeline) {
    std::fprintf(stderr, "%s: %s\n", description.c_str(), error ? error->message : "no pipeline");
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
  GstRef<GstBus> bus{gst_element_get_bus(pipeline.get())};
  MessageRef end{
      gst_bus_timed_pop_filtered(bus.get(), 60 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR))};
  if (caps && pad) *caps = AdoptCaps(gst_pad_get_current_caps(pad.get()));
  gst_element_set_state(pipeline.get(), GST_STATE_NULL);
  const bool ended = end && GST_MESSAGE_TYPE(end.get()) == GST_MESSAGE_EOS;
  if (!ended) std::fprintf(stderr, "%s: did not run to its end\n", description.c_str());
  return ended;
}

bool WriteMedia(const std::string& pipeline, const std::string& file,
                const std::function<std::string(const std::string&)>& wrap) {
  const std::string written = wrap ? file + ".written" : file;
  const std::string sink = "filesink location=\"" + written + "\"";
  std::string description = pipeline;
  if (const auto at = description.find("{file}"); at != std::string::npos) {
    description.replace(at, 6, sink);
  } else {
    description += " ! " + sink;
  }
  if (const auto at = description.find("{subtitles}"); at != std::string::npos) {
    const std::string subtitles = file + ".srt";
    std::ofstream(subtitles, std::ios::binary) << kSrt;
    description.replace(at, 11, "\"" + subtitles + "\"");
  }
  if (!RunPipeline(description)) return false;
  if (wrap) std::ofstream(file, std::ios::binary) << wrap(TempDir::Read(written));
  return true;
}

const std::vector<MediaFixture>& MediaTable() {
  static const std::vector<MediaFixture> table = BuildTable();
  return table;
}

const std::vector<MediaFixture>& CorpusTable() {
  static const std::vector<MediaFixture> table = BuildCorpus();
  return table;
}

const MediaFixture& Media(const std::string& name) {
  for (const auto* table : {&MediaTable(), &CorpusTable()}) {
    for (const auto& media : *table) {
      if (media.name == name) return media;
    }
  }
  std::fprintf(stderr, "no fixture named %s\n", name.c_str());
  std::abort();
}

std::string MediaPath(const std::string& name) {
  static TempDir folder;
  static std::mutex generating;
  std::lock_guard lock(generating);
  const std::string file = folder / name;
  if (!std::filesystem::exists(file)) {
    const MediaFixture& media = Media(name);
    if (!WriteMedia(media.pipeline, file, media.wrap)) std::abort();
  }
  return file;
}

}  // namespace lumivox::test
