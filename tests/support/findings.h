#pragma once

#include <string>
#include <vector>

#include "language/checker.h"

namespace vek::testing {

// Findings as lines "line:column severity text", to compare with "" and to show on a failure.
inline std::string describeFindings(const std::vector<Finding>& findings) {
    std::string text;
    for (const Finding& f : findings) {
        text += std::to_string(f.position.line) + ":" + std::to_string(f.position.column) + " " +
                std::string(severityName(f.severity)) + " " + f.text.english + "\n";
    }
    return text;
}

}  // namespace vek::testing
