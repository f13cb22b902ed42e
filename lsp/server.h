#pragma once

#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/game_paths.h"
#include "language/checker.h"
#include "language/source_model.h"
#include "lsp/annotations.h"
#include "lsp/commands.h"
#include "lsp/features.h"
#include "lsp/message_reader.h"
#include "lsp/positions.h"
#include "objects/object_check.h"

namespace vek::lsp {

// One message as the stream carries it: its header and its body.
std::string framed(std::string_view body);

// The language server's state and its answers: message bodies in, message bodies out, so that a
// test or a fuzzer drives it without a process.
class Server {
  public:
    // `sources`: where the game's installation comes from when the client names none;
    // `log`: where the server says what went wrong (never the protocol's stream).
    Server(GamePathSources sources, std::ostream& log, CommandSurroundings surroundings = {});
    // Where the inlay hints take the names of classes from; none: classes go unnamed.
    void setClassNames(ClassNameLookup names) { m_classNames = std::move(names); }

    // Handles one message body; returns the bodies to send, answers and notifications.
    std::vector<std::string> handle(std::string_view body);
    // The answer to bytes the reader refused.
    std::vector<std::string> refused(ReadMessage::Kind kind);

    // Whether the client said exit; the process's status then (0 only after shutdown).
    bool finished() const { return m_finished; }
    int exitStatus() const { return m_shutDown ? 0 : 1; }

  private:
    struct Document {
        CheckedFileKind kind = CheckedFileKind::Source;
        std::unique_ptr<SourceModel> model;
        Json runFaults = Json::array();  // of the last save's run in the Vivarium, until an edit
    };

    void dispatch(const std::string& method, const Json& params, const Json* id);
    Json answer(const std::string& method, const Json& params);
    Json initialize(const Json& params);
    void notify(const std::string& method, const Json& params);
    void open(const Json& params);
    void change(const Json& params);
    void configure(const Json& settings);
    void readTryOnSave(const Json& settings);  // vekstudio.tryOnSave, where the settings hold it
    // Reads the installation the settings name again and checks every document against it.
    void readInstallation();
    std::unique_ptr<SourceModel> modelFor(CheckedFileKind kind) const;
    Document& document(const Json& params);
    FeatureContext contextOf(const Document& document) const;
    GamePathSources installationSources() const;
    // `sources` must outlive the context.
    CommandContext commandContextOf(const std::string& uri, const Document& document,
                                    const GamePathSources& sources) const;
    Json executeCommand(const Json& params);
    void save(const std::string& uri, Document& document);
    void publish(const std::string& uri, const Document& document);
    void send(const Json& message);
    void sendError(const Json& id, int code, const std::string& message);
    void showMessage(int type, const std::string& text);

    GamePathSources m_sources;
    std::ostream& m_log;
    std::vector<std::string> m_out;
    bool m_initialized = false;
    bool m_shutDown = false;
    bool m_finished = false;
    PositionEncoding m_encoding = PositionEncoding::Utf16;
    std::string_view m_language = kLanguageEnglish;
    std::optional<std::string> m_gameDir;  // vekstudio.gameDir
    bool m_tryOnSave = false;              // vekstudio.tryOnSave
    CheckOptions m_options;
    CommandSurroundings m_surroundings;
    std::map<std::string, Document> m_documents;
    ClassNameLookup m_classNames;
    SemanticTokensMemory m_semanticTokens;
};

// A server behind the byte stream: bytes in, bytes to write out.
class Session {
  public:
    Session(GamePathSources sources, std::ostream& log, CommandSurroundings surroundings = {})
        : m_server(std::move(sources), log, std::move(surroundings)) {}
    // Takes bytes read from the client and returns what to write back.
    std::string feed(std::string_view bytes);
    // Whether nothing more is to be read: the client said exit or the stream broke.
    bool finished() const { return m_server.finished() || m_reader.broken(); }
    int exitStatus() const { return m_server.finished() ? m_server.exitStatus() : 1; }
    Server& server() { return m_server; }

  private:
    MessageReader m_reader;
    Server m_server;
};

}  // namespace vek::lsp
