#include "generators/class_catalogue_document.h"

#include "app/file_lookup.h"
#include "app/scope_exit.h"

namespace vek {

ClassCatalogueDocument::ClassCatalogueDocument(std::filesystem::path programDirectory)
    : m_programDirectory(std::move(programDirectory)) {}

std::filesystem::path ClassCatalogueDocument::catalogueFile() const {
    return findIgnoringCase(m_programDirectory, "classes.vek");
}

std::filesystem::path ClassCatalogueDocument::importFile() const {
    return findIgnoringCase(m_programDirectory, "objed.dta");
}

void ClassCatalogueDocument::load() {
    // The entries before a bad line are shown too.
    const ScopeExit tell([this] { m_observers.notify({ClassCatalogueEvent::Replaced, {}}); });
    m_catalogue.readFile(catalogueFile());
}

void ClassCatalogueDocument::select(const EntryPath& path) {
    m_selection = ClassSelection::of(m_catalogue.at(path).text);
    m_selectedEntry = path;
}

std::optional<AddSuggestion> ClassCatalogueDocument::suggestion() const {
    if (!m_selectedEntry || !m_selection.canAddUnder()) return std::nullopt;
    return suggestAddition(m_catalogue.at(*m_selectedEntry), m_selection);
}

EntryPath ClassCatalogueDocument::addUnderSelection(std::string text) {
    if (!suggestion()) throw std::logic_error("no family or genus is selected");
    EntryPath added = m_catalogue.add(*m_selectedEntry, std::move(text));
    m_observers.notify({ClassCatalogueEvent::Added, added});
    m_catalogue.writeFile(catalogueFile());
    return added;
}

void ClassCatalogueDocument::deleteSelection() {
    if (!m_selectedEntry || !m_selection.canDelete()) return;
    const EntryPath doomed = *m_selectedEntry;
    m_selectedEntry.reset();
    m_catalogue.remove(doomed);
    m_observers.notify({ClassCatalogueEvent::Removed, doomed});
    m_catalogue.writeFile(catalogueFile());
}

void ClassCatalogueDocument::importObjed() {
    m_catalogue = importObjedFile(importFile());
    m_selection = {};
    m_selectedEntry.reset();
    m_observers.notify({ClassCatalogueEvent::Replaced, {}});
}

}  // namespace vek
