#include "objects/object_document.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "app/file_io.h"
#include "app/text_names.h"
#include "app/vek_error.h"
#include "objects/discompiler.h"
#include "objects/macro_insertion.h"

namespace vek {

namespace {

// Steps that change the source text carry this topic: the source's changed flag looks for them.
constexpr int kSourceTopic = 1;

struct ListLabels {
    Bilingual add;
    Bilingual remove;
    Bilingual edit;
};
constexpr ListLabels kScriptLabels{Msg::NewScript, Msg::DeleteScript, Msg::EditScript};
constexpr ListLabels kImportLabels{Msg::NewImport, Msg::DeleteImport, Msg::EditImport};
const ListLabels& labelsOf(ObjectList list) {
    return list == ObjectList::Scripts ? kScriptLabels : kImportLabels;
}

struct HeaderFieldDesign {
    std::string CobFields::*text;
    Bilingual label;
};
constexpr HeaderFieldDesign kHeaderFields[] = {
    {&CobFields::name, Msg::ChangeName}, {&CobFields::quantity, Msg::ChangeQuantity},
    {&CobFields::used, Msg::ChangeUsed}, {&CobFields::month, Msg::ChangeMonth},
    {&CobFields::day, Msg::ChangeDay},   {&CobFields::year, Msg::ChangeYear},
};

struct ClassPartDesign {
    std::string ClassFields::*text;
    Bilingual label;
};
constexpr ClassPartDesign kClassParts[] = {
    {&ClassFields::family, Msg::ChangeFamily},
    {&ClassFields::genus, Msg::ChangeGenus},
    {&ClassFields::species, Msg::ChangeSpecies},
};

// How one text becomes another: the bytes from `offset` on that go, and those that come.
struct TextChange {
    std::size_t offset = 0;
    std::string removed;
    std::string inserted;

    std::size_t size() const { return removed.size() + inserted.size(); }
};

TextChange changeBetween(std::string_view before, std::string_view after) {
    const std::size_t shorter = std::min(before.size(), after.size());
    std::size_t prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix]) ++prefix;
    std::size_t suffix = 0;
    while (suffix < shorter - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    return {prefix, std::string(before.substr(prefix, before.size() - prefix - suffix)),
            std::string(after.substr(prefix, after.size() - prefix - suffix))};
}

}  // namespace

// ---- steps ----------------------------------------------------------------------------------

struct ObjectDocument::ObjectState {
    CobData cob;
    CobFields fields;
    std::string objectFileName;
    bool compiled = false;

    std::size_t bytes() const {
        std::size_t total = sizeof(*this) + cob.picturePixels.size();
        for (const auto* list : {&cob.scripts, &cob.imports})
            for (const std::string& entry : *list) total += entry.size();
        return total;
    }
};

// A change of the source text, with the source file (its name and folder) and the compiled flag
// it changes.
class ObjectDocument::SourceStep final : public UndoStep {
  public:
    SourceStep(ObjectDocument& document, Bilingual label, bool typing, TextChange change,
               SourceFile fileBefore)
        : UndoStep(label, kSourceTopic),
          m_document(document),
          m_typing(typing),
          m_change(std::move(change)),
          m_fileBefore(std::move(fileBefore)),
          m_fileAfter(document.sourceFile()),
          m_compiledBefore(document.m_source.compiled) {}

    void apply() override { put(m_change.removed.size(), m_change.inserted, false, m_fileAfter); }
    void revert() override {
        put(m_change.inserted.size(), m_change.removed, m_compiledBefore, m_fileBefore);
    }
    // Typing that goes on where the last typing ended, on the same line.
    bool absorb(const UndoStep& next) override {
        const auto* typed = dynamic_cast<const SourceStep*>(&next);
        if (!m_typing || !typed || !typed->m_typing) return false;
        const TextChange& more = typed->m_change;
        const bool adjacent =
            more.offset + more.removed.size() == m_change.offset + m_change.inserted.size();
        if (!adjacent || more.inserted.find('\n') != std::string::npos) return false;
        // Back to the text before this step, then the change to the text now.
        const std::string& now = m_document.m_sourceText;
        std::string before = now;
        before.replace(more.offset, more.inserted.size(), more.removed);
        before.replace(m_change.offset, m_change.inserted.size(), m_change.removed);
        m_change = changeBetween(before, now);
        m_fileAfter = typed->m_fileAfter;
        return true;
    }
    std::size_t bytes() const override {
        return sizeof(*this) + m_change.size() + m_fileBefore.bytes() + m_fileAfter.bytes();
    }

