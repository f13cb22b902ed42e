#pragma once

#include <string>
#include <vector>

namespace vek::bench {

// A source of about `lineCount` lines: scripts of eleven lines with nested blocks, comments and
// byte strings, as an object with many scripts is written. It checks clean.
inline std::vector<std::string> scriptSource(std::size_t lineCount) {
    std::vector<std::string> lines = {"* a large object", "name Large", "quantity 7", ""};
    for (std::size_t script = 0; lines.size() + 11 <= lineCount; ++script) {
        const std::string n = std::to_string(script % 200);
        lines.push_back("* script " + n);
        lines.push_back("scrp 2 5 3 " + std::to_string(script % 73));
        lines.push_back("  doif obv0 eq " + n + " and touc ownr pntr ne 0");
        lines.push_back("    anim [0123R]");
        lines.push_back("    stim writ from 0 255 0 0 11 30 0 0 0 0 0 0");
        lines.push_back("  else");
        lines.push_back("    reps 3");
        lines.push_back("      mvby 0 -" + n);
        lines.push_back("    repe");
        lines.push_back("  endi");
        lines.push_back("endm");
    }
    lines.resize(lineCount, "* padding");
    return lines;
}

// A source of `lineCount` lines that compiles: a header, then one hundred scripts (as many as an
// object file holds) of nested blocks, each line indented as a person would write it.
inline std::vector<std::string> compilableSource(std::size_t lineCount) {
    constexpr std::size_t kScripts = 100;
    std::vector<std::string> lines = {"* a large object", "name Large", "quantity 7"};
    const std::size_t perScript = (lineCount - lines.size()) / kScripts;
    for (std::size_t script = 0; script < kScripts; ++script) {
        lines.push_back("scrp 2 5 3 " + std::to_string(script % 73));
        for (std::size_t k = 0; k + 2 < perScript; k += 4) {
            lines.push_back("  doif obv0 eq " + std::to_string(k));
            lines.push_back("    setv obv1 " + std::to_string(k * 3));
            lines.push_back("  else");
            lines.push_back("  endi");
        }
        lines.push_back("endm");
    }
    while (lines.size() < lineCount) lines.push_back("* padding");
    return lines;
}

}  // namespace vek::bench
