#include "gamelink/link_choice.h"

#include "app/install_layout.h"
#include "app/process.h"
#include "app/text_names.h"
#include "app/vek_error.h"

#ifndef _WIN32
#include <unistd.h>

#include "gamelink/local_socket.h"
#include "gamelink/wine_bridge.h"
#endif

namespace vek {

LinkKind chooseLink(const LinkChoiceInputs& inputs) {
    if (inputs.requested) {
        if (*inputs.requested == "socket") return LinkKind::Socket;
        if (*inputs.requested == "wine") return LinkKind::Wine;
        throw VekError(fill(Msg::LinkKindUnknown, {*inputs.requested}));
    }
    const bool underWine = inputs.gameInWinePrefix || inputs.prefixNamed;
    return underWine && inputs.wineInstalled ? LinkKind::Wine : LinkKind::Socket;
}

#ifdef _WIN32

ChosenLink linkFor(const GamePathSources&) { return {platformLinkTransport(), {}}; }

#else

ChosenLink linkFor(const GamePathSources& sources) {
    const LinkChoiceInputs inputs{sources.link, gamePathsFromWinePrefix(sources),
                                  sources.winePrefixNamed,
                                  findWineLoader(WindowsMachine::X86).has_value()};
    if (chooseLink(inputs) == LinkKind::Socket)
        return {std::make_shared<LocalSocketTransport>(), {}};
    const std::filesystem::path prefix = sources.winePrefix.value_or("");
    return {std::make_shared<WineBridgeTransport>(prefix, installedBridges(executableDirectory())),
            prefix};
}

#endif

}  // namespace vek