  private:
    // The text at the change's offset, `replaced` characters long, becomes `text`.
    void put(std::size_t replaced, const std::string& text, bool compiled, const SourceFile& file) {
        m_document.m_sourceText.replace(m_change.offset, replaced, text);
        m_document.m_source.compiled = compiled;
        m_document.m_sourceFileName = file.name;
        m_document.m_sourceFolder = file.folder;
        m_document.sourceChanged();
    }

    ObjectDocument& m_document;
    bool m_typing;
    TextChange m_change;
    SourceFile m_fileBefore;
    SourceFile m_fileAfter;
    bool m_compiledBefore;
};

// A text that is typed into: a header field, a class calculator field or an entry. Typing on in
// the same one is one step.
class ObjectDocument::TextStep final : public UndoStep {
  public:
    using Setter = std::function<void(const std::string&)>;

    // `key` names the text: steps with the same key merge.
    TextStep(Bilingual label, std::pair<int, std::size_t> key, Setter set, std::string before,
             std::string after)
        : UndoStep(label),
          m_key(key),
          m_set(std::move(set)),
          m_before(std::move(before)),
          m_after(std::move(after)) {}

    void apply() override { m_set(m_after); }
    void revert() override { m_set(m_before); }
    bool absorb(const UndoStep& next) override {
        const auto* typed = dynamic_cast<const TextStep*>(&next);
        if (!typed || typed->m_key != m_key) return false;
        m_after = typed->m_after;
        return true;
    }
    std::size_t bytes() const override { return sizeof(*this) + m_before.size() + m_after.size(); }

  private:
    std::pair<int, std::size_t> m_key;
    Setter m_set;
    std::string m_before;
    std::string m_after;
};

// ---- the document ---------------------------------------------------------------------------

ObjectDocument::ObjectDocument()
    : m_undoObservation(m_undo.observe([this](const UndoStackChange&) { refreshSourceState(); })) {}

const std::vector<std::string>& ObjectDocument::entries(ObjectList list) const {
    return list == ObjectList::Scripts ? m_cob.scripts : m_cob.imports;
}

std::vector<std::string>& ObjectDocument::entriesOf(ObjectList list) {
    return list == ObjectList::Scripts ? m_cob.scripts : m_cob.imports;
}

void ObjectDocument::rememberSourceFile(std::string_view path) {
    m_sourceFileName = fileNamePart(path);
}

void ObjectDocument::refreshSourceState() {
    const SourceState before = m_source;
    m_source.changed =
        m_undo.changedSinceClean([](const UndoStep& step) { return step.topic() == kSourceTopic; });
    m_source.saved = !m_source.changed && m_cleanSourceIsFile;
    // The flags follow a step only once the stack holds it, after the step's own news.
    if (m_source != before) notify(ObjectChange::SourceStateChanged);
}

// ---- the object -----------------------------------------------------------------------------

ObjectDocument::ObjectState ObjectDocument::objectState() const {
    return {m_cob, m_fieldTexts, m_objectFileName, m_source.compiled};
}

void ObjectDocument::setObjectState(const ObjectState& state) {
    m_cob = state.cob;
    m_fieldTexts = state.fields;
    m_objectFileName = state.objectFileName;
    m_source.compiled = state.compiled;
    notify(ObjectChange::Replaced);
}

void ObjectDocument::replaceObject(Bilingual label, ObjectState after) {
    ObjectState before = objectState();
    const std::size_t bytes = before.bytes() + after.bytes();
    m_undo.push(makeStep(
        label, [this, after = std::move(after)] { setObjectState(after); },
        [this, before = std::move(before)] { setObjectState(before); }, bytes));
}

void ObjectDocument::newObject() {
    replaceObject(Msg::ObjectNewObjectLabel,
                  {CobData{}, fieldsOf(CobData{}), {}, m_source.compiled});
}

void ObjectDocument::load(const std::filesystem::path& file) {
    CobData loaded = readCobFile(file);
    CobFields fields = fieldsOf(loaded);
    replaceObject(Msg::ObjectLoadObjectLabel, {std::move(loaded), std::move(fields),
                                               fileNamePart(pathToUtf8(file)), m_source.compiled});
}

void ObjectDocument::save(const std::filesystem::path& file, const CobFields& fields) {
    CobData saved = m_cob;
    takeFieldValues(fields, saved);
    writeCobFile(file, saved);
    m_cob = std::move(saved);
    if (fields != m_fieldTexts) {
        m_fieldTexts = fields;
        notify(ObjectChange::FieldsChanged);
    }
    m_objectFileName = fileNamePart(pathToUtf8(file));
}

