#include "TestCdDrive.h"

#include <gst/gst.h>

#include <cstdlib>
#include <string>

#include "engine/GstRuntime.h"

namespace lumivox::test {
namespace {

struct TestCdSource {
  GstBin parent;
  GstElement* tone;
  gchar* uri;
  int track;
};
struct TestCdSourceClass {
  GstBinClass parent;
};

GType test_cd_source_get_type();
void test_cd_source_uri_init(gpointer iface, gpointer);

G_DEFINE_TYPE_WITH_CODE(TestCdSource, test_cd_source, GST_TYPE_BIN,
                        G_IMPLEMENT_INTERFACE(GST_TYPE_URI_HANDLER, test_cd_source_uri_init))

void test_cd_source_finalize(GObject* object) {
  g_free(reinterpret_cast<TestCdSource*>(object)->uri);
  G_OBJECT_CLASS(test_cd_source_parent_class)->finalize(object);
}

void test_cd_source_class_init(TestCdSourceClass* klass) {
  G_OBJECT_CLASS(klass)->finalize = test_cd_source_finalize;
  gst_element_class_set_static_metadata(GST_ELEMENT_CLASS(klass), "Test CD drive", "Source/File",
                                        "Plays the tracks of a pretend disc", "lumivox");
  static GstStaticPadTemplate src =
      GST_STATIC_PAD_TEMPLATE("src", GST_PAD_SRC, GST_PAD_ALWAYS, GST_STATIC_CAPS("audio/x-raw"));
  gst_element_class_add_static_pad_template(GST_ELEMENT_CLASS(klass), &src);
}

// A disc knows its tracks' lengths before it plays them.
gboolean AnswerQuery(GstPad* pad, GstObject* parent, GstQuery* query) {
  GstFormat format = GST_FORMAT_UNDEFINED;
  if (GST_QUERY_TYPE(query) == GST_QUERY_DURATION) {
    gst_query_parse_duration(query, &format, nullptr);
    if (format == GST_FORMAT_TIME) {
      gst_query_set_duration(query, format, reinterpret_cast<TestCdSource*>(parent)->track * 200 * GST_MSECOND);
      return TRUE;
    }
  }
  return gst_pad_query_default(pad, parent, query);
}

void test_cd_source_init(TestCdSource* self) {
  self->tone = gst_element_factory_make("audiotestsrc", "tone");
  g_object_set(self->tone, "samplesperbuffer", 8820, "num-buffers", 1, nullptr);
  gst_bin_add(GST_BIN(self), self->tone);
  GstPad* pad = gst_element_get_static_pad(self->tone, "src");
  GstPad* ghost = gst_ghost_pad_new("src", pad);
  gst_pad_set_query_function(ghost, AnswerQuery);
  gst_element_add_pad(GST_ELEMENT(self), ghost);
  gst_object_unref(pad);
}

GstURIType UriType(GType) { return GST_URI_SRC; }
const gchar* const* Protocols(GType) {
  static const gchar* protocols[] = {"cdda", nullptr};
  return protocols;
}
gchar* GetUri(GstURIHandler* handler) { return g_strdup(reinterpret_cast<TestCdSource*>(handler)->uri); }
gboolean SetUri(GstURIHandler* handler, const gchar* uri, GError**) {
  auto* self = reinterpret_cast<TestCdSource*>(handler);
  const int track = std::atoi(uri + std::string("cdda://").size());
  if (track <= 0) return FALSE;
  g_free(self->uri);
  self->uri = g_strdup(uri);
  self->track = track;
  g_object_set(self->tone, "num-buffers", track, nullptr);  // 200 ms each
  return TRUE;
}

void test_cd_source_uri_init(gpointer iface, gpointer) {
  auto* handler = static_cast<GstURIHandlerInterface*>(iface);
  handler->get_type = UriType;
  handler->get_protocols = Protocols;
  handler->get_uri = GetUri;
  handler->set_uri = SetUri;
}

}  // namespace

void RegisterTestCdDrive() {
  InitGStreamer();
  gst_element_register(nullptr, "testcddasrc", GST_RANK_PRIMARY + 100, test_cd_source_get_type());
}

}  // namespace lumivox::test
