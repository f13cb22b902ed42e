#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vek {

// A family, genus or species entry of the class catalogue, with its sub-entries.
struct ClassEntry {
    std::string text;  // "2 5 3 {Ball}"
    std::vector<ClassEntry> children;

    bool operator==(const ClassEntry&) const = default;
};

// Where an entry stands: the index among the families, then among that family's genera, then
// among that genus's species.
using EntryPath = std::vector<std::size_t>;

// The import table holds this many lines of objed.dta.
inline constexpr std::size_t kImportTableLines = 2000;

struct ClassParts;

// The user's three-level tree of object classes (classes.vek): families, genera, species. Text
// is kept as UTF-8; files hold it in the ANSI code page.
class ClassCatalogue {
  public:
    const std::vector<ClassEntry>& families() const { return m_families; }
    bool empty() const { return m_families.empty(); }
    const ClassEntry& at(const EntryPath& path) const;

    // Reads the tree from the text of a classes.vek file (TAB or SPACE one level each). Entries
    // below a species are kept as they stand. A line more than one level deeper than the one
    // before, or one without "{", stops the reading with an error naming the line; the entries
    // read before it stay.
    void read(std::string_view ansiText);
    void readFile(const std::filesystem::path& file);

    // One line per entry, depth-first, one TAB a level.
    std::vector<std::string> lines() const;
    // What writeFile writes: the lines in the ANSI code page, each ended by CR LF.
    std::string fileText() const;
    // Writes the whole tree anew, through a temporary file.
    void writeFile(const std::filesystem::path& file) const;

    // The family, genus or species entry that names this class (its numbers compared as numbers,
    // "05" as 5), if one does; entries whose numbers cannot be read name none.
    std::optional<EntryPath> findClass(const ClassParts& parts) const;

    // Appends `text` as the last child of the entry at `parent`; returns the new entry's path.
    EntryPath add(const EntryPath& parent, std::string text);
    // Removes the entry with all its sub-entries.
    void remove(const EntryPath& path);
    // Puts an entry back where it stood.
    void insert(const EntryPath& path, ClassEntry entry);

  private:
    ClassEntry& entryAt(const EntryPath& path);
    std::vector<ClassEntry>& siblingsOf(const EntryPath& path);

    std::vector<ClassEntry> m_families;
};

// The tree that objed.dta describes, one entry a line ("N,\"description\",level"). A line
// whose level is not 1, 2 or 3, that does not begin with its number, a genus or species before
// its parent, or more than 2000 lines throw an error naming the line; nothing is returned then.
ClassCatalogue importObjed(std::string_view ansiText);
ClassCatalogue importObjedFile(const std::filesystem::path& file);

// A part of the class an entry does not name.
inline constexpr std::int32_t kAbsentPart = -255;

// The class numbers of an entry text: the pieces before " {" of its last "{". A piece that is
// no decimal number throws the conversion error.
struct ClassParts {
    std::int32_t family = 0;
    std::int32_t genus = kAbsentPart;
    std::int32_t species = kAbsentPart;

    bool hasGenus() const { return genus != kAbsentPart; }
    bool hasSpecies() const { return species != kAbsentPart; }
    bool operator==(const ClassParts&) const = default;
    // The numbers as an entry writes them: "2", "2 5" or "2 5 3".
    std::string numbers() const;
};
ClassParts classPartsOf(std::string_view entryText);

// Whether the catalogue has an entry for a whole class (family, genus and species), for checks
// that know no catalogue.
std::function<bool(int family, int genus, int species)> classLookupOf(ClassCatalogue catalogue);

// What the catalogue's entry for a class describes: a whole class, or a family or genus alone
// (the parts left out as kAbsentPart); empty where no entry names it.
std::string catalogueName(const ClassCatalogue& catalogue, const ClassParts& parts);

// What an entry text describes: after its first "{" (and one space after it), without its
// last character.
std::string descriptionOf(std::string_view entryText);

// The class the user picked in the catalogue, shared with the simple object source.
struct ClassSelection {
    std::string text;
    ClassParts parts;
    std::optional<std::int32_t> classNumber;  // none until an entry is picked, and after Import

    static ClassSelection of(std::string_view entryText);

    // "New" adds under a family or genus; "Delete" removes a genus or species, never a family.
    bool canAddUnder() const { return classNumber && !parts.hasSpecies(); }
    bool canDelete() const { return classNumber && parts.hasGenus(); }
    bool isSimpleObjectSpecies() const { return parts.family == 2 && parts.hasSpecies(); }
    // The macro files of the selected species ("020503*.*"); "1.1", which matches no file, when
    // no species is selected.
    std::string macroFileMask() const;
};

// Whether a file name matches a mask of the form "020503*.*".
bool matchesMacroMask(std::string_view fileName, std::string_view mask);

// The Add window's number fields hold two digits.
inline constexpr std::int32_t kMaxAddedNumber = 99;

// What the Add window offers under a family (a genus) or a genus (a species): the number one
// more than that of the entry's last child, or 0 without children. A number another child has,
// or one above 99, is passed over for the next free one (from 0 again after 99); `full` when
// 0 to 99 are all taken.
struct AddSuggestion {
    bool genus = true;  // false: a species
    std::int32_t family = 0;
    std::int32_t genusNumber = 0;
    std::int32_t speciesNumber = 0;
    bool full = false;
};
AddSuggestion suggestAddition(const ClassEntry& selected, const ClassSelection& selection);

// The entry text the Add window builds from its fields as typed.
std::string newEntryText(bool genus, std::string_view family, std::string_view genusText,
                         std::string_view species, std::string_view description);

}  // namespace vek
