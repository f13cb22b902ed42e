#include "language/completion.h"

#include "app/ansi_text.h"
#include "language/checker.h"
#include "language/macro_text.h"

namespace vek {

namespace {

bool isSpaceOrTab(char c) { return c == ' ' || c == '\t'; }

}  // namespace

Completion completionAt(std::string_view line, int cursor, const Dictionary& dictionary) {
    const std::string_view before = line.substr(0, byteOffsetOfCharacter(line, cursor));
    const std::size_t commandStart = before.find_last_of(',') + 1;  // npos + 1 is 0
    const std::string_view command = before.substr(commandStart);
    Completion completion;
    if (command.find('[') != std::string_view::npos && command.find(']') == std::string_view::npos)
        return completion;

    std::size_t wordStart = command.size();
    while (wordStart > 0 && !isSpaceOrTab(command[wordStart - 1])) --wordStart;
    std::size_t firstStart = 0;
    while (firstStart < wordStart && isSpaceOrTab(command[firstStart])) ++firstStart;
    const std::string_view earlier = command.substr(firstStart, wordStart - firstStart);

    std::size_t from = wordStart;
    bool commands = earlier.empty();
    // "new: s": the first part of a two-part command and the start of its second.
    const std::string_view first = earlier.substr(0, earlier.find_first_of(" \t"));
    const bool oneWordBefore =
        earlier.find_first_not_of(" \t", first.size()) == std::string_view::npos;
    if (!commands && oneWordBefore && !dictionary.command(lowered(first)) &&
        dictionary.beginsLongerCommand(lowered(first))) {
        commands = true;
        from = firstStart;
    }
    const std::string_view typed = command.substr(from);
    completion.start = characterCount(line.substr(0, commandStart + from));
    completion.prefix = std::string(typed);
    std::string key = lowered(typed);
    if (commands && from == firstStart && !earlier.empty()) {
        // One blank between the parts, however many were typed.
        key = lowered(first) + " " + lowered(command.substr(wordStart));
    }
    completion.words =
        commands ? dictionary.commandsStartingWith(key) : dictionary.valuesStartingWith(key);
    return completion;
}

const Word* wordAt(std::string_view line, int column, const Dictionary& dictionary) {
    for (const Token& token : tokenizeCommands(line, dictionary)) {
        if (column >= token.start && column < token.start + token.length) return token.word;
    }
    return nullptr;
}

}  // namespace vek
