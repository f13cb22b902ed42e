#pragma once

#include "app/messages.h"
#include "app/text_names.h"

namespace vek {

// The question before a source changed and not saved is replaced or left.
inline constexpr BilingualBox kSourceNotSavedBox{Msg::ObjectSourceNotSavedBoxText,
                                                 Msg::ObjectSourceNotSavedBoxCaption};

// What is known about the text of the source page: changed since it was last loaded or saved,
// compiled since it last changed, and saved (it is what a .COS file holds).
struct SourceState {
    bool changed = false;
    bool compiled = false;
    bool saved = false;

    void textChanged() {
        changed = true;
        compiled = false;
        saved = false;
    }
    void loadedFromFile() {
        changed = false;
        compiled = false;
        saved = true;
    }
    void savedToFile() {
        changed = false;
        saved = true;
    }
    void compiledNow() { compiled = true; }

    bool changedButNotSaved() const { return changed && !saved; }
    bool changedButNotCompiled() const { return changed && !compiled; }

    bool operator==(const SourceState&) const = default;
};

}  // namespace vek
