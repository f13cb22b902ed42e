#include "generators/object_assistant.h"

#include "app/ansi_text.h"
#include "app/byte_io.h"
#include "app/file_io.h"
#include "app/text_names.h"
#include "app/vek_error.h"

namespace vek {

namespace {

// Every creature and clone line after "inst" is indented by seven spaces.
constexpr std::string_view kIndent = "       ";

std::vector<std::string> header(std::string_view name, std::string_view kind) {
    return {"* Auto " + std::string(kind),
            "* COB Assistent",
            "name " + std::string(name),
            "quantity 1",
            "used 0",
            ""};
}

void appendIndented(std::vector<std::string>& out, std::initializer_list<std::string> lines) {
    for (const std::string& line : lines) out.push_back(std::string(kIndent) + line);
}

std::string sexValue(CreatureSex sex) { return std::to_string(static_cast<int>(sex)); }

// An egg of class 2 5 2 that carries the genome in obv0 and hatches where the camera looks.
void appendEgg(std::vector<std::string>& out, std::initializer_list<std::string> genome,
               CreatureSex sex) {
    out.emplace_back("inst");
    appendIndented(out,
                   {"new: simp eggs 8 32 2000 0", "pose 0", "setv clas 33882624", "setv attr 64"});
    appendIndented(out, genome);
    appendIndented(out, {"setv obv1 " + sexValue(sex), "mvto 2848 868", "sys: cmra 2648 732",
                         "slim", "evnt targ", "tick 100", "dde: negg", "endm"});
}

void appendHatched(std::vector<std::string>& out, std::initializer_list<std::string> creation,
                   bool withEndi) {
    out.emplace_back("inst");
    appendIndented(out, creation);
    appendIndented(
        out, {"mvto 2548 800", "sys: cmra 2448 630", "slim", "evnt targ", "tick 100", "dde: negg"});
    if (withEndi) appendIndented(out, {"endi"});
    appendIndented(out, {"endm"});
}

}  // namespace

std::string genomeToken(std::string_view fileName) {
    // Four characters, not bytes, of a UTF-8 name.
    std::size_t end = 0;
    for (int characters = 0; end < fileName.size() && characters < 4; ++characters) {
        ++end;
        while (end < fileName.size() && (static_cast<unsigned char>(fileName[end]) & 0xC0) == 0x80)
            ++end;
    }
    return std::string(fileName.substr(0, end));
}

std::vector<std::string> creatureFromParentsSource(std::string_view mumToken,
                                                   std::string_view dadToken, CreatureSex sex,
                                                   ArrivalForm form) {
    std::vector<std::string> out = header("CREATURE", "Creature");
    const std::string genome =
        "new: gene tokn " + std::string(mumToken) + " tokn " + std::string(dadToken) + " var0";
    if (form == ArrivalForm::Egg) {
        appendEgg(out, {genome, "setv obv0 var0"}, sex);
    } else {
        appendHatched(out, {genome, "new: crea var0 " + sexValue(sex)}, false);
    }
    return out;
}

std::vector<std::string> cloneSource(std::string_view token, CreatureSex sex, ArrivalForm form) {
    std::vector<std::string> out = header("Cloned CREATURE", "Creature");
    if (form == ArrivalForm::Egg) {
        appendEgg(out, {"setv obv0 tokn " + std::string(token)}, sex);
    } else {
        appendHatched(out, {"new: crea tokn " + std::string(token) + " " + sexValue(sex)}, true);
    }
    return out;
}

std::vector<std::string> infusionSource(std::span<const ChemicalDose, kInfusionChemicals> doses) {
    std::vector<std::string> out = header("Infusion", "Infusion");
    std::string stim = "stim writ norn 10 255 0 0";
    for (const ChemicalDose& dose : doses)
        stim.append(" ").append(std::to_string(dose.chemical)).append(" ").append(dose.amount);
    const std::vector<std::string> body = {"inst",
                                           "new: simp zzzz 1 6 3500 0",
                                           "setv clas 34010880",
                                           "setv attr 18",
                                           "bhvr 0 1",
                                           "mesg writ targ 8",
                                           "endm",
                                           "scrp 2 6 247 9",
                                           stim,
                                           "kill targ",
                                           "endm",
                                           "scrp 2 6 247 7",
                                           "tick 10",
                                           "endm"};
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

VekError noGeneticsFileError(const std::filesystem::path& geneticsDirectory) {
    return VekError(Msg::NoGeneticsFile, ErrorDetail::ofFile(geneticsDirectory));
}

void readChemicalNames(std::span<const std::uint8_t> bytes, ChemicalNames& names) {
    names = {};
    ByteReader in(bytes);
    for (std::size_t number = 0; number < kChemicalCount; ++number) {
        const std::size_t at = in.position();
        if (in.remaining() < 2) {
            throw VekError(fill(Msg::ChemicalsEndEarly, {std::to_string(number)}),
                           ErrorDetail::atByte(at));
        }
        const std::uint16_t length = in.u16();
        if (length > in.remaining()) {
            throw VekError(
                fill(Msg::ChemicalNameTooLong, {std::to_string(number), std::to_string(length),
                                                std::to_string(in.remaining())}),
                ErrorDetail::atByte(at));
        }
        names[number] = ansiToUtf8(in.text(length));
    }
}

void readChemicalNamesFile(const std::filesystem::path& file, ChemicalNames& names) {
    names = {};
    readingFile(file, [&] { readChemicalNames(readFileBytes(file), names); });
}

std::vector<std::string> readChemicalNameList(const std::filesystem::path& file) {
    ChemicalNames names;
    readChemicalNamesFile(file, names);
    return {names.begin(), names.end()};
}

}  // namespace vek