void ObjectDocument::compile(std::span<const std::string_view> source,
                             const CompileSettings& given) {
    CompileSettings settings = given;
    settings.pictureFolder = pictureFolder();
    CompileOutput out;
    try {
        compileSourceInto(source, settings, out);
    } catch (...) {
        // What was collected up to the failing line stands.
        replaceObject(Msg::ObjectCompileLabel, {std::move(out.cob), std::move(out.fields),
                                                m_objectFileName, m_source.compiled});
        throw;
    }
    ObjectState after{out.cob, out.fields, m_objectFileName, true};
    std::exception_ptr failure;
    try {
        takeFieldValues(out.fields, after.cob);
        after.objectFileName = after.cob.name + ".COB";
    } catch (...) {
        // The fields before the failing one are taken over.
        failure = std::current_exception();
    }
    replaceObject(Msg::ObjectCompileLabel, std::move(after));
    notify(ObjectChange::Compiled);
    if (failure) std::rethrow_exception(failure);
}

void ObjectDocument::compileSource(const CompileSettings& settings) {
    compile(splitLines(m_sourceText), settings);
    m_compiledFrom = CompiledFrom{m_sourceText, m_cob.scripts, m_cob.imports};
}

bool ObjectDocument::objectFromSource() const {
    return m_compiledFrom && m_compiledFrom->sourceText == m_sourceText &&
           m_compiledFrom->scripts == m_cob.scripts && m_compiledFrom->imports == m_cob.imports;
}

PictureFolder ObjectDocument::pictureFolder() const {
    return {m_sourceFolder, m_keptPicture ? &*m_keptPicture : nullptr};
}

void ObjectDocument::setEntryCount(ObjectList list) {
    std::string& count =
        list == ObjectList::Scripts ? m_fieldTexts.scriptCount : m_fieldTexts.importCount;
    count = std::to_string(entries(list).size());
}

void ObjectDocument::addEntry(ObjectList list) {
    const std::vector<std::string>& entries = entriesOf(list);
    if (!entries.empty() && entries.back() == kEmptyEntry) return;
    if (entries.size() >= kMaxCobEntries) {
        const std::string limit = std::to_string(kMaxCobEntries);
        throw VekError(fill(Msg::ObjectListFull, {limit}));
    }
    m_undo.push(makeStep(
        labelsOf(list).add,
        [this, list] {
            entriesOf(list).emplace_back(kEmptyEntry);
            setEntryCount(list);
            notify(ObjectChange::EntryAdded, list, entriesOf(list).size() - 1);
        },
        [this, list] {
            entriesOf(list).pop_back();
            setEntryCount(list);
            notify(ObjectChange::EntryRemoved, list, entriesOf(list).size());
        }));
}

void ObjectDocument::removeEntry(ObjectList list, std::size_t index) {
    if (index >= entries(list).size()) return;
    const auto at = static_cast<std::ptrdiff_t>(index);
    m_undo.push(makeStep(
        labelsOf(list).remove,
        [this, list, index, at] {
            entriesOf(list).erase(entriesOf(list).begin() + at);
            setEntryCount(list);
            notify(ObjectChange::EntryRemoved, list, index);
        },
        [this, list, index, at, text = entries(list)[index]] {
            entriesOf(list).insert(entriesOf(list).begin() + at, text);
            setEntryCount(list);
            notify(ObjectChange::EntryAdded, list, index);
        },
        entries(list)[index].size()));
}

void ObjectDocument::editEntry(ObjectList list, std::size_t index, std::string text) {
    if (index >= entries(list).size() || entries(list)[index] == text) return;
    auto set = [this, list, index](const std::string& entry) {
        entriesOf(list)[index] = entry;
        notify(ObjectChange::EntryEdited, list, index);
    };
    m_undo.push(std::make_unique<TextStep>(labelsOf(list).edit,
                                           std::pair(2 + static_cast<int>(list), index), set,
                                           entries(list)[index], std::move(text)));
}

void ObjectDocument::takePicture(const SpriteImage& sprite) {
    CobData picture = m_cob;
    setCobPicture(picture, sprite);
    auto show = [this](const CobData& from) {
        m_cob.pictureWidth = from.pictureWidth;
        m_cob.pictureHeight = from.pictureHeight;
        m_cob.pictureWidthCopy = from.pictureWidthCopy;
        m_cob.picturePixels = from.picturePixels;
        m_fieldTexts.width = std::to_string(from.pictureWidth);
        m_fieldTexts.height = std::to_string(from.pictureHeight);
        notify(ObjectChange::PictureTaken);
    };
    const std::size_t bytes = m_cob.picturePixels.size() + picture.picturePixels.size();
    m_undo.push(makeStep(
        Msg::ObjectGetPictureLabel, [show, picture = std::move(picture)] { show(picture); },
        [show, before = m_cob] { show(before); }, bytes));
}

