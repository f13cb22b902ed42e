#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "language/checker.h"
#include "language/installation_rules.h"
#include "language/line_reading.h"
#include "objects/cob_data.h"
#include "objects/source_lines.h"

namespace vek {

// The checker's options with the program's script event table.
CheckOptions objectCheckOptions();

// One section of a source as compiling makes it a macro: its lines joined by commas, each
// character at the source line (from 1) and column where it was written.
struct SourceSection {
    MacroText macro;
    MacroKind kind = MacroKind::Routine;  // Script when it begins with scrp
    bool closed = false;                  // its last line is an endm
    std::size_t firstLine = 0;            // from 0
};
// The section of lines `first` to `last` (from 0, inclusive).
SourceSection sourceSection(std::span<const std::string> lines, std::size_t first,
                            std::size_t last);
// The sections that compiling keeps, in source order: each closed by its endm.
std::vector<SourceSection> sourceSections(std::span<const std::string> lines);

// A source checked as it is edited. Each section is checked as the macro that compiling makes of
// it, with findings at source lines and columns; a command outside every section is pointed out,
// since compiling ignores it. An edit checks again only what it can have changed: the sections it
// touches, and more only where it opens or closes a section.
//
// A script whose class nothing in the source creates and the class catalogue does not hold is
// pointed out as well (the installation's `knowsClass`), across sections.
class SourceCheck : public LinesCheck {
  public:
    explicit SourceCheck(CheckOptions options = objectCheckOptions());

    // Where the installation comes from in place of the options' own: asked when a check of a
    // section first needs it, once per edit, so that a check that reads no section reads no
    // folder. When it answers other facts than before, every section is checked again.
    using InstallationSource = std::function<std::shared_ptr<const InstallationFacts>()>;
    void setInstallationSource(InstallationSource source) { m_installationSource = source; }
    // Checks every line again with these installation checks switched off.
    void checkAgain(std::set<FindingCode> switchedOff);

    void reset(std::vector<std::string> lines) override;
    void replaceLines(std::size_t first, std::size_t removed,
                      std::vector<std::string> inserted) override;

    const std::vector<std::string>& lines() const override { return m_lines; }
    std::vector<Finding> findings() const override;
    // How many lines the last reset or edit read again.
    std::size_t linesRead() const { return m_linesRead; }

  private:
    // A run of lines that is one section, or lies outside every section.
    struct Region {
        std::size_t first = 0;
        std::size_t last = 0;  // inclusive
        bool section = false;
        std::vector<Finding> found;  // line 1 is the region's first line
        SectionClasses classes;      // its script's position: line 1 is the region's first line
    };

    // Reads lines from `from` on, replacing the regions from `region` on, until the walk meets
    // an unchanged region boundary at or after `editEnd` (the regions there start `shift` lines
    // later than before the edit).
    void walk(std::size_t from, std::size_t region, std::size_t editEnd, std::ptrdiff_t shift);
    Region checkRegion(std::size_t first, std::size_t last, bool section);
    std::optional<Finding> outsideFinding(const SourceLine& read) const;
    // The installation for the checks of this edit, from the source on the first call.
    void takeInstallation();
    bool checksClasses() const;
    // The warnings on scripts whose class nothing creates, placed among each region's findings.
    std::vector<std::vector<Finding>> regionFindingsWithScriptClasses() const;

    CheckOptions m_options;
    InstallationSource m_installationSource;
    bool m_installationTaken = false;    // during this edit
    bool m_installationChanged = false;  // the source answered other facts during this edit
    std::vector<std::string> m_lines;
    std::vector<bool> m_openBefore;  // whether a section is open before each line
    std::vector<Region> m_regions;   // in line order, covering every line
    std::size_t m_linesRead = 0;
};

// One entry of an object, a script or an installation routine, as the editor page shows it:
// the whole text is one macro (a script when it begins with scrp), checked anew on each edit.
class EntryCheck : public LinesCheck {
  public:
    explicit EntryCheck(CheckOptions options = objectCheckOptions())
        : m_options(std::move(options)) {}

    void reset(std::vector<std::string> lines) override;
    void replaceLines(std::size_t first, std::size_t removed,
                      std::vector<std::string> inserted) override;
    const std::vector<std::string>& lines() const override { return m_lines; }
    std::vector<Finding> findings() const override { return m_findings; }

  private:
    void check();

    CheckOptions m_options;
    std::vector<std::string> m_lines;
    std::vector<Finding> m_findings;
};
// Every line of an entry holds commands.
LineReading entryLineReading(std::string_view line, bool openBefore);

// What a checked file holds, told by its name as `vek check` and the language server read it:
// a source (.cos), an object file (.cob, .rcb), a macro file (.mac), or anything else macros one
// a line, as world files hold them.
enum class CheckedFileKind { Source, ObjectFile, MacroFile, MacroLines };
CheckedFileKind checkedFileKindOf(const std::filesystem::path& file);

std::vector<Finding> checkSourceLines(std::vector<std::string> lines,
                                      const CheckOptions& options = objectCheckOptions());

// An object's scripts and installation routines, scripts first: line k is the k-th of them,
// its columns the characters of its macro text.
std::vector<Finding> checkCobData(const CobData& cob,
                                  const CheckOptions& options = objectCheckOptions());

// A macro file: the commands of one script without its scrp line, one a line, the first after
// an opening quote and the last before a closing one.
std::vector<Finding> checkMacroFileLines(std::span<const std::string> lines,
                                         const CheckOptions& options = objectCheckOptions());

}  // namespace vek
