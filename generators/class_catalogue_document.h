#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/observers.h"
#include "app/undo_stack.h"
#include "generators/class_catalogue.h"

namespace vek {

// What changed in the catalogue: an entry added or removed at `path`, the whole tree (loaded,
// imported), or which entry is picked.
struct ClassCatalogueEvent {
    enum Change { Added, Removed, Replaced, SelectionChanged } change;
    EntryPath path;
};

// The class catalogue of the program directory as the New Object Source window edits it: the
// tree, the picked entry and its class. classes.vek is read once and written after every change;
// Add, Delete and Import are steps of the undo stack, and undoing one writes the file back as it
// was. A file read only in part is never written over.
class ClassCatalogueDocument {
  public:
    explicit ClassCatalogueDocument(std::filesystem::path programDirectory);

    using Observer = ObserverList<ClassCatalogueEvent>::Observer;
    [[nodiscard]] Subscription observe(Observer observer) { return m_observers.add(observer); }
    UndoStack& undoStack() { return m_undo; }

    const ClassCatalogue& catalogue() const { return m_catalogue; }
    const ClassSelection& selection() const { return m_selection; }
    // The entry the selection came from; none before a pick, after Delete and after Import.
    const std::optional<EntryPath>& selectedEntry() const { return m_selectedEntry; }
    // Whether New and Delete have a picked entry to act on.
    bool canAdd() const { return m_selectedEntry && m_selection.canAddUnder(); }
    bool canDelete() const { return m_selectedEntry && m_selection.canDelete(); }
    // classes.vek could be read only in part: it is not written in this session.
    bool readOnly() const { return m_readOnly; }

    std::filesystem::path catalogueFile() const;
    std::filesystem::path importFile() const;

    // Reads classes.vek and forgets the steps; an error is thrown with the entries before the
    // bad line kept. A file that exists but cannot be read whole is not written afterwards.
    void load();
    // Makes the entry the selection. A class piece that is no number throws and leaves the
    // selection as it was.
    void select(const EntryPath& path);
    // What "New" offers under the selected family or genus; none while nothing is picked or a
    // species is.
    std::optional<AddSuggestion> suggestion() const;
    // Appends under the selected entry and writes classes.vek; the tree keeps the entry even
    // when the write fails. A class the catalogue already holds is refused, naming the entry
    // that holds it: two objects of one class share their scripts in the game.
    EntryPath addUnderSelection(std::string text);
    // Removes the selected genus or species and writes classes.vek.
    void deleteSelection();
    // Replaces the tree by objed.dta's and empties the selection; a file that cannot be read or
    // a bad line keeps the tree as it was. classes.vek is not written.
    void importObjed();

  private:
    struct Picked {
        ClassSelection selection;
        std::optional<EntryPath> entry;
    };

    void requireWritable() const;
    void refuseTakenClass(std::string_view text) const;
    // Runs a step that ends by writing classes.vek; what it did before a failed write stays
    // done and can be undone.
    void run(std::unique_ptr<UndoStep> step);
    // The file's bytes as they are; none when there is no file.
    std::optional<std::string> fileOnDisk() const;
    // Writes those bytes back, or removes the file that was not there.
    void restoreFile(const std::optional<std::string>& bytes) const;
    void pick(Picked picked);
    void notify(ClassCatalogueEvent::Change change, EntryPath path = {}) {
        m_observers.notify({change, std::move(path)});
    }

    std::filesystem::path m_programDirectory;
    ClassCatalogue m_catalogue;
    ClassSelection m_selection;
    std::optional<EntryPath> m_selectedEntry;
    bool m_readOnly = false;
    UndoStack m_undo;
    ObserverList<ClassCatalogueEvent> m_observers;
};

}  // namespace vek
