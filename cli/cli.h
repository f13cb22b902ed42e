#pragma once

#include <array>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "app/game_paths.h"

namespace vek::cli {

enum ExitStatus : int { kSuccess = 0, kFailed = 1, kUsageError = 2 };

// A usage error: printed with the verb's usage, exit status 2.
struct UsageError {
    std::string message;
};

// Passes its text on to `target` as escapeControlCharacters shows it, so that nothing the tool
// prints, whatever file name, token or sound name it quotes, can steer the terminal.
class EscapingBuffer : public std::streambuf {
  public:
    explicit EscapingBuffer(std::ostream& target) : m_target(target) {}

  protected:
    int_type overflow(int_type character) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

  private:
    std::ostream& m_target;
    std::string m_pending;  // the first bytes of a character not yet written whole
};

class EscapingStream : public std::ostream {
  public:
    explicit EscapingStream(std::ostream& target) : std::ostream(&m_buffer), m_buffer(target) {}
    ~EscapingStream() override { flush(); }

  private:
    EscapingBuffer m_buffer;
};

// What every verb gets: its arguments (after the verb), the streams, and the game paths as the
// global options and the environment give them.
struct Invocation {
    Invocation(std::vector<std::string> arguments, std::ostream& output, std::ostream& errors,
               GamePathSources sources)
        : args(std::move(arguments)),
          out(output),
          err(errors),
          gamePathSources(std::move(sources)),
          m_lines(output) {}

    std::vector<std::string> args;
    std::ostream& out;  // as it is: a verb may write a file's bytes here
    std::ostream& err;  // escaped
    GamePathSources gamePathSources;

    // Standard output for the lines a person reads, escaped as `err` is.
    std::ostream& lines() { return m_lines; }

    // The game's paths, read on first use (a verb that does not need the game never reads them).
    const GamePaths& gamePaths();

  private:
    std::optional<GamePaths> m_gamePaths;
    EscapingStream m_lines;
};

struct Verb {
    std::string_view name;
    std::string_view summary;  // one line for `vek --help`
    std::string_view usage;    // the full text for `vek VERB --help`
    int (*run)(Invocation&);
};

// Every verb of the tool, in the order `vek --help` lists them.
const std::vector<Verb>& allVerbs();

// Arguments of a verb: positional values and --name value options.
class ArgumentList {
  public:
    // `valueOptions` are the options that take a value; `flags` those that stand alone.
    ArgumentList(const std::vector<std::string>& args, std::vector<std::string_view> valueOptions,
                 std::vector<std::string_view> flags = {});

    const std::vector<std::string>& positional() const { return m_positional; }
    std::optional<std::string> option(std::string_view name) const;
    // Every value of an option given more than once, in order.
    std::vector<std::string> options(std::string_view name) const;
    bool flag(std::string_view name) const;
    // Throws UsageError unless there are between `minimum` and `maximum` positional values.
    void expectPositional(std::size_t minimum, std::size_t maximum) const;

  private:
    std::vector<std::string> m_positional;
    std::vector<std::pair<std::string, std::string>> m_options;
    std::vector<std::string> m_flags;
};

// A verb's own --game-dir, given after the verb, names the game as the global option does.
void takeGameDirOption(Invocation& invocation, const ArgumentList& args);

// The program directory as Vekstudio finds it: beside the program, or the user's copy.
std::filesystem::path programDirectory();

// Whole numbers for command-line values; throws UsageError naming the option.
int parseIntArgument(std::string_view text, std::string_view what);

// Where a verb reports what it wrote to `output`: standard error when the file itself goes to
// standard output ("-"), so that the two never mix.
std::ostream& reportStream(Invocation& invocation, std::string_view output);

// Runs the tool on a whole command line (without the program name).
int runVek(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The process's standard output for std::cout, written in blocks with the system's own call so
// that the reason of the first failed write is kept: the run-time library's buffer forgets it
// once a later flush finds nothing left to write.
class StandardOutputBuffer : public std::streambuf {
  public:
    StandardOutputBuffer() { setp(m_block.data(), m_block.data() + m_block.size()); }
    // The error number of the first failed write, 0 while all went out.
    int failure() const { return m_failure; }

  protected:
    int_type overflow(int_type character) override;
    int sync() override { return drain() ? 0 : -1; }

  private:
    bool drain();

    std::array<char, 1 << 16> m_block{};
    int m_failure = 0;
};

// The end of the process's standard output: what is still buffered is written and the stream
// closed. A failure (a full disk, a closed pipe) turns `status` into a failure with a message
// that says why, so that output that was lost is never reported as success.
int closeStandardOutput(int status, const StandardOutputBuffer& output, std::ostream& err);

}  // namespace vek::cli
