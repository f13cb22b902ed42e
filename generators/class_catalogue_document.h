#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "app/observers.h"
#include "generators/class_catalogue.h"

namespace vek {

// What changed in the catalogue: an entry added or removed at `path`, or the whole tree
// (loaded, imported).
struct ClassCatalogueEvent {
    enum Change { Added, Removed, Replaced } change;
    EntryPath path;
};

// The class catalogue of the program directory as the New Object Source window edits it: the
// tree, the picked entry and its class. classes.vek is read once and written after every change.
class ClassCatalogueDocument {
  public:
    explicit ClassCatalogueDocument(std::filesystem::path programDirectory);

    using Observer = ObserverList<ClassCatalogueEvent>::Observer;
    [[nodiscard]] Subscription observe(Observer observer) { return m_observers.add(observer); }

    const ClassCatalogue& catalogue() const { return m_catalogue; }
    const ClassSelection& selection() const { return m_selection; }
    // The entry the selection came from; none before a pick, after Delete and after Import.
    const std::optional<EntryPath>& selectedEntry() const { return m_selectedEntry; }

    std::filesystem::path catalogueFile() const;
    std::filesystem::path importFile() const;

    // Reads classes.vek; an error is thrown with the entries before the bad line kept.
    void load();
    // Makes the entry the selection. A class piece that is no number throws and leaves the
    // selection as it was.
    void select(const EntryPath& path);
    // What "New" offers under the selected family or genus; none while nothing is picked or a
    // species is.
    std::optional<AddSuggestion> suggestion() const;
    // Appends under the selected entry and writes classes.vek; the tree keeps the entry even
    // when the write fails.
    EntryPath addUnderSelection(std::string text);
    // Removes the selected genus or species and writes classes.vek.
    void deleteSelection();
    // Replaces the tree by objed.dta's and empties the selection; a file that cannot be read or
    // a bad line keeps the tree as it was. classes.vek is not written.
    void importObjed();

  private:
    std::filesystem::path m_programDirectory;
    ClassCatalogue m_catalogue;
    ClassSelection m_selection;
    std::optional<EntryPath> m_selectedEntry;
    ObserverList<ClassCatalogueEvent> m_observers;
};

}  // namespace vek
