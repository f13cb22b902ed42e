#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/vek_error.h"

namespace vek {

// The sex a new creature gets; its value in the source is "0", "1" or "2".
enum class CreatureSex { Random = 0, Male = 1, Female = 2 };
// Whether a new creature arrives as an egg or hatched.
enum class ArrivalForm { Egg, Creature };

// The token of a genetics file: the first four characters of its name.
std::string genomeToken(std::string_view fileName);

// The sources of the object assistant, one line an element, with their seven-space indentation.
std::vector<std::string> creatureFromParentsSource(std::string_view mumToken,
                                                   std::string_view dadToken, CreatureSex sex,
                                                   ArrivalForm form);
std::vector<std::string> cloneSource(std::string_view token, CreatureSex sex, ArrivalForm form);

inline constexpr std::size_t kInfusionChemicals = 4;
// One chemical of an infusion: its number (0 to 255) and the amount as typed.
struct ChemicalDose {
    int chemical = 0;
    std::string amount = "0";
};
std::vector<std::string> infusionSource(std::span<const ChemicalDose, kInfusionChemicals> doses);

// A genetics list with nothing selected (the genetics directory holds no file).
VekError noGeneticsFileError(const std::filesystem::path& geneticsDirectory);

// The names of the 256 chemicals, by number.
inline constexpr std::size_t kChemicalCount = 256;
using ChemicalNames = std::array<std::string, kChemicalCount>;

// Reads chemicals.txt: 256 records of a 16-bit length and that many bytes of name (ANSI). A
// file that ends early or names more bytes than it holds throws, naming the record; the names
// read before it stay in `names`, the rest empty.
void readChemicalNames(std::span<const std::uint8_t> bytes, ChemicalNames& names);
void readChemicalNamesFile(const std::filesystem::path& file, ChemicalNames& names);
// The names of a chemicals.txt as a list by number.
std::vector<std::string> readChemicalNameList(const std::filesystem::path& file);

}  // namespace vek
