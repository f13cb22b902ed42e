#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/game_paths.h"
#include "gamelink/link_transport.h"

namespace vek {

// How the program reaches the game elsewhere than on Windows: the stand-in's local socket, or
// the bridge into the game's Wine prefix.
enum class LinkKind { Socket, Wine };

struct LinkChoiceInputs {
    std::optional<std::string> requested;  // --link or $VEK_LINK: "socket" or "wine"
    bool gameInWinePrefix = false;         // the game's paths came from a prefix
    bool prefixNamed = false;              // --wine-prefix or $WINEPREFIX
    bool wineInstalled = false;
};

// The one place the link is chosen: what was asked for; else the bridge where the game is
// under Wine (or a prefix was named) and Wine is installed; else the socket. A request other
// than "socket" or "wine" throws VekError.
LinkKind chooseLink(const LinkChoiceInputs& inputs);

struct ChosenLink {
    std::shared_ptr<LinkTransport> transport;
    std::optional<std::filesystem::path> winePrefix;  // where the game is started, under Wine
};

// The link to the game that the sources name: DDE on Windows, else as chooseLink says.
ChosenLink linkFor(const GamePathSources& sources);

}  // namespace vek
