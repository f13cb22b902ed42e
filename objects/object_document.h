#pragma once

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/observers.h"
#include "objects/cob_compiler.h"
#include "objects/cob_data.h"
#include "objects/cob_fields.h"
#include "objects/source_state.h"

namespace vek {

// The two lists of an object.
enum class ObjectList { Scripts, Imports };

// What changed in an object document.
enum class ObjectChange {
    Replaced,      // the whole object (load, compile, new); fieldTexts() tells what to show
    Compiled,      // the source was read into the object; its fields are taken over next
    EntryAdded,    // `list` got an entry at `index`
    EntryRemoved,  // `list` lost the entry at `index`
    EntryEdited,   // the entry at `index` of `list` has a new text
    PictureTaken,  // the picture was replaced
};

struct ObjectDocumentEvent {
    ObjectChange change;
    ObjectList list = ObjectList::Scripts;
    std::size_t index = 0;
};

// The entry that New adds to a list, until it is edited.
inline constexpr std::string_view kEmptyEntry = "<empty>";

// The one object of the object compiler (CobData), what is known of the source text
// (SourceState), the remembered object and source file names, and the rules of the script and
// import lists. Observers are told of every change.
class ObjectDocument {
  public:
    using Observer = ObserverList<ObjectDocumentEvent>::Observer;
    [[nodiscard]] Subscription observe(Observer observer) { return m_observers.add(observer); }

    const CobData& cob() const { return m_cob; }
    const std::vector<std::string>& entries(ObjectList list) const;
    // The texts the object's fields show after it was last replaced or saved.
    const CobFields& fieldTexts() const { return m_fieldTexts; }

    SourceState& source() { return m_source; }
    const SourceState& source() const { return m_source; }

    // Name parts only, without the directory.
    const std::string& objectFileName() const { return m_objectFileName; }
    const std::string& sourceFileName() const { return m_sourceFileName; }
    void rememberSourceFile(std::string_view path);

    // New: the object as before a compilation, and no object file name.
    void newObject();
    // Reads an object file; one that cannot be read leaves the object as it was.
    void load(const std::filesystem::path& file);
    // Writes the object with the header values of `fields`, which it then keeps; a field that is
    // no number stops the save before the file is touched.
    void save(const std::filesystem::path& file, const CobFields& fields);
    // Compiles the source from the reset state. A "sprite" line that fails or a 101st entry
    // stops it with the entries collected up to there; a field the source left that is no number
    // stops it after the scripts and imports are in.
    void compile(std::span<const std::string_view> source, const CompileSettings& settings);

    // A new "<empty>" entry, unless the list already ends in one; a list holds at most 100.
    void addEntry(ObjectList list);
    void removeEntry(ObjectList list, std::size_t index);
    void editEntry(ObjectList list, std::size_t index, std::string text);
    // Takes a sprite (rows top-down) as the object's picture.
    void takePicture(const SpriteImage& sprite);

  private:
    std::vector<std::string>& entriesOf(ObjectList list);
    void replace(CobData cob, CobFields fields);
    void notify(ObjectChange change, ObjectList list = ObjectList::Scripts, std::size_t index = 0) {
        m_observers.notify({change, list, index});
    }

    CobData m_cob;
    CobFields m_fieldTexts = fieldsOf(CobData{});
    SourceState m_source;
    std::string m_objectFileName;
    std::string m_sourceFileName;
    ObserverList<ObjectDocumentEvent> m_observers;
};

}  // namespace vek
