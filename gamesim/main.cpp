// vivarium-sim: a stand-in for the running game. It serves the macro service "Vivarium" (over
// DDE on Windows, over the local link elsewhere) and runs the stand-in world of vivarium/ at the
// game's tick rate while it serves.

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/file_io.h"
#include "app/macro_outcome.h"
#include "app/text_names.h"
#include "app/vek_error.h"
#include "demo/stand_in_images.h"
#include "gamelink/link_transport.h"
#include "gamesim/sim_world.h"
#include "vivarium/installation.h"
#include "vivarium/trace.h"
#include "vivarium/world_file.h"

#ifdef _WIN32
#include <process.h>

#include "gamelink/dde_server.h"
#include "gamesim/raw_dde_server.h"
#else
#include <unistd.h>

#include <csignal>

#include "gamelink/local_socket.h"
#endif

namespace {

constexpr const char* kUsage =
    "usage: vivarium-sim [--socket PATH] [--log FILE] [--seed FILE]... [--game-dir DIR]\n"
    "                    [--idle-timeout MS] [--start-delay MS] [--started FILE]\n"
    "                    [--never-answer] [--raw-dde] [-Embedding]\n"
    "  --socket PATH       listen at PATH instead of the service's place in the runtime folder\n"
    "                      (not on Windows, where the service is a DDE service)\n"
    "  --log FILE          append every macro received to FILE, one a line, as its bytes\n"
    "  --seed FILE         run each line of FILE as a macro before serving (lines starting\n"
    "                      with '*' and empty lines are skipped): a world file, as the\n"
    "                      Vivarium window saves one\n"
    "  --game-dir DIR      the installation whose sprite files the objects show (it says at\n"
    "                      start which it takes); without it, VEK_GAME_DIR, else the game's\n"
    "                      registry key (on Linux in the Wine prefix: $WINEPREFIX or ~/.wine),\n"
    "                      else the demo installation\n"
    "  --idle-timeout MS   drop a client that stays silent this long (default 30000)\n"
    "  --start-delay MS    wait this long before serving, as a game that is slow to start\n"
    "  --started FILE      append the process number to FILE at each start\n"
    "  --never-answer      take every macro and never answer it, as a game that hangs\n"
    "  --raw-dde           serve DDE from a window of its own instead of the DDE management\n"
    "                      library (Windows only)\n"
    "  -Embedding          the game's start flag; accepted and ignored\n"
    "The world runs at 10 ticks a second while it serves; its scripts' faults are written to\n"
    "the standard error output as they happen.\n"
    "VIVARIUM_SIM_OPTIONS, when set, holds further options, separated by blanks, read first.\n"
    "Stops cleanly on SIGINT or SIGTERM (Ctrl+C on Windows).\n";

struct Options {
    std::optional<std::string> socket;
    std::optional<std::string> log;
    std::vector<std::string> seeds;
    std::optional<std::string> gameDir;
    int idleTimeoutMs = 30000;
    int startDelayMs = 0;
    std::optional<std::string> started;
    bool neverAnswer = false;
    bool rawDde = false;
};

// The game's side of the conversation: every poke runs a macro; a request returns what the
// conversation's last macro wrote.
class SimService : public vek::LinkService {
  public:
    SimService(vek::sim::World& world, std::ofstream* log, bool neverAnswer)
        : m_world(world), m_log(log), m_neverAnswer(neverAnswer) {}

    bool acceptTopic(std::string_view) override {
        m_answer.clear();
        return true;
    }

    bool poke(std::string_view, std::string_view item, std::string_view text) override {
        if (item != vek::kLinkItem) return false;
        if (m_log) *m_log << text << '\n' << std::flush;
        while (m_neverAnswer) std::this_thread::sleep_for(std::chrono::hours(1));
        m_answer = m_world.run(text);
        return true;
    }

    std::optional<std::string> request(std::string_view, std::string_view item) override {
        if (item != vek::kLinkItem) return std::nullopt;
        return m_answer;
    }

  private:
    vek::sim::World& m_world;
    std::ofstream* m_log;
    bool m_neverAnswer;
    std::string m_answer;
};

int processId() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(::getpid());
#endif
}

// The options of the environment first, then those of the command line. A game started as
// the game is (with "-Embedding" only) takes its options from the environment.
std::vector<std::string> argumentsOf(int argc, char* argv[]) {
    std::vector<std::string> arguments;
    if (const char* extra = std::getenv("VIVARIUM_SIM_OPTIONS"); extra && *extra) {
        std::istringstream words(extra);
        for (std::string word; words >> word;) arguments.push_back(word);
    }
    arguments.insert(arguments.end(), argv + 1, argv + argc);
    return arguments;
}

