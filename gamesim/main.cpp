// vivarium-sim: a stand-in for the running game. It serves the macro service "Vivarium" over
// the local link and keeps a small world of objects and scripts.

#ifndef _WIN32

#include <csignal>
#include <cstring>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/file_io.h"
#include "app/vek_error.h"
#include "gamelink/link_transport.h"
#include "gamelink/local_socket.h"
#include "gamesim/sim_world.h"

namespace {

constexpr const char* kUsage =
    "usage: vivarium-sim [--socket PATH] [--log FILE] [--seed FILE]... [--idle-timeout MS]\n"
    "  --socket PATH       listen at PATH instead of the service's place in the runtime folder\n"
    "  --log FILE          append every macro received to FILE, one a line\n"
    "  --seed FILE         run each line of FILE as a macro before serving (lines starting\n"
    "                      with '*' and empty lines are skipped)\n"
    "  --idle-timeout MS   drop a client that stays silent this long (default 30000)\n"
    "Stops cleanly on SIGINT or SIGTERM.\n";

struct Options {
    std::optional<std::string> socket;
    std::optional<std::string> log;
    std::vector<std::string> seeds;
    int idleTimeoutMs = 30000;
};

const vek::WakePipe* g_stop = nullptr;

extern "C" void onStopSignal(int) {
    if (g_stop) g_stop->signal();
}

// The game's side of the conversation: every poke runs a macro; a request returns what the
// conversation's last macro wrote.
class SimService : public vek::LinkService {
  public:
    SimService(vek::sim::World& world, std::ofstream* log) : m_world(world), m_log(log) {}

    bool acceptTopic(std::string_view) override {
        m_answer.clear();
        return true;
    }

    bool poke(std::string_view, std::string_view item, std::string_view text) override {
        if (item != vek::kLinkItem) return false;
        if (m_log) *m_log << text << std::endl;
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
    std::string m_answer;
};

std::optional<Options> parseOptions(int argc, char* argv[]) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            std::exit(0);
        }
        if (i + 1 >= argc) return std::nullopt;
        const std::string value = argv[++i];
        if (arg == "--socket") {
            options.socket = value;
        } else if (arg == "--log") {
            options.log = value;
        } else if (arg == "--seed") {
            options.seeds.push_back(value);
        } else if (arg == "--idle-timeout") {
            try {
                options.idleTimeoutMs = std::stoi(value);
            } catch (const std::exception&) {
                return std::nullopt;
            }
        } else {
            return std::nullopt;
        }
    }
    return options;
}

void seedWorld(vek::sim::World& world, const std::string& file) {
    const auto lines = vek::readFileLines(vek::pathFromUtf8(file));
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        if (line.empty() || line.front() == '*') continue;
        const std::string answer = world.run(line);
        if (answer.starts_with("Error:")) {
            throw vek::VekError("The seed file holds a line the world refuses: " + answer,
                                "Die Saatdatei hat eine Zeile, die die Welt ablehnt: " + answer,
                                {file, n + 1, {}});
        }
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    const auto options = parseOptions(argc, argv);
    if (!options) {
        std::cerr << kUsage;
        return 2;
    }
    try {
        vek::sim::World world;
        for (const std::string& seed : options->seeds) seedWorld(world, seed);

        std::optional<std::ofstream> log;
        if (options->log) {
            log.emplace(vek::pathFromUtf8(*options->log), std::ios::app);
            if (!*log) {
                throw vek::VekError("cannot open the log file", "kann die Logdatei nicht oeffnen",
                                    vek::ErrorDetail::ofFile(vek::pathFromUtf8(*options->log)));
            }
        }

        vek::WakePipe stop;
        g_stop = &stop;
        struct sigaction action {};
        action.sa_handler = onStopSignal;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, nullptr);
        sigaction(SIGTERM, &action, nullptr);
        std::signal(SIGPIPE, SIG_IGN);

        const auto path = options->socket ? vek::pathFromUtf8(*options->socket)
                                          : vek::localServicePath(vek::kLinkService);
        vek::LocalSocketServer server(path);
        std::cout << "vivarium-sim: serving " << vek::kLinkService << " at "
                  << vek::pathToUtf8(server.socketPath()) << " (" << world.objects().size()
                  << " objects, " << world.scripts().size() << " scripts)" << std::endl;

        SimService service(world, log ? &*log : nullptr);
        server.serve(service, stop, std::chrono::milliseconds(options->idleTimeoutMs));
        g_stop = nullptr;
        std::cout << "vivarium-sim: stopped" << std::endl;
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "vivarium-sim: " << vek::errorMessage(error, vek::kLanguageEnglish) << "\n";
        return 1;
    }
}

#else

#include <iostream>

// The stand-in serves the local link; on Windows the game itself is reached over DDE.
int main() {
    std::cerr << "vivarium-sim: the stand-in game runs where the link is a local socket, not on "
                 "Windows\n";
    return 1;
}

#endif
