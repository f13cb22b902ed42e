#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace vek::testing {

// Sets an environment variable (or unsets it, for nullptr) until the end of the scope.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) m_saved = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { m_saved ? ::setenv(m_name, m_saved->c_str(), 1) : ::unsetenv(m_name); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* m_name;
    std::optional<std::string> m_saved;
};

}  // namespace vek::testing