std::optional<int> wholeNumber(const std::string& text) {
    try {
        return std::stoi(text);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<Options> parseOptions(const std::vector<std::string>& arguments) {
    Options options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            std::exit(0);
        }
        if (arg == "-Embedding") continue;
        if (arg == "--never-answer") {
            options.neverAnswer = true;
            continue;
        }
        if (arg == "--raw-dde") {
            options.rawDde = true;
            continue;
        }
        if (i + 1 >= arguments.size()) return std::nullopt;
        const std::string& value = arguments[++i];
        std::optional<int> number = 0;
        if (arg == "--socket") {
            options.socket = value;
        } else if (arg == "--log") {
            options.log = value;
        } else if (arg == "--seed") {
            options.seeds.push_back(value);
        } else if (arg == "--game-dir") {
            options.gameDir = value;
        } else if (arg == "--started") {
            options.started = value;
        } else if (arg == "--idle-timeout") {
            number = wholeNumber(value);
            options.idleTimeoutMs = number.value_or(0);
        } else if (arg == "--start-delay") {
            number = wholeNumber(value);
            options.startDelayMs = number.value_or(0);
        } else {
            return std::nullopt;
        }
        if (!number) return std::nullopt;
    }
    return options;
}

// A file opened to append bytes as they are (no line-end translation on Windows).
std::ofstream appendTo(const std::string& file, const vek::Bilingual& cannotOpen) {
    std::ofstream out(vek::pathFromUtf8(file), std::ios::app | std::ios::binary);
    if (!out) throw vek::VekError(cannotOpen, vek::ErrorDetail::ofFile(vek::pathFromUtf8(file)));
    return out;
}

// The installation's sprite files and map, as vek try finds them; which it is goes to the output.
vek::demo::StandInImages standInImages(const Options& options) {
    vek::GamePathSources sources = vek::gamePathSourcesFromEnvironment();
    if (options.gameDir) sources.gameDirOption = vek::pathFromUtf8(*options.gameDir);
    vek::demo::StandInImages images = vek::demo::standInImages(sources);
    std::cout << "vivarium-sim: sprite files from " << vek::pathToUtf8(images.directory) << " ("
              << images.source << ")" << std::endl;
    return images;
}

void seedWorld(vek::sim::World& world, const std::string& file) {
    vek::vivarium::runWorldFile(
        vek::pathFromUtf8(file),
        [&world](const vek::MacroText& macro) -> std::optional<vek::BilingualText> {
            const std::string answer = world.run(macro.text());
            if (!answer.starts_with(vek::MacroOutcome::kGameErrorPrefix)) return std::nullopt;
            // The stand-in game speaks English throughout, as the game answers.
            return vek::untranslated(answer.substr(vek::MacroOutcome::kGameErrorPrefix.size()));
        });
}

#ifdef _WIN32

template <typename Server>
void serveWith(SimService& service, const vek::sim::World& world, const char* how) {
    Server server(vek::kLinkService, service);
    std::cout << "vivarium-sim: serving " << vek::kLinkService << " over " << how << " ("
              << world.objectCount() << " objects, " << world.scriptCount() << " scripts)"
              << std::endl;
    server.serve();
}

void serve(const Options& options, SimService& service, const vek::sim::World& world) {
    if (options.rawDde) return serveWith<vek::sim::RawDdeServer>(service, world, "raw DDE");
    serveWith<vek::DdeLinkServer>(service, world, "DDE");
}

#else

const vek::WakePipe* g_stop = nullptr;

extern "C" void onStopSignal(int) {
    if (g_stop) g_stop->signal();
}

void serve(const Options& options, SimService& service, const vek::sim::World& world) {
    vek::WakePipe stop;
    g_stop = &stop;
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    const auto path = options.socket ? vek::pathFromUtf8(*options.socket)
                                     : vek::localServicePath(vek::kLinkService);
    vek::LocalSocketServer server(path);
    std::cout << "vivarium-sim: serving " << vek::kLinkService << " at "
              << vek::escapeControlCharacters(vek::pathToUtf8(server.socketPath())) << " ("
              << world.objectCount() << " objects, " << world.scriptCount() << " scripts)"
              << std::endl;
    server.serve(service, stop, std::chrono::milliseconds(options.idleTimeoutMs));
    g_stop = nullptr;
}

#endif

}  // namespace

int main(int argc, char* argv[]) {
    const auto options = parseOptions(argumentsOf(argc, argv));
    if (!options) {
        std::cerr << kUsage;
        return 2;
    }
    try {
        if (options->started)
            appendTo(*options->started, vek::Msg::StartFileNotOpened) << processId() << "\n";
        std::this_thread::sleep_for(std::chrono::milliseconds(options->startDelayMs));
        vek::vivarium::StandInInstallation installation(standInImages(*options).directory);
        vek::sim::World world(installation.makeWorld(), [](const vek::vivarium::Happening& fault) {
            std::cerr << "vivarium-sim: "
                      << vek::escapeControlCharacters(vek::vivarium::happeningLine(fault),
                                                      vek::TextEncoding::Windows1252)
                      << std::endl;
        });
        for (const std::string& seed : options->seeds) seedWorld(world, seed);

        std::optional<std::ofstream> log;
        if (options->log) log = appendTo(*options->log, vek::Msg::LogFileNotOpened);
        SimService service(world, log ? &*log : nullptr, options->neverAnswer);
        const vek::sim::WorldClock clock(world, vek::sim::kGameTick);
        serve(*options, service, world);
        std::cout << "vivarium-sim: stopped" << std::endl;
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "vivarium-sim: " << vek::commandLineMessage(error) << "\n";
        return 1;
    }
}
