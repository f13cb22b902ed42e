#include "app/wine_registry.h"

#include "app/file_lookup.h"
#include "app/text_names.h"
#include "app/vek_error.h"

namespace vek {

namespace {

constexpr std::string_view kHeader = "WINE REGISTRY Version ";

// Registry file strings escape backslashes and quotes with a backslash.
std::string unescapeRegistryText(std::string_view text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) ++i;
        result += text[i];
    }
    return result;
}

std::string escapeRegistryText(std::string_view text) {
    std::string result;
    for (char c : text) {
        if (c == '\\' || c == '"') result += '\\';
        result += c;
    }
    return result;
}

// A quoted string starting at `text[0] == '"'`: its unescaped text and the rest of the line.
std::optional<std::pair<std::string, std::string_view>> quotedString(std::string_view text) {
    if (text.empty() || text[0] != '"') return std::nullopt;
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] == '\\') {
            ++i;
        } else if (text[i] == '"') {
            return std::make_pair(unescapeRegistryText(text.substr(1, i - 1)), text.substr(i + 1));
        }
    }
    return std::nullopt;
}

// "[Software\\Key] 1600000000": the key, or nothing when the bracket never closes.
std::optional<std::string> sectionKey(std::string_view line) {
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (line[i] == '\\') {
            ++i;
        } else if (line[i] == ']') {
            return unescapeRegistryText(line.substr(1, i - 1));
        }
    }
    return std::nullopt;
}

struct Line {
    std::string_view text;  // without its line break
    std::size_t begin = 0;
    std::size_t end = 0;  // past the line break
    bool hasBreak = false;
};

class LineCursor {
  public:
    explicit LineCursor(std::string_view text) : m_text(text) {}

    bool atEnd() const { return m_next >= m_text.size(); }
    std::size_t number() const { return m_number; }

    Line next() {
        Line line;
        line.begin = m_next;
        std::size_t stop = m_text.find('\n', m_next);
        line.hasBreak = stop != std::string_view::npos;
        if (!line.hasBreak) stop = m_text.size();
        line.end = line.hasBreak ? stop + 1 : stop;
        if (stop > m_next && m_text[stop - 1] == '\r') --stop;
        line.text = m_text.substr(m_next, stop - m_next);
        m_next = line.end;
        ++m_number;
        return line;
    }

  private:
    std::string_view m_text;
    std::size_t m_next = 0;
    std::size_t m_number = 0;
};

class RegistryParser {
  public:
    explicit RegistryParser(std::string_view text) : m_lines(text) {
        m_result.hasHeader = text.starts_with(kHeader);
        const std::size_t firstBreak = text.find('\n');
        if (firstBreak != std::string_view::npos && firstBreak > 0 && text[firstBreak - 1] == '\r')
            m_result.lineBreak = "\r\n";
        m_result.truncated = !text.empty() && !text.ends_with('\n');
    }

    WineRegistryText run() {
        while (!m_lines.atEnd()) readLine(m_lines.next());
        return std::move(m_result);
    }

  private:
    void bad() {
        if (!m_result.badLine) m_result.badLine = m_lines.number();
    }

    WineRegistrySection* section() {
        return m_result.sections.empty() ? nullptr : &m_result.sections.back();
    }

    void readLine(const Line& line) {
        const std::string_view text = line.text;
        if (text.empty() || (m_lines.number() == 1 && text.starts_with(kHeader))) return;
        if (text.starts_with(";")) return;
        if (text.starts_with("[")) {
            const auto key = sectionKey(text);
            if (!key) return bad();
            m_result.sections.push_back({*key, {}, line.end});
            return;
        }
        WineRegistrySection* current = section();
        if (text.starts_with("#")) {
            if (current) current->end = line.end;
            return;
        }
        if (!current) return bad();
        readValue(line, *current);
    }

    void readValue(const Line& line, WineRegistrySection& current) {
        WineRegistryValue value;
        value.begin = line.begin;
        std::string_view rest;
        if (line.text.starts_with("@")) {
            rest = line.text.substr(1);
        } else if (auto name = quotedString(line.text)) {
            value.name = std::move(name->first);
            rest = name->second;
        } else {
            return lineEndsEarly(line);
        }
        if (!rest.starts_with("=")) return bad();
        rest.remove_prefix(1);
        if (rest.starts_with("\"")) {
            const auto data = quotedString(rest);
            if (!data) return lineEndsEarly(line);
            value.text = data->first;
        }
        value.end = line.end;
        // Binary data go on over lines that end in a backslash.
        std::string_view last = line.text;
        while (!rest.starts_with("\"") && last.ends_with("\\")) {
            if (m_lines.atEnd()) {
                m_result.truncated = true;
                return;
            }
            const Line continued = m_lines.next();
            last = continued.text;
            value.end = continued.end;
        }
        current.end = value.end;
        current.values.push_back(std::move(value));
    }

    // A quote that does not close on the last line is where a cut file ends.
    void lineEndsEarly(const Line& line) {
        if (!line.hasBreak) {
            m_result.truncated = true;
        } else {
            bad();
        }
    }

    LineCursor m_lines;
    WineRegistryText m_result;
};

VekError damagedRegistryError(std::size_t line) {
    return VekError(Msg::RegistryDamaged, ErrorDetail::atLine(line));
}

}  // namespace

WineRegistryText parseWineRegistry(std::string_view text) { return RegistryParser(text).run(); }

const WineRegistrySection* findWineRegistrySection(const WineRegistryText& registry,
                                                   std::string_view keyPath) {
    for (const WineRegistrySection& section : registry.sections) {
        if (equalsIgnoringCase(section.key, keyPath)) return &section;
    }
    return nullptr;
}

std::optional<std::string> setWineRegistryString(std::string_view text, std::string_view keyPath,
                                                 std::string_view valueName,
                                                 std::string_view value) {
    const WineRegistryText registry = parseWineRegistry(text);
    if (!registry.hasHeader) throw VekError(Msg::RegistryNotWine);
    if (registry.badLine) throw damagedRegistryError(*registry.badLine);
    if (registry.truncated) throw VekError(Msg::RegistryEndsEarly);
    // A line break in the quotes would end the value's line there and damage the file.
    if (valueName.find_first_of("\r\n") != std::string_view::npos ||
        value.find_first_of("\r\n") != std::string_view::npos)
        throw VekError(Msg::RegistryLineBreak);
    const WineRegistrySection* section = findWineRegistrySection(registry, keyPath);
    if (!section) return std::nullopt;

    // An existing value keeps its name as the file spells it.
    const WineRegistryValue* existing = nullptr;
    for (const WineRegistryValue& candidate : section->values) {
        if (equalsIgnoringCase(candidate.name, valueName)) existing = &candidate;
    }
    std::string line(1, '"');
    line.append(escapeRegistryText(existing ? std::string_view(existing->name) : valueName));
    line.append("\"=\"").append(escapeRegistryText(value)).append(1, '"');
    line.append(registry.lineBreak);
    std::string result(text);
    if (existing) {
        result.replace(existing->begin, existing->end - existing->begin, line);
        return result;
    }
    result.insert(section->end, line);
    return result;
}

}  // namespace vek
