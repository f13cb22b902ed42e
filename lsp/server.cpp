#include "lsp/server.h"

#include <ostream>

#include "app/file_io.h"
#include "app/vek_error.h"
#include "app/version.h"
#include "objects/installation_facts.h"
#include "objects/source_lines.h"
#include "vivarium/world_file.h"

namespace vek::lsp {

namespace {

constexpr int kMessageError = 1;
constexpr int kMessageInfo = 3;
constexpr int kSyncIncremental = 2;
constexpr std::string_view kSettingsSection = "vekstudio";
constexpr std::string_view kGameDirSetting = "gameDir";
constexpr std::string_view kTryOnSaveSetting = "tryOnSave";

// A world file's line: a comment from "*" on, else one macro.
LineReading worldLineReading(std::string_view line, bool) {
    if (line.starts_with('*')) return {LineRole::Comment, 0, false};
    return {LineRole::Commands, 0, false};
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The last part of a URI's path, percent-escapes decoded: the file's name.
std::string fileNameOfUri(std::string_view uri) {
    uri = uri.substr(0, std::min(uri.find_first_of("?#"), uri.size()));
    uri = uri.substr(uri.find_last_of('/') + 1);  // npos + 1 is 0
    std::string name;
    for (std::size_t k = 0; k < uri.size(); ++k) {
        if (uri[k] == '%' && k + 2 < uri.size() && hexDigit(uri[k + 1]) >= 0 &&
            hexDigit(uri[k + 2]) >= 0) {
            name += static_cast<char>(hexDigit(uri[k + 1]) * 16 + hexDigit(uri[k + 2]));
            k += 2;
        } else {
            name += uri[k];
        }
    }
    return name;
}

// How a document is read: by its name as vek check tells files apart; a name without an
// extension (an unsaved buffer) by the client's language id.
CheckedFileKind kindOf(std::string_view uri, std::string_view languageId) {
    const std::string name = fileNameOfUri(uri);
    if (name.find('.') == std::string::npos && (languageId == "caos-c1" || languageId == "cos"))
        return CheckedFileKind::Source;
    const CheckedFileKind kind = checkedFileKindOf(pathFromUtf8(name));
    // An object file is no text; opened as one, it is macros one a line at best.
    return kind == CheckedFileKind::ObjectFile ? CheckedFileKind::MacroLines : kind;
}

// A setting of the "vekstudio" section, whether the client nests it or writes it dotted.
const Json* settingOf(const Json& settings, std::string_view name) {
    if (!settings.is_object()) return nullptr;
    const auto section = settings.find(kSettingsSection);
    if (section != settings.end() && section->is_object()) {
        const auto value = section->find(name);
        if (value != section->end()) return &*value;
    }
    const auto dotted = settings.find(std::string(kSettingsSection) + "." + std::string(name));
    return dotted != settings.end() ? &*dotted : nullptr;
}

bool offersUtf8(const Json& params) {
    const Json* encodings = &params;
    for (const char* key : {"capabilities", "general", "positionEncodings"}) {
        if (!encodings->is_object() || !encodings->contains(key)) return false;
        encodings = &(*encodings)[key];
    }
    if (!encodings->is_array()) return false;
    for (const Json& encoding : *encodings) {
        if (encoding == "utf-8") return true;
    }
    return false;
}

Json capabilitiesOf(PositionEncoding encoding) {
    return {
        {"positionEncoding", encoding == PositionEncoding::Utf8 ? "utf-8" : "utf-16"},
        {"textDocumentSync",
         {{"openClose", true}, {"change", kSyncIncremental}, {"save", {{"includeText", false}}}}},
        {"completionProvider", {{"resolveProvider", false}}},
        {"signatureHelpProvider", {{"triggerCharacters", {" "}}}},
        {"hoverProvider", true},
        {"documentSymbolProvider", true},
        {"definitionProvider", true},
        {"referencesProvider", true},
        {"renameProvider", {{"prepareProvider", true}}},
        {"foldingRangeProvider", true},
        {"documentFormattingProvider", true},
        {"documentRangeFormattingProvider", true},
        {"codeActionProvider", {{"codeActionKinds", {"quickfix"}}}},
        {"inlayHintProvider", true},
        {"semanticTokensProvider",
         {{"legend", semanticTokensLegend()}, {"full", {{"delta", true}}}}},
        {"executeCommandProvider", {{"commands", commandNames()}}},
    };
}

std::string dumped(const Json& message) {
    // Text that is no UTF-8 (it cannot come from the client, but a file name might) goes out
    // replaced rather than failing the answer.
    return message.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace

std::string framed(std::string_view body) {
    return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + std::string(body);
}

Server::Server(GamePathSources sources, std::ostream& log, CommandSurroundings surroundings)
    : m_sources(std::move(sources)),
      m_log(log),
      m_options(objectCheckOptions()),
      m_surroundings(std::move(surroundings)) {}

std::vector<std::string> Server::handle(std::string_view body) {
    m_out.clear();
    Json message;
    try {
        message = Json::parse(body);
    } catch (const Json::exception& error) {
        sendError(nullptr, kParseError, error.what());
        return std::move(m_out);
    }
    const Json* id = message.is_object() && message.contains("id") ? &message["id"] : nullptr;
    const bool validId = !id || id->is_string() || id->is_number_integer();
    if (!message.is_object() || !message.contains("method") || !message["method"].is_string() ||
        !validId) {
        // An answer to something the server never asked: nothing to do.
        if (message.is_object() && !message.contains("method") && message.contains("id")) return {};
        sendError(validId && id ? *id : Json(nullptr), kInvalidRequest,
                  "not a JSON-RPC request or notification");
        return std::move(m_out);
    }
    const Json params = message.value("params", Json::object());
    dispatch(message["method"].get<std::string>(), params, id);
    return std::move(m_out);
}

std::vector<std::string> Server::refused(ReadMessage::Kind kind) {
    m_out.clear();
    switch (kind) {
        case ReadMessage::Kind::BadHeader:
            sendError(nullptr, kParseError, "a message header without a valid Content-Length");
            break;
        case ReadMessage::Kind::TooLarge:
            sendError(nullptr, kInvalidRequest,
                      "a message over " + std::to_string(kMaxMessageBytes) + " bytes, not read");
            break;
        case ReadMessage::Kind::HeaderTooLong:
            sendError(nullptr, kParseError, "a message header without an end");
            m_log << "vek lsp: the stream lost its framing; ending\n";
            break;
        case ReadMessage::Kind::Body:
            break;
    }
    return std::move(m_out);
}

void Server::dispatch(const std::string& method, const Json& params, const Json* id) {
    if (method == "exit") {
        m_finished = true;
        return;
    }
    if (!id) {
        if (m_initialized && !m_shutDown) {
            try {
                notify(method, params);
            } catch (const RequestError& error) {
                m_log << "vek lsp: " << method << ": " << error.message << '\n';
            } catch (const std::exception& error) {
                m_log << "vek lsp: " << method << ": " << error.what() << '\n';
            }
        }
        return;
    }
    if (!m_initialized && method != "initialize") {
        return sendError(*id, kServerNotInitialized, "initialize comes first");
    }
    if (m_shutDown) return sendError(*id, kInvalidRequest, "the server was shut down");
    try {
        send({{"jsonrpc", "2.0"}, {"id", *id}, {"result", answer(method, params)}});
    } catch (const RequestError& error) {
        sendError(*id, error.code, error.message);
    } catch (const Json::exception& error) {
        sendError(*id, kInvalidParams, error.what());
    } catch (const std::exception& error) {
        sendError(*id, kInternalError, errorMessage(error, kLanguageEnglish));
    }
}

Json Server::answer(const std::string& method, const Json& params) {
    if (method == "initialize") {
        if (m_initialized) throw RequestError{kInvalidRequest, "initialize came twice"};
        return initialize(params);
    }
    if (method == "shutdown") {
        m_shutDown = true;
        return nullptr;
    }
    const auto uriOf = [&params] { return params.at("textDocument").at("uri").get<std::string>(); };
    if (method == "textDocument/completion") return completion(contextOf(document(params)), params);
    if (method == "textDocument/signatureHelp")
        return signatureHelp(contextOf(document(params)), params);
    if (method == "textDocument/hover") return hover(contextOf(document(params)), params);
    if (method == "textDocument/documentSymbol")
        return documentSymbols(contextOf(document(params)));
    if (method == "textDocument/definition")
        return definition(contextOf(document(params)), uriOf(), params);
    if (method == "textDocument/references")
        return references(contextOf(document(params)), uriOf(), params);
    if (method == "textDocument/prepareRename")
        return prepareRename(contextOf(document(params)), params);
    if (method == "textDocument/rename")
        return rename(contextOf(document(params)), uriOf(), params);
    if (method == "textDocument/foldingRange") return foldingRanges(contextOf(document(params)));
    if (method == "textDocument/formatting")
        return formatting(contextOf(document(params)), nullptr);
    if (method == "textDocument/rangeFormatting") {
        const Json& range = params.at("range");
        return formatting(contextOf(document(params)), &range);
    }
    if (method == "textDocument/codeAction")
        return codeActions(contextOf(document(params)), uriOf(), params);
    if (method == "textDocument/inlayHint")
        return inlayHints(contextOf(document(params)), params, m_classNames);
    if (method == "textDocument/semanticTokens/full")
        return m_semanticTokens.full(contextOf(document(params)), uriOf());
    if (method == "textDocument/semanticTokens/full/delta")
        return m_semanticTokens.delta(contextOf(document(params)), uriOf(), params);
    if (method == "workspace/executeCommand") return executeCommand(params);
    throw RequestError{kMethodNotFound, "no method " + method};
}

Json Server::initialize(const Json& params) {
    m_encoding = offersUtf8(params) ? PositionEncoding::Utf8 : PositionEncoding::Utf16;
    const Json locale = params.value("locale", Json());
    m_language = locale.is_string() && locale.get<std::string>().starts_with("de")
                     ? kLanguageGerman
                     : kLanguageEnglish;
    if (const auto options = params.find("initializationOptions"); options != params.end()) {
        if (const Json* gameDir = settingOf(*options, kGameDirSetting);
            gameDir && gameDir->is_string())
            m_gameDir = gameDir->get<std::string>();
        readTryOnSave(*options);
    }
    m_initialized = true;
    readInstallation();
    return {{"capabilities", capabilitiesOf(m_encoding)},
            {"serverInfo", {{"name", "vek"}, {"version", kVersion}}}};
}

void Server::notify(const std::string& method, const Json& params) {
    if (method == "textDocument/didOpen") return open(params);
    if (method == "textDocument/didChange") return change(params);
    if (method == "textDocument/didClose") {
        m_documents.erase(params.at("textDocument").at("uri").get<std::string>());
        m_semanticTokens.forget(params.at("textDocument").at("uri").get<std::string>());
        return;
    }
    if (method == "textDocument/didSave") {
        const std::string uri = params.at("textDocument").at("uri").get<std::string>();
        if (const auto found = m_documents.find(uri); found != m_documents.end())
            save(uri, found->second);
        return;
    }
    if (method == "workspace/didChangeConfiguration")
        return configure(params.value("settings", Json()));
    // initialized, $/cancelRequest and every other notification need nothing.
}

void Server::open(const Json& params) {
    const Json& item = params.at("textDocument");
    const std::string uri = item.at("uri").get<std::string>();
    Document document;
    document.kind = kindOf(uri, item.value("languageId", std::string()));
    document.model = modelFor(document.kind);
    document.model->reset(item.at("text").get<std::string>(), item.value("version", 0));
    publish(uri, m_documents.insert_or_assign(uri, std::move(document)).first->second);
}

void Server::change(const Json& params) {
    Document& changed = document(params);
    changed.runFaults = Json::array();
    const int version = params.at("textDocument").value("version", changed.model->version() + 1);
    for (const Json& edit : params.at("contentChanges")) {
        const std::string text = edit.at("text").get<std::string>();
        const auto range = edit.find("range");
        if (range == edit.end()) {
            changed.model->reset(text, version);
            continue;
        }
        const std::vector<std::string>& lines = changed.model->lines();
        const LinePlace from = placeOf(lines, range->at("start"), m_encoding);
        const LinePlace to = placeOf(lines, range->at("end"), m_encoding);
        changed.model->replace(from, to, text, version);
    }
    publish(params.at("textDocument").at("uri").get<std::string>(), changed);
}

void Server::configure(const Json& settings) {
    readTryOnSave(settings);
    const Json* gameDir = settingOf(settings, kGameDirSetting);
    if (!gameDir) return;
    if (gameDir->is_string() && !gameDir->get<std::string>().empty()) {
        m_gameDir = gameDir->get<std::string>();
    } else {
        m_gameDir.reset();
    }
    readInstallation();
    for (auto& [uri, document] : m_documents) {
        const std::string text = document.model->text();
        const int version = document.model->version();
        document.model = modelFor(document.kind);
        document.model->reset(text, version);
        publish(uri, document);
    }
}

void Server::readTryOnSave(const Json& settings) {
    if (const Json* tryOnSave = settingOf(settings, kTryOnSaveSetting))
        m_tryOnSave = tryOnSave->is_boolean() && tryOnSave->get<bool>();
}

GamePathSources Server::installationSources() const {
    GamePathSources sources = m_sources;
    if (m_gameDir) sources.gameDirOption = pathFromUtf8(*m_gameDir);
    return sources;
}

void Server::readInstallation() {
    const GamePathSources sources = installationSources();
    m_options.installation.reset();
    if (!gameNamed(sources)) return;
    try {
        m_options.installation =
            std::make_shared<InstallationFacts>(readInstallationFacts(readGamePaths(sources)));
    } catch (const std::exception& error) {
        showMessage(kMessageError, errorMessage(error, m_language));
    }
}

std::unique_ptr<SourceModel> Server::modelFor(CheckedFileKind kind) const {
    const CheckOptions options = m_options;
    switch (kind) {
        case CheckedFileKind::Source:
            return std::make_unique<SourceModel>(std::make_unique<SourceCheck>(options),
                                                 sourceLineReading);
        case CheckedFileKind::MacroFile:
            return std::make_unique<SourceModel>(
                std::make_unique<WholeLinesCheck>([options](std::span<const std::string> lines) {
                    return checkMacroFileLines(lines, options);
                }),
                entryLineReading);
        case CheckedFileKind::ObjectFile:
        case CheckedFileKind::MacroLines:
            break;
    }
    return std::make_unique<SourceModel>(
        std::make_unique<WholeLinesCheck>([options](std::span<const std::string> lines) {
            std::string text;
            for (const std::string& line : lines) text.append(line).push_back('\n');
            return vivarium::checkWorldFileMacros(text, options);
        }),
        worldLineReading);
}

Server::Document& Server::document(const Json& params) {
    const std::string uri = params.at("textDocument").at("uri").get<std::string>();
    const auto found = m_documents.find(uri);
    if (found == m_documents.end()) throw RequestError{kInvalidParams, "no open document " + uri};
    return found->second;
}

FeatureContext Server::contextOf(const Document& document) const {
    return {*document.model, document.kind == CheckedFileKind::Source, m_encoding, m_language,
            m_options.events};
}

CommandContext Server::commandContextOf(const std::string& uri, const Document& document,
                                        const GamePathSources& sources) const {
    return {*document.model, document.kind, fileNameOfUri(uri), m_encoding,
            m_language,      sources,       m_options,          m_surroundings};
}

Json Server::executeCommand(const Json& params) {
    const std::string command = params.at("command").get<std::string>();
    const Json arguments = params.value("arguments", Json::array());
    const std::string uri = commandDocumentUri(command, arguments);
    const auto found = m_documents.find(uri);
    if (found == m_documents.end()) throw RequestError{kInvalidParams, "no open document " + uri};
    const GamePathSources sources = installationSources();
    const CommandOutcome outcome =
        runCommand(command, arguments, commandContextOf(uri, found->second, sources));
    showMessage(outcome.succeeded ? kMessageInfo : kMessageError, outcome.message);
    return outcome.result;
}

void Server::save(const std::string& uri, Document& document) {
    document.runFaults = Json::array();
    if (m_tryOnSave) {
        const GamePathSources sources = installationSources();
        try {
            document.runFaults = tryDiagnostics(commandContextOf(uri, document, sources));
        } catch (const std::exception& error) {
            showMessage(kMessageError, errorMessage(error, m_language));
        }
    }
    publish(uri, document);
}

void Server::publish(const std::string& uri, const Document& document) {
    Json diagnostics = diagnosticsOf(contextOf(document));
    for (const Json& fault : document.runFaults) diagnostics.push_back(fault);
    send({{"jsonrpc", "2.0"},
          {"method", "textDocument/publishDiagnostics"},
          {"params",
           {{"uri", uri}, {"version", document.model->version()}, {"diagnostics", diagnostics}}}});
}

void Server::send(const Json& message) { m_out.push_back(dumped(message)); }

void Server::sendError(const Json& id, int code, const std::string& message) {
    send({{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}});
}

void Server::showMessage(int type, const std::string& text) {
    m_log << "vek lsp: " << text << '\n';
    send({{"jsonrpc", "2.0"},
          {"method", "window/showMessage"},
          {"params", {{"type", type}, {"message", text}}}});
}

std::string Session::feed(std::string_view bytes) {
    std::string out;
    m_reader.feed(bytes);
    while (!finished()) {
        std::optional<ReadMessage> message = m_reader.next();
        if (!message) break;
        const std::vector<std::string> answers = message->kind == ReadMessage::Kind::Body
                                                     ? m_server.handle(message->body)
                                                     : m_server.refused(message->kind);
        for (const std::string& answer : answers) out += framed(answer);
    }
    return out;
}

}  // namespace vek::lsp
