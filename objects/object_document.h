#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/observers.h"
#include "app/text_names.h"
#include "app/undo_stack.h"
#include "objects/cob_compiler.h"
#include "objects/cob_data.h"
#include "objects/cob_fields.h"
#include "objects/source_picture.h"
#include "objects/source_state.h"

namespace vek {

// The two lists of an object.
enum class ObjectList { Scripts, Imports };

// What changed in an object document.
enum class ObjectChange {
    Replaced,            // the whole object (load, compile, new); fieldTexts() tells what to show
    Compiled,            // the source was read into the object; its fields are taken over next
    EntryAdded,          // `list` got an entry at `index`
    EntryRemoved,        // `list` lost the entry at `index`
    EntryEdited,         // the entry at `index` of `list` has a new text
    PictureTaken,        // the picture was replaced
    SourceEdited,        // the source text changed
    SourceStateChanged,  // the source's changed, compiled or saved flag changed
    FieldsChanged,       // the texts of the header fields changed
    ClassFieldsChanged,  // the texts of the class calculator changed
};

struct ObjectDocumentEvent {
    ObjectChange change;
    ObjectList list = ObjectList::Scripts;
    std::size_t index = 0;
};

// The entry that New adds to a list, until it is edited.
inline constexpr std::string_view kEmptyEntry = "<empty>";

// The header fields that are typed into.
enum class HeaderField { Name, Quantity, Used, Month, Day, Year };

// The three fields of the class calculator, as typed.
struct ClassFields {
    std::string family = "1";
    std::string genus = "1";
    std::string species = "1";

    bool operator==(const ClassFields&) const = default;
};
enum class ClassPart { Family, Genus, Species };

// Labels of the steps the object compiler's windows make themselves.
inline constexpr Bilingual kGeneratedSourceLabel = Msg::ObjectGeneratedSourceLabel;
inline constexpr Bilingual kMacroInsertionLabel = Msg::ObjectMacroInsertionLabel;
inline constexpr Bilingual kAssistantLabel = Msg::ObjectAssistantLabel;

// The whole object being edited: the source text and what is known of it (SourceState), the
// object (CobData) and the texts of its fields, the class calculator, the remembered object and
// source file names and the rules of the script and import lists. Every edit is a step of the
// document's undo stack; observers are told of every change.
class ObjectDocument {
  public:
    ObjectDocument();

    using Observer = ObserverList<ObjectDocumentEvent>::Observer;
    [[nodiscard]] Subscription observe(Observer observer) { return m_observers.add(observer); }
    UndoStack& undoStack() { return m_undo; }

    const CobData& cob() const { return m_cob; }
    const std::vector<std::string>& entries(ObjectList list) const;
    // The texts of the object's fields, as shown and typed: the header values reach the object
    // when Save or Compile takes them over.
    const CobFields& fieldTexts() const { return m_fieldTexts; }
    const ClassFields& classFields() const { return m_classFields; }

    // The source text, lines separated by line breaks.
    const std::string& sourceText() const { return m_sourceText; }
    // Its lines as a source file holds them; an empty text has none.
    std::vector<std::string> sourceLines() const;
    // Changed and saved follow the undo stack back to the text last loaded or saved; compiled
    // follows compilations and changes of the text.
    const SourceState& source() const { return m_source; }

    // Name parts only, without the directory.
    const std::string& objectFileName() const { return m_objectFileName; }
    // The picture the discompiled source names, kept until the source is saved beside it.
    const std::optional<SourcePicture>& keptPicture() const { return m_keptPicture; }
    const std::string& sourceFileName() const { return m_sourceFileName; }
    void rememberSourceFile(std::string_view path);

