#include "objects/object_document.h"

#include "app/file_io.h"
#include "app/vek_error.h"

namespace vek {

const std::vector<std::string>& ObjectDocument::entries(ObjectList list) const {
    return list == ObjectList::Scripts ? m_cob.scripts : m_cob.imports;
}

std::vector<std::string>& ObjectDocument::entriesOf(ObjectList list) {
    return list == ObjectList::Scripts ? m_cob.scripts : m_cob.imports;
}

void ObjectDocument::rememberSourceFile(std::string_view path) {
    m_sourceFileName = fileNamePart(path);
}

void ObjectDocument::replace(CobData cob, CobFields fields) {
    m_cob = std::move(cob);
    m_fieldTexts = std::move(fields);
    notify(ObjectChange::Replaced);
}

void ObjectDocument::newObject() {
    m_objectFileName.clear();
    replace(CobData{}, fieldsOf(CobData{}));
}

void ObjectDocument::load(const std::filesystem::path& file) {
    CobData loaded = readCobFile(file);
    m_objectFileName = fileNamePart(pathToUtf8(file));
    CobFields fields = fieldsOf(loaded);
    replace(std::move(loaded), std::move(fields));
}

void ObjectDocument::save(const std::filesystem::path& file, const CobFields& fields) {
    CobData saved = m_cob;
    takeFieldValues(fields, saved);
    writeCobFile(file, saved);
    m_cob = std::move(saved);
    m_fieldTexts = fields;
    m_objectFileName = fileNamePart(pathToUtf8(file));
}

void ObjectDocument::compile(std::span<const std::string_view> source,
                             const CompileSettings& settings) {
    CompileOutput out;
    try {
        compileSourceInto(source, settings, out);
    } catch (...) {
        replace(std::move(out.cob), std::move(out.fields));
        throw;
    }
    replace(out.cob, out.fields);
    m_source.compiledNow();
    notify(ObjectChange::Compiled);
    takeFieldValues(out.fields, m_cob);
    m_objectFileName = m_cob.name + ".COB";
}

void ObjectDocument::addEntry(ObjectList list) {
    std::vector<std::string>& entries = entriesOf(list);
    if (!entries.empty() && entries.back() == kEmptyEntry) return;
    if (entries.size() >= kMaxCobEntries) {
        const std::string limit = std::to_string(kMaxCobEntries);
        throw VekError("An object holds at most " + limit + " entries in each list.",
                       "Ein Objekt hat höchstens " + limit + " Einträge in jeder Liste.");
    }
    entries.emplace_back(kEmptyEntry);
    notify(ObjectChange::EntryAdded, list, entries.size() - 1);
}

void ObjectDocument::removeEntry(ObjectList list, std::size_t index) {
    std::vector<std::string>& entries = entriesOf(list);
    if (index >= entries.size()) return;
    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(index));
    notify(ObjectChange::EntryRemoved, list, index);
}

void ObjectDocument::editEntry(ObjectList list, std::size_t index, std::string text) {
    std::vector<std::string>& entries = entriesOf(list);
    if (index >= entries.size()) return;
    entries[index] = std::move(text);
    notify(ObjectChange::EntryEdited, list, index);
}

void ObjectDocument::takePicture(const SpriteImage& sprite) {
    setCobPicture(m_cob, sprite);
    notify(ObjectChange::PictureTaken);
}

}  // namespace vek