template <typename Texts>
void ObjectDocument::typeInto(Texts& texts, std::string Texts::*member, Bilingual label,
                              std::pair<int, std::size_t> key, ObjectChange change,
                              std::string text) {
    if (texts.*member == text) return;
    auto set = [this, &texts, member, change](const std::string& value) {
        texts.*member = value;
        notify(change);
    };
    m_undo.push(std::make_unique<TextStep>(label, key, set, texts.*member, std::move(text)));
}

void ObjectDocument::setField(HeaderField field, std::string text) {
    const HeaderFieldDesign& design = kHeaderFields[static_cast<std::size_t>(field)];
    typeInto(m_fieldTexts, design.text, design.label, {0, static_cast<std::size_t>(field)},
             ObjectChange::FieldsChanged, std::move(text));
}

void ObjectDocument::restoreFieldsFromObject() {
    const CobFields stored = fieldsOf(m_cob);
    if (stored == m_fieldTexts) return;
    auto set = [this](const CobFields& fields) {
        m_fieldTexts = fields;
        notify(ObjectChange::FieldsChanged);
    };
    m_undo.push(makeStep(
        Msg::ObjectRestoreFieldsLabel, [set, stored] { set(stored); },
        [set, typed = m_fieldTexts] { set(typed); }));
}

void ObjectDocument::setClassField(ClassPart part, std::string text) {
    const ClassPartDesign& design = kClassParts[static_cast<std::size_t>(part)];
    typeInto(m_classFields, design.text, design.label, {1, static_cast<std::size_t>(part)},
             ObjectChange::ClassFieldsChanged, std::move(text));
}

// ---- the source -----------------------------------------------------------------------------

std::vector<std::string> ObjectDocument::sourceLines() const {
    if (m_sourceText.empty()) return {};
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = m_sourceText.find('\n'); end != std::string::npos;
         start = end + 1, end = m_sourceText.find('\n', start))
        lines.push_back(m_sourceText.substr(start, end - start));
    lines.push_back(m_sourceText.substr(start));
    return lines;
}

void ObjectDocument::sourceChanged() { notify(ObjectChange::SourceEdited); }

ObjectDocument::SourceFile ObjectDocument::sourceFile() const {
    return {m_sourceFileName, m_sourceFolder};
}

void ObjectDocument::editSource(std::string text, Bilingual label, bool typing,
                                SourceFile fileBefore) {
    m_undo.push(std::make_unique<SourceStep>(
        *this, label, typing, changeBetween(m_sourceText, text), std::move(fileBefore)));
}

void ObjectDocument::typeSource(std::string text) {
    if (text != m_sourceText)
        editSource(std::move(text), Msg::ObjectTypingLabel, true, sourceFile());
}

void ObjectDocument::replaceSource(std::string text, Bilingual label) {
    editSource(std::move(text), label, false, sourceFile());
}

void ObjectDocument::loadSource(const std::filesystem::path& file) {
    SourceFile before = sourceFile();
    rememberSourceFile(pathToUtf8(file));
    const std::vector<std::string> lines = readSourceFile(file);
    // Undo goes back to the earlier file's folder too, where its picture lies.
    m_sourceFolder = folderOfSource(file);
    editSource(joinInsertedLines(lines), Msg::ObjectLoadSourceLabel, false, std::move(before));
    m_keptPicture.reset();
    m_cleanSourceIsFile = true;
    m_undo.setClean();
}

void ObjectDocument::saveSource(const std::filesystem::path& file) {
    rememberSourceFile(pathToUtf8(file));
    writeSourceFile(file, sourceLines());
    m_sourceFolder = folderOfSource(file);
    m_cleanSourceIsFile = true;
    m_undo.setClean();
    if (!m_keptPicture) return;
    if (pictureNameOfSource(m_sourceText) == m_keptPicture->fileName)
        writePictureFile(m_sourceFolder / m_keptPicture->fileName, m_keptPicture->image);
    m_keptPicture.reset();
}

void ObjectDocument::discompile() {
    m_keptPicture = sourcePictureOf(m_cob, m_objectFileName, m_fieldTexts.name);
    SourceFile before = sourceFile();
    rememberSourceFile(m_fieldTexts.name + ".COS");
    std::vector<std::string> lines;
    try {
        discompileInto(m_cob, m_fieldTexts, m_objectFileName, lines);
    } catch (...) {
        editSource(joinInsertedLines(lines), Msg::ObjectDiscompileLabel, false, before);
        throw;
    }
    editSource(joinInsertedLines(lines), Msg::ObjectDiscompileLabel, false, std::move(before));
}

}  // namespace vek
