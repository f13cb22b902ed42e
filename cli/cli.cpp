#include "cli/cli.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <new>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "app/ansi_text.h"
#include "app/file_io.h"
#include "app/install_layout.h"
#include "app/program_directory.h"
#include "app/scope_exit.h"
#include "app/user_folders.h"
#include "app/vek_error.h"
#include "app/version.h"

namespace vek::cli {

namespace {

constexpr std::string_view kToolUsage =
    "usage: vek [--game-dir DIR] [--wine-prefix DIR] [--floppy DIR] [--link socket|wine]\n"
    "           VERB [ARGS...]\n"
    "       vek VERB --help\n"
    "       vek --version\n\n"
    "The game's directories come from --game-dir, else VEK_GAME_DIR, else the game's key in\n"
    "the Wine prefix (--wine-prefix, else $WINEPREFIX, default ~/.wine). Drive A: is\n"
    "--floppy, else VEK_FLOPPY_DIR, else the prefix's dosdevices/a:.\n"
    "The running game is reached through Wine where it came from a prefix (or one is named)\n"
    "and Wine is installed, else at the stand-in's local socket; --link or VEK_LINK choose.\n"
    "A file name \"-\" means standard input (or output, where a verb writes one file).\n"
    "Exit status: 0 success, 1 refused or failed, 2 wrong usage.\n"
    "\nVerbs:\n";

void printToolHelp(std::ostream& out) {
    out << kToolUsage;
    for (const Verb& verb : allVerbs()) {
        out << "  " << verb.name
            << std::string(std::max<std::size_t>(2, 12 - verb.name.size()), ' ') << verb.summary
            << '\n';
    }
}

const Verb* findVerb(std::string_view name) {
    for (const Verb& verb : allVerbs()) {
        if (verb.name == name) return &verb;
    }
    return nullptr;
}

// The options before the verb: where the game, its Wine prefix and its drive A: are.
std::optional<std::filesystem::path>* globalOption(GamePathSources& sources,
                                                   std::string_view name) {
    if (name == "--game-dir") return &sources.gameDirOption;
    if (name == "--wine-prefix") return &sources.winePrefix;
    if (name == "--floppy") return &sources.floppyOption;
    return nullptr;
}

bool wantsHelp(const std::vector<std::string>& args) {
    return std::any_of(args.begin(), args.end(),
                       [](const std::string& a) { return a == "--help" || a == "-h"; });
}

bool wantsVersion(const std::vector<std::string>& args) {
    return std::find(args.begin(), args.end(), "--version") != args.end();
}

void printVersion(std::ostream& out) { out << "vek " << kVersion << "\n"; }

// The arguments as typed, so that a failure without a file of its own names the verb's files.
std::string commandLine(std::string_view verb, const std::vector<std::string>& args) {
    std::string line = "vek " + std::string(verb);
    for (const std::string& arg : args) line += " " + arg;
    return line;
}

}  // namespace

EscapingBuffer::int_type EscapingBuffer::overflow(int_type character) {
    if (traits_type::eq_int_type(character, traits_type::eof())) return traits_type::not_eof(0);
    const char c = traits_type::to_char_type(character);
    return xsputn(&c, 1) == 1 ? character : traits_type::eof();
}

std::streamsize EscapingBuffer::xsputn(const char* text, std::streamsize count) {
    m_pending.append(text, static_cast<std::size_t>(count));
    // A character written a byte at a time waits for its last byte.
    const std::size_t whole = m_pending.size() - incompleteUtf8Tail(m_pending);
    m_target << escapeControlCharacters(std::string_view(m_pending).substr(0, whole));
    m_pending.erase(0, whole);
    return m_target ? count : 0;
}

int EscapingBuffer::sync() {
    m_target << escapeControlCharacters(m_pending);
    m_pending.clear();
    return m_target.flush() ? 0 : -1;
}

std::filesystem::path programDirectory() {
    return resolveProgramDirectory(installedDataDirectory(executableDirectory()),
                                   userDataDirectory() / "program");
}

const GamePaths& Invocation::gamePaths() {
    if (!m_gamePaths) m_gamePaths = readGamePaths(gamePathSources);
    return *m_gamePaths;
}

ArgumentList::ArgumentList(const std::vector<std::string>& args,
                           std::vector<std::string_view> valueOptions,
                           std::vector<std::string_view> flags) {
    auto isOneOf = [](const std::string& arg, const std::vector<std::string_view>& names) {
        return std::find(names.begin(), names.end(), arg) != names.end();
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (isOneOf(arg, valueOptions)) {
            if (i + 1 >= args.size()) throw UsageError{"option " + arg + " needs a value"};
            m_options.emplace_back(arg, args[++i]);
        } else if (isOneOf(arg, flags)) {
            m_flags.push_back(arg);
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            throw UsageError{"unknown option " + arg};
        } else {
            m_positional.push_back(arg);
        }
    }
}

std::optional<std::string> ArgumentList::option(std::string_view name) const {
    for (auto it = m_options.rbegin(); it != m_options.rend(); ++it) {
        if (it->first == name) return it->second;
    }
    return std::nullopt;
}

std::vector<std::string> ArgumentList::options(std::string_view name) const {
    std::vector<std::string> values;
    for (const auto& [option, value] : m_options) {
        if (option == name) values.push_back(value);
    }
    return values;
}

bool ArgumentList::flag(std::string_view name) const {
    return std::find(m_flags.begin(), m_flags.end(), name) != m_flags.end();
}

void ArgumentList::expectPositional(std::size_t minimum, std::size_t maximum) const {
    if (m_positional.size() < minimum) throw UsageError{"missing arguments"};
    if (m_positional.size() > maximum) throw UsageError{"too many arguments"};
}

void takeGameDirOption(Invocation& invocation, const ArgumentList& args) {
    if (const std::optional<std::string> gameDir = args.option("--game-dir"))
        invocation.gamePathSources.gameDirOption = pathFromUtf8(*gameDir);
}

std::ostream& reportStream(Invocation& invocation, std::string_view output) {
    return output == "-" ? invocation.err : invocation.lines();
}

int parseIntArgument(std::string_view text, std::string_view what) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        throw UsageError{std::string(what) + " must be a whole number, not '" +
                         shortenedToken(text) + "'"};
    }
    return value;
}

