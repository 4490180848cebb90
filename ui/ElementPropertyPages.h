#pragma once
// A filter's property pages: one page with an editor for each property of the element that
// can change in the state the element is in now (booleans, numbers, enumerations, flags and
// strings). OK sets the edited values on the live element; Cancel sets nothing.

#include <gst/gst.h>

class QWidget;

namespace lumivox {

// True when the element has at least one property the pages can edit in its current state;
// an element without one has no property pages.
bool HasPropertyPages(GstElement* element);

// Runs the element's property pages modally over `owner`, titled with the element's name.
// True when they closed with OK. Nothing is shown for an element without property pages.
bool ShowPropertyPages(GstElement* element, QWidget* owner);

}  // namespace lumivox
