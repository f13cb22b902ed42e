#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "objects/cob_data.h"

namespace vek {

// The texts of the object compiler's fields, as shown and typed: the header values reach the
// object only when Save or Compile takes them over.
struct CobFields {
    std::string items;        // Edit1
    std::string quantity;     // Edit2
    std::string scriptCount;  // Edit3
    std::string importCount;  // Edit4
    std::string width;        // Edit5
    std::string height;       // Edit6
    std::string name;         // Edit7
    std::string month;        // Edit8
    std::string day;          // Edit9
    std::string year;         // Edit10
    std::string used;         // Edit11

    bool operator==(const CobFields&) const = default;
};

// Every field filled from the object, numbers in decimal.
CobFields fieldsOf(const CobData& cob);

// Takes the fields over into the object in field order. A number field that is not a whole
// number stops with the conversion error; the fields before it are taken over. The counts and
// the picture size are checked but not stored: the lists and the picture are what they mirror.
void takeFieldValues(const CobFields& fields, CobData& cob);

// A whole decimal number as the fields hold it: blanks before it, a sign, digits, nothing after,
// within 32 bits. Anything else throws "'text' ist kein gültiger Integerwert".
std::int32_t parseWholeNumber(std::string_view text);

}  // namespace vek
