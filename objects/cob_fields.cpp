#include "objects/cob_fields.h"

#include <limits>

namespace vek {

std::int32_t parseWholeNumber(std::string_view text) {
    std::size_t at = text.find_first_not_of(' ');
    if (at == std::string_view::npos) throw invalidIntegerError(text);
    bool negative = false;
    if (text[at] == '+' || text[at] == '-') {
        negative = text[at] == '-';
        ++at;
    }
    if (at == text.size()) throw invalidIntegerError(text);
    std::int64_t magnitude = 0;
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c < '0' || c > '9') throw invalidIntegerError(text);
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > kLimit) throw invalidIntegerError(text);
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max()) throw invalidIntegerError(text);
    return static_cast<std::int32_t>(value);
}

CobFields fieldsOf(const CobData& cob) {
    auto number = [](auto value) { return std::to_string(value); };
    return {number(cob.items),
            number(cob.quantity),
            number(cob.scripts.size()),
            number(cob.imports.size()),
            number(cob.pictureWidth),
            number(cob.pictureHeight),
            cob.name,
            number(cob.timelimitMonth),
            number(cob.timelimitDay),
            number(cob.timelimitYear),
            number(cob.used)};
}

void takeFieldValues(const CobFields& fields, CobData& cob) {
    cob.items = parseWholeNumber(fields.items);
    cob.quantity = parseWholeNumber(fields.quantity);
    parseWholeNumber(fields.scriptCount);
    parseWholeNumber(fields.importCount);
    parseWholeNumber(fields.width);
    parseWholeNumber(fields.height);
    cob.name = fields.name;
    cob.timelimitMonth = parseWholeNumber(fields.month);
    cob.timelimitDay = parseWholeNumber(fields.day);
    cob.timelimitYear = parseWholeNumber(fields.year);
    cob.used = parseWholeNumber(fields.used);
}

}  // namespace vek
