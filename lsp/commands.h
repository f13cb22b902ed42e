#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/game_paths.h"
#include "gamelink/link_transport.h"
#include "language/checker.h"
#include "language/source_model.h"
#include "lsp/positions.h"
#include "objects/object_check.h"

namespace vek::lsp {

inline constexpr std::string_view kInjectCommand = "vekstudio.inject";
inline constexpr std::string_view kSendMacroCommand = "vekstudio.sendMacro";
inline constexpr std::string_view kTryInWorldCommand = "vekstudio.tryInWorld";

// What the commands reach beyond the document. Each part may be replaced, so that tests run
// them against a link and a world of their own.
struct CommandSurroundings {
    // The link's transport; empty for the one chosen for the installation, as `vek` chooses it.
    std::shared_ptr<LinkTransport> transport;
    // Where a run in the Vivarium reads sprite files; empty for the installation's image
    // directory where the game is known, else none.
    std::function<std::filesystem::path(const GamePathSources&)> imageDirectory;
    // The wait of an injection between its scripts and its closing macro; empty for a real one.
    std::function<void(std::chrono::milliseconds)> wait;
};

// An open document and the server's state as a command reads them.
struct CommandContext {
    const SourceModel& model;
    CheckedFileKind kind = CheckedFileKind::Source;
    std::string fileName;  // as faults name the file they happened in
    PositionEncoding encoding = PositionEncoding::Utf16;
    std::string_view language;       // kLanguageEnglish or kLanguageGerman
    const GamePathSources& sources;  // the installation the client named, else vek's own
    const CheckOptions& options;
    const CommandSurroundings& surroundings;
};

// What became of a command: the text shown to the user and the answer to the request
// ({"succeeded", "message"} and the command's own details).
struct CommandOutcome {
    bool succeeded = false;
    std::string message;
    Json result;
};

// The commands as the capabilities list them.
std::vector<std::string> commandNames();

// The document a command's arguments name first. A command the server does not know, or
// arguments without a document, are refused as InvalidParams (a RequestError).
std::string commandDocumentUri(std::string_view command, const Json& arguments);

// Runs a command on the document its arguments name. Arguments of the wrong kind and a
// document the command cannot take are refused as RequestErrors; what goes wrong on the way
// (errors in the document, a game that refuses) is an outcome that did not succeed.
CommandOutcome runCommand(std::string_view command, const Json& arguments,
                          const CommandContext& context);

// The faults of a source's run in the Vivarium for the ticks of `vek try`, as diagnostics
// (source "vek try"), each at its line. Nothing for a document that is no source.
Json tryDiagnostics(const CommandContext& context);

}  // namespace vek::lsp
