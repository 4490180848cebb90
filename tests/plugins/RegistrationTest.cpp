// The plugin loads from the build tree with its three elements, none of which auto-plugging
// may pick, each taking exactly the streams it is placed for.

#include <gtest/gtest.h>

#include <memory>

#include "GstSupport.h"

namespace lumivox::test {
namespace {

struct FactoryCase {
  const char* factory;
  const char* long_name;
  const char* klass;
  const char* accepted;
  const char* refused;
};

class RegistrationTest : public testing::TestWithParam<FactoryCase> {
 protected:
  static void SetUpTestSuite() { LoadHalcyonPlugin(); }
};

bool Sinks(GstElementFactory* factory, const char* caps_text) {
  std::unique_ptr<GstCaps, CapsUnref> caps(gst_caps_from_string(caps_text));
  return gst_element_factory_can_sink_all_caps(factory, caps.get());
}

TEST_P(RegistrationTest, RegisteredWithoutRankForItsOwnStreams) {
  const FactoryCase& c = GetParam();
  std::unique_ptr<GstElementFactory, ObjectUnref> factory(gst_element_factory_find(c.factory));
  ASSERT_TRUE(factory) << c.factory;
  EXPECT_STREQ(gst_plugin_feature_get_plugin_name(GST_PLUGIN_FEATURE(factory.get())), "halcyon");
  EXPECT_EQ(gst_plugin_feature_get_rank(GST_PLUGIN_FEATURE(factory.get())), GST_RANK_NONE);
  EXPECT_STREQ(gst_element_factory_get_metadata(factory.get(), GST_ELEMENT_METADATA_LONGNAME),
               c.long_name);
  EXPECT_STREQ(gst_element_factory_get_metadata(factory.get(), GST_ELEMENT_METADATA_KLASS),
               c.klass);
  EXPECT_TRUE(Sinks(factory.get(), c.accepted));
  EXPECT_FALSE(Sinks(factory.get(), c.refused));
}

INSTANTIATE_TEST_SUITE_P(
    Elements, RegistrationTest,
    testing::Values(
        FactoryCase{"halcyonmpegvideodec", "Halcyon MPEG Video Decoder", "Codec/Decoder/Video",
                    "video/mpeg, mpegversion=1, systemstream=false, parsed=true",
                    "video/mpeg, mpegversion=2, systemstream=false, parsed=false"},
        FactoryCase{"halcyonmpegaudiodec", "Halcyon MPEG Audio Decoder", "Codec/Decoder/Audio",
                    "audio/mpeg, mpegversion=1, layer=2, parsed=true",
                    "audio/mpeg, mpegversion=4, parsed=true"},
        FactoryCase{"halcyonlumivaultsink", "Halcyon LumivaultHD Renderer", "Sink/Video",
                    "video/x-raw, format=I420, width=161, height=121, framerate=25/1",
                    "video/x-raw, format=RGB, width=161, height=121, framerate=25/1"}),
    [](const auto& info) { return std::string(info.param.factory); });

}  // namespace
}  // namespace lumivox::test
