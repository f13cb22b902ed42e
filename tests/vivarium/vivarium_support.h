#pragma once

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "objects/classifier.h"
#include "vivarium/try_run.h"

namespace vek::testing {

// Sprite files as the world sees them: a name and how many images of one size it holds.
class FakeSprites {
  public:
    void add(const std::string& name, int images, int width = 20, int height = 10) {
        vivarium::SpriteSizes sizes;
        sizes.sizes.assign(static_cast<std::size_t>(images), {width, height});
        m_files[name] = sizes;
    }
    vivarium::SpriteLookup lookup() const {
        return [this](std::string_view name) -> const vivarium::SpriteSizes* {
            const auto found = m_files.find(name);
            return found == m_files.end() ? nullptr : &found->second;
        };
    }

  private:
    std::map<std::string, vivarium::SpriteSizes, std::less<>> m_files;
};

struct TryResult {
    bool faulted = false;
    std::string out;
    std::vector<std::string> lines;
};

inline TryResult trySource(const std::vector<std::string>& source, const FakeSprites& sprites,
                           const vivarium::TryOptions& options, const std::string& file = "T.COS") {
    std::ostringstream out;
    const std::vector<std::vector<vivarium::SentMacro>> objects = {
        vivarium::injectionOfSource(source, file)};
    TryResult result;
    result.faulted = vivarium::tryObjects(objects, sprites.lookup(), options, out);
    result.out = out.str();
    std::istringstream lines(result.out);
    for (std::string line; std::getline(lines, line);) result.lines.push_back(line);
    return result;
}

inline std::string classLine(int family, int genus, int species) {
    return "setv clas " + std::to_string(Classifier{family, genus, species}.classNumber());
}

// "tick N F G S #K x y pose P", as the trace writes an object after a tick.
inline std::string state(int tick, const std::string& object, int x, int y, int pose) {
    return "tick " + std::to_string(tick) + " " + object + " " + std::to_string(x) + " " +
           std::to_string(y) + " pose " + std::to_string(pose);
}

}  // namespace vek::testing
