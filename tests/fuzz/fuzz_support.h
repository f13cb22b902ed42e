#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sprites/palette.h"

// What every harness defines, and the little it shares. Each harness is one file that defines
// seeds() and fuzzOne(); fuzz_main.cpp turns them into a libFuzzer program.
namespace vek::fuzz {

using Bytes = std::vector<std::uint8_t>;

// A small corpus to start from, made here: never a file of the game.
std::vector<Bytes> seeds();
// One input. A VekError is a refusal the reader may give; anything else that escapes, every
// crash, leak and undefined behaviour, fails the run.
void fuzzOne(std::span<const std::uint8_t> input);

// A round trip that came back different: says so and aborts, so libFuzzer keeps the input.
void expectSame(bool same, const char* what);

std::string_view asText(std::span<const std::uint8_t> input);
Bytes bytesOf(std::string_view text);
// The input as a file, for readers that open one: rewritten on every call, one per name.
std::filesystem::path inputFile(std::span<const std::uint8_t> input, std::string_view name);
// A palette of distinct colours, for the readers of pictures in a palette's indices.
PaletteTable distinctPalette();

}  // namespace vek::fuzz
