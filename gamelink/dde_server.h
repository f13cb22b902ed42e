#pragma once

#ifdef _WIN32

#include <string>
#include <string_view>

#include "gamelink/link_transport.h"

namespace vek {

// A service of the DDE management library: connects on any topic the handler accepts, takes
// pokes and answers requests in plain text (CF_TEXT). One server per process, run on the
// thread that made it.
class DdeLinkServer {
  public:
    // Registers the service name; throws VekError when the library refuses.
    DdeLinkServer(std::string_view service, LinkService& handler);
    ~DdeLinkServer();
    DdeLinkServer(const DdeLinkServer&) = delete;
    DdeLinkServer& operator=(const DdeLinkServer&) = delete;

    // Serves until stop() is called or the process is asked to end (Ctrl+C, closing).
    void serve();
    // Ends serve(); may be called from any thread.
    void stop();

  private:
    unsigned long m_instance = 0;
    void* m_service = nullptr;
    unsigned long m_thread = 0;
};

}  // namespace vek

#endif