    // ---- the object --------------------------------------------------------------------------
    // New: the object as before a compilation, and no object file name.
    void newObject();
    // Reads an object file; one that cannot be read leaves the object as it was.
    void load(const std::filesystem::path& file);
    // Writes the object with the header values of `fields`, which it then keeps; a field that is
    // no number stops the save before the file is touched. Saving is no step.
    void save(const std::filesystem::path& file, const CobFields& fields);
    void save(const std::filesystem::path& file) { save(file, CobFields(m_fieldTexts)); }
    // Compiles the lines from the reset state. A "sprite" line that fails or a 101st entry
    // stops it with the entries collected up to there; a field the source left that is no number
    // stops it after the scripts and imports are in. A "picture" line takes the kept picture of
    // its name, else the file beside the source file last loaded or saved.
    void compile(std::span<const std::string_view> source, const CompileSettings& settings);
    // The same for the document's own source text.
    void compileSource(const CompileSettings& settings);
    // Whether the object's scripts and routines are what the source text compiles to: it was
    // compiled from this text, and neither has changed since.
    bool objectFromSource() const;

    // A new "<empty>" entry, unless the list already ends in one; a list holds at most 100.
    void addEntry(ObjectList list);
    void removeEntry(ObjectList list, std::size_t index);
    // Typing on in one entry is one step.
    void editEntry(ObjectList list, std::size_t index, std::string text);
    // Takes a sprite (rows top-down) as the object's picture.
    void takePicture(const SpriteImage& sprite);
    // Typing on in one field is one step.
    void setField(HeaderField field, std::string text);
    // The fields as the object holds them, dropping values typed and not taken over.
    void restoreFieldsFromObject();
    void setClassField(ClassPart part, std::string text);

    // ---- the source --------------------------------------------------------------------------
    // Typing: a run of typing at one place is one step.
    void typeSource(std::string text);
    // A text put in place whole (a generated source, an inserted macro).
    void replaceSource(std::string text, Bilingual label);
    // Reads a source file; its name is remembered even when it cannot be read. A kept picture is
    // dropped: it belongs to another source.
    void loadSource(const std::filesystem::path& file);
    // Writes the source, then the kept picture beside it when the source names it; the picture
    // is kept no longer once it is a file.
    void saveSource(const std::filesystem::path& file);
    // Turns the object back into the source text, named after the object, and keeps its picture
    // until the source is saved; a failure leaves the lines written up to it.
    void discompile();

  private:
    struct ObjectState;
    class SourceStep;
    // Where the source text came from: the name and the folder of its file.
    struct SourceFile {
        std::string name;
        std::filesystem::path folder;
        std::size_t bytes() const { return name.size() + folder.native().size(); }
    };
    SourceFile sourceFile() const;
    class TextStep;

    std::vector<std::string>& entriesOf(ObjectList list);
    void notify(ObjectChange change, ObjectList list = ObjectList::Scripts, std::size_t index = 0) {
        m_observers.notify({change, list, index});
    }
    ObjectState objectState() const;
    void setObjectState(const ObjectState& state);
    void replaceObject(Bilingual label, ObjectState after);
    void setEntryCount(ObjectList list);
    // A typing step into one text of `texts`; `key` tells which, so that typing on merges.
    template <typename Texts>
    void typeInto(Texts& texts, std::string Texts::*member, Bilingual label,
                  std::pair<int, std::size_t> key, ObjectChange change, std::string text);
    void editSource(std::string text, Bilingual label, bool typing, SourceFile fileBefore);
    void sourceChanged();
    PictureFolder pictureFolder() const;
    void refreshSourceState();

    CobData m_cob;
    CobFields m_fieldTexts = fieldsOf(CobData{});
    ClassFields m_classFields;
    std::string m_sourceText;
    SourceState m_source;
    bool m_cleanSourceIsFile = false;  // the clean state is a loaded or saved source file
    std::string m_objectFileName;
    std::string m_sourceFileName;
    std::filesystem::path m_sourceFolder;  // of the source file last loaded or saved
    std::optional<SourcePicture> m_keptPicture;
    // The source text last compiled whole, and the scripts and routines it gave.
    struct CompiledFrom {
        std::string sourceText;
        std::vector<std::string> scripts;
        std::vector<std::string> imports;
    };
    std::optional<CompiledFrom> m_compiledFrom;
    UndoStack m_undo;
    Subscription m_undoObservation;
    ObserverList<ObjectDocumentEvent> m_observers;
};

}  // namespace vek