int runVek(const std::vector<std::string>& args, std::ostream& out, std::ostream& rawErr) {
    EscapingStream err(rawErr);
    GamePathSources sources = gamePathSourcesFromEnvironment();
    std::size_t next = 0;
    while (next < args.size() && args[next].starts_with("-")) {
        if (args[next] == "--help" || args[next] == "-h") {
            printToolHelp(out);
            return kSuccess;
        }
        if (args[next] == "--version") {
            printVersion(out);
            return kSuccess;
        }
        const std::string& option = args[next];
        std::optional<std::filesystem::path>* target = globalOption(sources, option);
        const bool known = target || option == "--link";
        if (!known || next + 1 >= args.size()) {
            err << "vek: " << (known ? option + " needs a value" : "unknown option " + option)
                << "\n";
            printToolHelp(err);
            return kUsageError;
        }
        const std::string& value = args[next + 1];
        if (option == "--link" && value != "socket" && value != "wine") {
            err << "vek: --link must be socket or wine, not '" << value << "'\n";
            printToolHelp(err);
            return kUsageError;
        }
        if (option == "--link") {
            sources.link = value;
        } else {
            *target = value;
            if (option == "--wine-prefix") sources.winePrefixNamed = true;
        }
        next += 2;
    }
    if (next >= args.size()) {
        printToolHelp(err);
        return kUsageError;
    }
    const Verb* verb = findVerb(args[next]);
    if (!verb) {
        err << "vek: unknown verb '" << shortenedToken(args[next]) << "'\n";
        printToolHelp(err);
        return kUsageError;
    }
    Invocation invocation{
        {args.begin() + static_cast<std::ptrdiff_t>(next) + 1, args.end()}, out, err, sources};
    if (wantsHelp(invocation.args)) {
        out << verb->usage;
        return kSuccess;
    }
    if (wantsVersion(invocation.args)) {
        printVersion(out);
        return kSuccess;
    }
    setWriteNoticeSink([&err](const BilingualText& notice, const std::filesystem::path& file) {
        err << "vek: warning: " << pathToUtf8(file) << ": " << notice.english << "\n";
    });
    const ScopeExit quiet([] { setWriteNoticeSink({}); });
    try {
        return verb->run(invocation);
    } catch (const UsageError& error) {
        err << "vek " << verb->name << ": " << error.message << "\n" << verb->usage;
        return kUsageError;
    } catch (const std::bad_alloc&) {
        err << "Not enough memory for " << commandLine(verb->name, invocation.args) << "\n";
        return kFailed;
    } catch (const std::exception& error) {
        err << commandLineMessage(error) << "\n";
        return kFailed;
    }
}

StandardOutputBuffer::int_type StandardOutputBuffer::overflow(int_type character) {
    if (!drain()) return traits_type::eof();
    if (!traits_type::eq_int_type(character, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(character);
        pbump(1);
    }
    return traits_type::not_eof(character);
}

bool StandardOutputBuffer::drain() {
    const char* next = pbase();
    while (next < pptr() && m_failure == 0) {
        const auto written = ::write(1, next, static_cast<unsigned>(pptr() - next));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) m_failure = written < 0 ? errno : EIO;
        if (written > 0) next += written;
    }
    setp(m_block.data(), m_block.data() + m_block.size());
    return m_failure == 0;
}

int closeStandardOutput(int status, const StandardOutputBuffer& output, std::ostream& err) {
    errno = 0;
    std::cout.flush();
    int error = output.failure();
    // What went through the C library's stream (nothing of ours, but a library may) goes too.
    if (std::fflush(stdout) != 0 && error == 0) error = errno != 0 ? errno : EIO;
    // A standard output closed before the start takes nothing and so lost nothing.
    if (error == EBADF) error = 0;
    if (std::fclose(stdout) != 0 && errno != EBADF && error == 0) error = errno != 0 ? errno : EIO;
    if (error == 0) return status;
    err << "vek: cannot write standard output: " << std::strerror(error) << "\n";
    return kFailed;
}

}  // namespace vek::cli
