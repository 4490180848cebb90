#pragma once
// Owning pointers for GStreamer and GLib references. `Adopt` takes over a reference the
// caller already holds (a "transfer full" result); `AddRef` takes a new one.

#include <gst/gst.h>

#include <memory>

namespace lumivox {

struct GstObjectUnref {
  void operator()(gpointer object) const { gst_object_unref(object); }
};
struct GstMiniObjectUnref {
  void operator()(GstMiniObject* object) const { gst_mini_object_unref(object); }
  void operator()(GstCaps* caps) const { gst_caps_unref(caps); }
  void operator()(GstMessage* message) const { gst_message_unref(message); }
  void operator()(GstTagList* tags) const { gst_tag_list_unref(tags); }
};
struct GFreeDeleter {
  void operator()(gpointer memory) const { g_free(memory); }
};
struct GErrorDeleter {
  void operator()(GError* error) const { g_error_free(error); }
};
struct GstIteratorDeleter {
  void operator()(GstIterator* iterator) const { gst_iterator_free(iterator); }
};

template <typename T>
using GstRef = std::unique_ptr<T, GstObjectUnref>;
using ElementRef = GstRef<GstElement>;
using PadRef = GstRef<GstPad>;
using CapsRef = std::unique_ptr<GstCaps, GstMiniObjectUnref>;
using MessageRef = std::unique_ptr<GstMessage, GstMiniObjectUnref>;
using GCharPtr = std::unique_ptr<gchar, GFreeDeleter>;
using GErrorPtr = std::unique_ptr<GError, GErrorDeleter>;
using IteratorPtr = std::unique_ptr<GstIterator, GstIteratorDeleter>;

template <typename T>
GstRef<T> Adopt(T* object) {
  return GstRef<T>(object);
}
template <typename T>
GstRef<T> AddRef(T* object) {
  return GstRef<T>(object ? static_cast<T*>(gst_object_ref(object)) : nullptr);
}
// For a newly made object: its floating reference becomes ours.
template <typename T>
GstRef<T> Sink(T* object) {
  return GstRef<T>(object ? static_cast<T*>(gst_object_ref_sink(object)) : nullptr);
}
inline ElementRef MakeElement(const char* factory, const char* name = nullptr) {
  return Sink(gst_element_factory_make(factory, name));
}
inline CapsRef AdoptCaps(GstCaps* caps) { return CapsRef(caps); }

}  // namespace lumivox
