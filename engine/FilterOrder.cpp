// The order in which a graph lists its filters: sources first, then each filter after the
// ones that feed it. The auto-plugging bins are looked through to the elements they chose;
// any other bin (a reader, a sink made of several elements) stands as one filter.

#include <gst/gst.h>

#include <algorithm>
#include <map>
#include <set>
#include <string_view>

#include "engine/FilterGraph.h"

namespace lumivox {
namespace {

bool IsUnit(GstElement* element) {
  if (!GST_IS_BIN(element)) return true;
  GstElementFactory* factory = gst_element_get_factory(element);
  const std::string_view made = factory ? GST_OBJECT_NAME(factory) : "";
  return made != "decodebin" && made != "parsebin" && made != "decodebin3";
}

// The outermost reader holding `element`, or the element itself.
GstElement* UnitOf(GstElement* element, GstElement* pipeline) {
  GstElement* unit = element;
  for (GstObject* up = GST_OBJECT_PARENT(element); up && up != GST_OBJECT(pipeline); up = GST_OBJECT_PARENT(up)) {
    if (GST_IS_ELEMENT(up) && GST_IS_BIN(up) && IsUnit(GST_ELEMENT(up))) unit = GST_ELEMENT(up);
  }
  return unit;
}

// The element a source pad feeds, through the ghost pads of bins on the way.
GstElement* Downstream(GstPad* pad, GstElement* pipeline) {
  PadRef peer{gst_pad_get_peer(pad)};
  while (peer) {
    if (GST_IS_PROXY_PAD(peer.get()) && !GST_IS_GHOST_PAD(peer.get())) {
      // The inside of a bin's source ghost pad: go on from the ghost pad's peer.
      GstRef<GstProxyPad> ghost{gst_proxy_pad_get_internal(GST_PROXY_PAD(peer.get()))};
      if (!ghost) return nullptr;
      peer.reset(gst_pad_get_peer(GST_PAD(ghost.get())));
      continue;
    }
    ElementRef owner{gst_pad_get_parent_element(peer.get())};
    if (!owner) return nullptr;
    if (GST_IS_GHOST_PAD(peer.get()) && !IsUnit(owner.get())) {
      peer.reset(gst_ghost_pad_get_target(GST_GHOST_PAD(peer.get())));
      continue;
    }
    return UnitOf(owner.get(), pipeline);
  }
  return nullptr;
}

std::vector<GstElement*> Units(GstElement* pipeline) {
  std::vector<GstElement*> units;
  IteratorPtr all(gst_bin_iterate_recurse(GST_BIN(pipeline)));
  GValue item = G_VALUE_INIT;
  while (gst_iterator_next(all.get(), &item) == GST_ITERATOR_OK) {
    auto* element = GST_ELEMENT(g_value_get_object(&item));
    if (IsUnit(element) && UnitOf(element, pipeline) == element) units.push_back(element);
    g_value_reset(&item);
  }
  g_value_unset(&item);
  return units;
}

std::vector<GstElement*> Feeds(GstElement* unit, GstElement* pipeline) {
  std::vector<GstElement*> fed;
  IteratorPtr pads(gst_element_iterate_src_pads(unit));
  GValue item = G_VALUE_INIT;
  while (gst_iterator_next(pads.get(), &item) == GST_ITERATOR_OK) {
    if (GstElement* next = Downstream(GST_PAD(g_value_get_object(&item)), pipeline)) fed.push_back(next);
    g_value_reset(&item);
  }
  g_value_unset(&item);
  return fed;
}

}  // namespace

std::vector<ElementRef> FilterGraph::EnumFilters() const {
  GstElement* pipeline = pipeline_.get();
  std::vector<GstElement*> units = Units(pipeline);
  // Names first so the order never depends on the bins' internal lists.
  std::sort(units.begin(), units.end(),
            [](GstElement* a, GstElement* b) { return std::string_view(GST_OBJECT_NAME(a)) < GST_OBJECT_NAME(b); });
  std::map<GstElement*, std::vector<GstElement*>> edges;
  std::map<GstElement*, int> inputs;
  for (GstElement* unit : units) {
    for (GstElement* next : Feeds(unit, pipeline)) {
      edges[unit].push_back(next);
      ++inputs[next];
    }
  }
  std::vector<GstElement*> order;
  std::set<GstElement*> placed;
  // Linked sources before filters that nothing feeds and that feed nothing.
  for (bool linked : {true, false}) {
    for (GstElement* unit : units) {
      if (inputs[unit] != 0 || edges.contains(unit) != linked || placed.contains(unit)) continue;
      placed.insert(unit);
      order.push_back(unit);
      for (std::size_t at = order.size() - 1; at < order.size(); ++at) {
        for (GstElement* next : edges[order[at]]) {
          if (--inputs[next] == 0 && placed.insert(next).second) order.push_back(next);
        }
      }
    }
  }
  for (GstElement* unit : units) {
    if (placed.insert(unit).second) order.push_back(unit);  // only filters in a cycle are left
  }
  std::vector<ElementRef> filters;
  for (GstElement* unit : order) filters.push_back(AddRef(unit));
  return filters;
}

}  // namespace lumivox
