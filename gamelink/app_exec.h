#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/process.h"
#include "app/vek_error.h"

namespace vek {

// The launcher's text for an error number; the same in both interface languages. Numbers
// without a text give the empty text.
std::string_view launcherErrorText(int errorNumber);

// The run-time library's input/output error, German in every interface language.
VekError inOutError(int code);
// Its number for a path that is not there.
inline constexpr int kPathNotFound = 3;

// The process launcher component.
class TAppExec {
  public:
    std::string ExeName;
    std::vector<std::string> ExeParams;
    WindowState windowState = WindowState::Normal;
    bool Wait = false;
    bool ChangeDir = true;

    // Error number -1, name, path and parameters emptied.
    void Clear();

    // Kept without a trailing separator, except for a root such as C:\ or a lone separator.
    void setExePath(std::string_view path);
    const std::string& ExePath() const { return m_exePath; }

    int errorNumber() const { return m_errorNumber; }
    std::string commandLine() const;

    // Starts the process in ExePath (when ChangeDir is set and ExePath is not empty). Throws
    // VekError: the input/output error when ExePath is not a usable folder, the launcher's text
    // when the process cannot be created.
    void Execute();

  private:
    std::string m_exePath;
    int m_errorNumber = -1;
};

}  // namespace vek
