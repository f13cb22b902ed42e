#pragma once

#include <functional>
#include <utility>

namespace vek {

// Runs an action when the scope ends, however it ends (return or exception), or earlier and then
// only once, when asked.
class ScopeExit {
  public:
    explicit ScopeExit(std::function<void()> action) : m_action(std::move(action)) {}
    ~ScopeExit() { runNow(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

    void runNow() {
        if (m_action) std::exchange(m_action, {})();
    }

  private:
    std::function<void()> m_action;
};

}  // namespace vek
