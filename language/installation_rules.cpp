#include "language/installation_rules.h"

#include <algorithm>
#include <array>
#include <span>
#include <utility>

#include "app/ansi_text.h"
#include "app/text_names.h"
#include "language/animation.h"

namespace vek {

namespace {

// Commands after which the target may be another object, or its images counted from elsewhere.
constexpr std::array<std::string_view, 9> kTargetChangers = {"targ", "enum", "esee", "etch", "escn",
                                                             "next", "rtar", "base", "edit"};
constexpr std::array<std::string_view, 3> kSoundPlayers = {"snde", "sndc", "sndl"};

bool isOneOf(std::string_view name, std::span<const std::string_view> list) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

// The piece of a command's own argument `index`, if it is written.
const Piece* argumentOf(const CommandReading& command, int index) {
    for (const Piece& piece : command.pieces) {
        if (piece.role == PieceRole::Argument && piece.owner == command.word &&
            piece.index == index)
            return &piece;
    }
    return nullptr;
}

std::optional<long long> numberOf(const Piece* piece) {
    if (!piece || !piece->number) return std::nullopt;
    return piece->number->value();
}

std::string_view textOf(std::string_view text, const Lexeme& lexeme) {
    return text.substr(lexeme.offset, lexeme.length);
}

// Built by appends: GCC 12 at -O3 warns falsely on the concatenation of temporaries.
std::string quotedName(std::string_view name) {
    std::string quoted = "\"";
    quoted.append(name);
    quoted += '"';
    return quoted;
}

// "2 5 3"
std::string classText(const PackedClass& packed) {
    std::string parts = std::to_string(packed.family);
    parts.append(" ").append(std::to_string(packed.genus));
    parts.append(" ").append(std::to_string(packed.species));
    return parts;
}

// The class of a scrp written as three whole numbers, none of them 0.
std::optional<SectionClasses::Script> scriptClassOf(const CommandReading& command,
                                                    const MacroText& macro) {
    int parts[3] = {};
    const Piece* pieces[3] = {};
    for (int k = 0; k < 3; ++k) {
        pieces[k] = argumentOf(command, k);
        if (!pieces[k]) return std::nullopt;
        const std::optional<long long> number = numberOf(pieces[k]);
        if (!number || *number <= 0 || *number > 255) return std::nullopt;
        parts[k] = static_cast<int>(*number);
    }
    const Lexeme& family = pieces[0]->lexeme;
    const Lexeme& species = pieces[2]->lexeme;
    const std::string_view written =
        std::string_view(macro.text())
            .substr(family.offset, species.offset + species.length - family.offset);
    return SectionClasses::Script{{parts[0], parts[1], parts[2]},
                                  macro.position(family.offset),
                                  characterCount(written),
                                  std::string(written),
                                  std::string(command.text)};
}

}  // namespace

PackedClass unpackClass(long long number) {
    const auto bits = static_cast<std::uint32_t>(number);
    return {static_cast<int>(bits >> 24), static_cast<int>((bits >> 16) & 0xFF),
            static_cast<int>((bits >> 8) & 0xFF)};
}

void InstallationRules::command(const CommandReading& command, std::string_view text,
                                std::vector<InstallationFinding>& found) {
    if (!command.word) return;
    const std::string& name = command.word->name;
    if (command.word->createsObject()) {
        creation(command, text, found);
        return;
    }
    if (isOneOf(name, kTargetChangers)) m_targetImages.reset();
    if (name == "pose" || name == "anim") image(command, text, found);
    const Piece* first = argumentOf(command, 0);
    if (isOneOf(name, kSoundPlayers) && m_facts.sounds && first && !first->lexeme.byteString) {
        const std::string_view sound = textOf(text, first->lexeme);
        if (!m_facts.sounds->contains(lowered(sound)))
            found.push_back({FindingCode::SoundMissing, first->lexeme,
                             fill(Msg::FindingSoundMissing, {quotedName(sound)})});
    }
    if (name == "setv clas" && m_facts.knowsClass) {
        const std::optional<long long> number = numberOf(first);
        if (!number || !first) return;
        const PackedClass packed = unpackClass(*number);
        if (!m_facts.knowsClass(packed.family, packed.genus, packed.species)) {
            found.push_back({FindingCode::ClassUnknown, first->lexeme,
                             fill(Msg::FindingClassUnknown, {classText(packed)})});
        }
    }
}

// new: simp FILE COUNT FIRST ...: the file must be there and hold the images asked for.
void InstallationRules::creation(const CommandReading& command, std::string_view text,
                                 std::vector<InstallationFinding>& found) {
    m_targetImages = numberOf(argumentOf(command, 1));
    const Piece* file = argumentOf(command, 0);
    if (!m_facts.spriteCounts || !file || file->lexeme.byteString) return;
    const std::string_view name = textOf(text, file->lexeme);
    const auto held = m_facts.spriteCounts->find(lowered(name));
    if (held == m_facts.spriteCounts->end()) {
        found.push_back({FindingCode::SpriteFileMissing, file->lexeme,
                         fill(Msg::FindingSpriteFileMissing, {quotedName(name)})});
        return;
    }
    const Piece* firstPiece = argumentOf(command, 2);
    const std::optional<long long> first = numberOf(firstPiece);
    if (!m_targetImages || !first || !firstPiece) return;
    const long long end = *first + *m_targetImages;
    if (*first >= 0 && *m_targetImages >= 0 && end <= static_cast<long long>(held->second)) return;
    found.push_back(
        {FindingCode::ImageBeyondRange, firstPiece->lexeme,
         fill(Msg::FindingImagesBeyondFile, {std::to_string(*first), std::to_string(end - 1),
                                             quotedName(name), std::to_string(held->second)})});
}

// pose N and anim [digits] of the object just created: each image within those it was given.
void InstallationRules::image(const CommandReading& command, std::string_view text,
                              std::vector<InstallationFinding>& found) {
    const Piece* argument = argumentOf(command, 0);
    if (!m_targetImages || !argument) return;
    std::vector<long long> images;
    if (command.word->is("pose")) {
        if (const auto number = numberOf(argument)) images.push_back(*number);
    } else if (argument->lexeme.byteString) {
        for (const int frame : readAnimation(textOf(text, argument->lexeme)).frames)
            images.push_back(frame);
    }
    for (const long long shown : images) {
        if (shown >= 0 && shown < *m_targetImages) continue;
        found.push_back({FindingCode::ImageBeyondRange, argument->lexeme,
                         fill(Msg::FindingImageBeyondObject,
                              {std::to_string(shown), std::to_string(*m_targetImages)})});
        return;
    }
}

SectionClasses sectionClassesOf(const MacroText& macro, const Dictionary& dictionary) {
    SectionClasses classes;
    MacroReader reader(macro.text(), dictionary);
    bool creating = false;  // the target is an object the section created
    bool first = true;
    while (const CommandReading* command = reader.next()) {
        if (!command->word) continue;
        const std::string& name = command->word->name;
        if (std::exchange(first, false) && name == "scrp") {
            classes.script = scriptClassOf(*command, macro);
        } else if (command->word->createsObject()) {
            creating = true;
        } else if (isOneOf(name, kTargetChangers)) {
            creating = false;
        } else if (name == "setv clas" && creating) {
            if (const auto number = numberOf(argumentOf(*command, 0)))
                classes.created.push_back(unpackClass(*number));
            else
                classes.createsUnreadClass = true;
        }
    }
    return classes;
}

std::vector<ScriptClassFinding> scriptsOfUncreatedClasses(std::span<const SectionClasses> sections,
                                                          const InstallationFacts& facts) {
    std::vector<ScriptClassFinding> found;
    if (!facts.knowsClass) return found;
    std::set<PackedClass> created;
    for (const SectionClasses& section : sections) {
        // Any script may be for an object whose class only the game knows.
        if (section.createsUnreadClass) return found;
        created.insert(section.created.begin(), section.created.end());
    }
    for (std::size_t k = 0; k < sections.size(); ++k) {
        const std::optional<SectionClasses::Script>& script = sections[k].script;
        if (!script || created.contains(script->packed)) continue;
        const PackedClass& packed = script->packed;
        if (facts.knowsClass(packed.family, packed.genus, packed.species)) continue;
        Finding finding;
        finding.position = script->position;
        finding.length = std::max(1, script->length);
        finding.severity = Severity::Warning;
        finding.code = FindingCode::ClassUnknown;
        finding.text = fill(Msg::FindingScriptClassNotCreated, {classText(packed)});
        finding.subject = script->subject;
        finding.command = script->command;
        found.push_back({k, std::move(finding)});
    }
    return found;
}

}  // namespace vek
