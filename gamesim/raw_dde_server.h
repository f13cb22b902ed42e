#pragma once

#ifdef _WIN32

#include <string>
#include <string_view>

#include "gamelink/link_transport.h"

namespace vek::sim {

// A DDE service of plain window messages, without the management library: a window that
// answers INITIATE by hand, as a game may do. Serves CF_TEXT pokes and requests to the handler
// on the thread that made it.
class RawDdeServer {
  public:
    // Throws VekError when its window cannot be made.
    RawDdeServer(std::string_view service, LinkService& handler);
    ~RawDdeServer();
    RawDdeServer(const RawDdeServer&) = delete;
    RawDdeServer& operator=(const RawDdeServer&) = delete;

    void serve();

  private:
    void* m_window = nullptr;
};

}  // namespace vek::sim

#endif
