#include "generators/class_catalogue_document.h"

#include <system_error>

#include "app/file_io.h"
#include "app/file_lookup.h"
#include "app/scope_exit.h"
#include "app/text_names.h"
#include "app/vek_error.h"

namespace vek {

namespace {

std::size_t bytesOf(const std::optional<std::string>& text) { return text ? text->size() : 0; }

}  // namespace

ClassCatalogueDocument::ClassCatalogueDocument(std::filesystem::path programDirectory)
    : m_programDirectory(std::move(programDirectory)) {}

std::filesystem::path ClassCatalogueDocument::catalogueFile() const {
    return findIgnoringCase(m_programDirectory, "classes.vek");
}

std::filesystem::path ClassCatalogueDocument::importFile() const {
    return findIgnoringCase(m_programDirectory, "objed.dta");
}

void ClassCatalogueDocument::load() {
    m_undo.clear();
    // The entries before a bad line are shown too.
    const ScopeExit tell([this] { notify(ClassCatalogueEvent::Replaced); });
    const std::filesystem::path file = catalogueFile();
    try {
        m_catalogue.readFile(file);
    } catch (const VekError& error) {
        std::error_code missing;
        if (!std::filesystem::exists(file, missing)) throw;
        // Writing the shortened tree would lose the entries after the refused line.
        m_readOnly = true;
        throw VekError(std::string(error.text(kLanguageEnglish)) + "\n" +
                           std::string(Msg::CatalogueReadInPartNote.english),
                       std::string(error.text(kLanguageGerman)) + "\n" +
                           std::string(Msg::CatalogueReadInPartNote.german),
                       error.detail());
    }
}

void ClassCatalogueDocument::requireWritable() const {
    if (m_readOnly)
        throw VekError(Msg::CatalogueReadOnlyError, ErrorDetail::ofFile(catalogueFile()));
}

std::optional<std::string> ClassCatalogueDocument::fileOnDisk() const {
    const std::filesystem::path file = catalogueFile();
    std::error_code missing;
    if (!std::filesystem::exists(file, missing)) return std::nullopt;
    return readFileText(file);
}

void ClassCatalogueDocument::restoreFile(const std::optional<std::string>& bytes) const {
    if (bytes) return writeFileAtomically(catalogueFile(), std::string_view(*bytes));
    std::error_code ignored;
    std::filesystem::remove(catalogueFile(), ignored);
}

void ClassCatalogueDocument::run(std::unique_ptr<UndoStep> step) {
    try {
        step->apply();
    } catch (...) {
        m_undo.record(std::move(step));
        throw;
    }
    m_undo.record(std::move(step));
}

void ClassCatalogueDocument::pick(Picked picked) {
    m_selection = std::move(picked.selection);
    m_selectedEntry = std::move(picked.entry);
    notify(ClassCatalogueEvent::SelectionChanged);
}

void ClassCatalogueDocument::select(const EntryPath& path) {
    m_selection = ClassSelection::of(m_catalogue.at(path).text);
    m_selectedEntry = path;
}

std::optional<AddSuggestion> ClassCatalogueDocument::suggestion() const {
    if (!canAdd()) return std::nullopt;
    return suggestAddition(m_catalogue.at(*m_selectedEntry), m_selection);
}

void ClassCatalogueDocument::refuseTakenClass(std::string_view text) const {
    ClassParts parts;
    try {
        parts = classPartsOf(text);
    } catch (const VekError&) {
        return;  // numbers as typed that name no class cannot take one that exists
    }
    if (const std::optional<EntryPath> holder = m_catalogue.findClass(parts)) {
        throw VekError(
            fill(Msg::CatalogueClassTaken,
                 {untranslated(parts.numbers()), untranslated(m_catalogue.at(*holder).text)}));
    }
}

EntryPath ClassCatalogueDocument::addUnderSelection(std::string text) {
    if (!suggestion()) throw std::logic_error("no family or genus is selected");
    requireWritable();
    refuseTakenClass(text);
    const EntryPath parent = *m_selectedEntry;
    EntryPath added = parent;
    added.push_back(m_catalogue.at(parent).children.size());
    std::optional<std::string> before = fileOnDisk();
    const std::size_t bytes = text.size() + bytesOf(before);
    run(makeStep(
        m_selection.parts.hasGenus() ? Msg::CatalogueAddSpeciesLabel : Msg::CatalogueAddGenusLabel,
        [this, parent, text] {
            notify(ClassCatalogueEvent::Added, m_catalogue.add(parent, text));
            writeFileAtomically(catalogueFile(), m_catalogue.fileText());
        },
        [this, added, before = std::move(before)] {
            m_catalogue.remove(added);
            notify(ClassCatalogueEvent::Removed, added);
            restoreFile(before);
        },
        bytes));
    return added;
}

void ClassCatalogueDocument::deleteSelection() {
    if (!canDelete()) return;
    requireWritable();
    const EntryPath doomed = *m_selectedEntry;
    const ClassEntry entry = m_catalogue.at(doomed);
    const std::optional<std::string> before = fileOnDisk();
    run(makeStep(
        Msg::CatalogueDeleteLabel,
        [this, doomed, selection = m_selection] {
            m_catalogue.remove(doomed);
            notify(ClassCatalogueEvent::Removed, doomed);
            // A second Delete cannot hit another entry.
            pick({selection, std::nullopt});
            writeFileAtomically(catalogueFile(), m_catalogue.fileText());
        },
        [this, doomed, entry, before, selection = m_selection] {
            m_catalogue.insert(doomed, entry);
            notify(ClassCatalogueEvent::Added, doomed);
            pick({selection, doomed});
            restoreFile(before);
        },
        bytesOf(before) + entry.text.size()));
}

void ClassCatalogueDocument::importObjed() {
    ClassCatalogue imported = importObjedFile(importFile());
    auto replace = [this](const ClassCatalogue& catalogue, const Picked& picked) {
        m_catalogue = catalogue;
        notify(ClassCatalogueEvent::Replaced);
        pick(picked);
    };
    const std::size_t bytes = m_catalogue.fileText().size() + imported.fileText().size();
    m_undo.push(makeStep(
        Msg::CatalogueImportLabel,
        [replace, imported = std::move(imported)] { replace(imported, {}); },
        [replace, before = m_catalogue, picked = Picked{m_selection, m_selectedEntry}] {
            replace(before, picked);
        },
        bytes));
}

}  // namespace vek
