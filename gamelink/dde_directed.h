#pragma once

#ifdef _WIN32

#include <memory>

#include "gamelink/link_transport.h"

namespace vek {

// A DDE client of plain window messages for a service it reaches again and again. The first
// conversation finds the service's window by asking every top-level window; later ones open
// with that window alone, and one that is gone or silent is looked for again within the same
// call. Pokes and requests carry CF_TEXT with the time-outs given. Runs on the thread that made
// it, which must not block in anything but these calls.
std::shared_ptr<LinkTransport> directedLinkTransport();

}  // namespace vek

#endif
