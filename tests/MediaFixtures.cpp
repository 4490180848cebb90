#include "MediaFixtures.h"

#include <gst/gst.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "TempDir.h"
#include "engine/GstPtr.h"

namespace lumivox::test {
namespace {

constexpr std::int64_t kSecond = 10'000'000;

// One second of tone in ten 100 ms buffers, and one second of 25 fps picture.
const std::string kTone = "audiotestsrc num-buffers=10 samplesperbuffer=4410 ! audio/x-raw,rate=44100,channels=2 ! ";
const std::string kPicture = "videotestsrc num-buffers=25 ! video/x-raw,format=I420,width=176,height=144,framerate=25/1 ! ";

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
      {"clip.avi", kPicture + "avimux name=mux ! {file} " + kTone + "audioconvert ! audio/x-raw,format=S16LE ! mux.", kSecond,
       176, 144},
      {"clip.m1v", mpeg1, kSecond, 176, 144, false, true},
      {"clip.mpv", mpeg1, kSecond, 176, 144, false, true},
      {"clip.m2v", mpeg2, kSecond, 176, 144, false, true},
      {"clip.mpg", mpeg2 + " ! mpegvideoparse ! avmux_mpeg name=mux ! {file} " + mp2 + "mpegaudioparse ! mux.",
       kSecond, 176, 144, true, true},
      {"clip.m2p", mpeg1 + " ! mpegvideoparse ! avmux_mpeg name=mux ! {file} " + mp2 + "mpegaudioparse ! mux.",
       kSecond, 176, 144, true, true},
      // MPEG audio under an ASF name: the reader refuses it and the file plays anyway.
      {"renamed.wma", kTone + "lamemp3enc target=bitrate bitrate=128 cbr=true", kSecond, 0, 0, true},
  };
  return table;
}

bool Generate(const MediaFixture& media, const std::string& file) {
  const std::string sink = "filesink location=\"" + file + "\"";
  std::string description = media.pipeline;
  if (const auto at = description.find("{file}"); at != std::string::npos) {
    description.replace(at, 6, sink);
  } else {
    description += " ! " + sink;
  }
  GError* raw = nullptr;
  ElementRef pipeline = Sink(gst_parse_launch(description.c_str(), &raw));
  GErrorPtr error(raw);
  if (error || !pipeline) {
    std::fprintf(stderr, "fixture %s: %s\n", media.name.c_str(), error ? error->message : "no pipeline");
    return false;
  }
  gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
  GstRef<GstBus> bus{gst_element_get_bus(pipeline.get())};
  MessageRef end{gst_bus_timed_pop_filtered(bus.get(), 60 * GST_SECOND,
                                            GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR))};
  gst_element_set_state(pipeline.get(), GST_STATE_NULL);
  return end && GST_MESSAGE_TYPE(end.get()) == GST_MESSAGE_EOS;
}

}  // namespace

const std::vector<MediaFixture>& MediaTable() {
  static const std::vector<MediaFixture> table = BuildTable();
  return table;
}

const MediaFixture& Media(const std::string& name) {
  for (const auto& media : MediaTable()) {
    if (media.name == name) return media;
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
    gst_init(nullptr, nullptr);
    if (!Generate(Media(name), file)) std::abort();
  }
  return file;
}

}  // namespace lumivox::test
