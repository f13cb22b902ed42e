#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/macro_outcome.h"
#include "app/messages.h"
#include "app/text_names.h"
#include "language/checker.h"
#include "objects/cob_data.h"
#include "objects/object_document.h"

namespace vek {

inline constexpr std::string_view kKillEditMacro = "inst,kill edit,endm";
inline constexpr std::string_view kInjectionClosingMacro = "inst,sys: wtop,endm";
// How long the game gets for the sent scripts before the closing macro.
inline constexpr std::chrono::milliseconds kInjectionSettleTime{2000};

inline constexpr BilingualBox kNotCompiledBox{Msg::ObjectNotCompiledBoxText,
                                              Msg::ObjectNotCompiledBoxCaption};
inline constexpr BilingualBox kNothingToInjectBox{Msg::ObjectNothingToInjectBoxText,
                                                  Msg::ObjectNothingToInjectBoxCaption};

// "dde: scrp 0 0 0 17,inst," + script.
std::string scriptInjectionMacro(std::string_view script);
// "dde: scrp 0 0 0 17," + import + ",endm".
std::string importInjectionMacro(std::string_view import);

// The same macros, each character of the script or import at the place it was written.
MacroText scriptInjectionMacro(const MacroText& script);
MacroText importInjectionMacro(const MacroText& import);

// Sends one macro over the game link and returns what became of it.
using MacroSender = std::function<MacroOutcome(std::string_view)>;

// What an injection needs of its surroundings.
struct InjectionSteps {
    MacroSender sendMacro;
    // An OK/Cancel question; true for OK.
    std::function<bool(const BilingualBox&)> askOkCancel;
    // An OK box.
    std::function<void(const BilingualText& text, const Bilingual& caption)> showMessage;
    // Progress in the window title, and the title as it was before.
    std::function<void(const std::string&)> showProgress;
    std::function<void()> restoreTitle;
    // Elapsed-time wait that takes no other input.
    std::function<void(std::chrono::milliseconds)> wait;
};

// What injection asks of the source page.
struct SourceBeforeInjecting {
    bool changedNotCompiled = false;  // changed since it was last compiled
    bool textNotCompiled = false;     // holds a text that was not compiled since it last changed
};
SourceBeforeInjecting sourceBeforeInjecting(const ObjectDocument& document);

// The text of the box for an object without scripts and imports: the designed one, and where a
// source waits uncompiled, the advice to compile it first.
BilingualText nothingToInjectText(const SourceBeforeInjecting& source);

// Where the link takes an injected object.
enum class InjectionTarget { Game, GameUnderWine, StandInGame, Vivarium };
// The note that the object went there and arrived.
BilingualText injectedNote(InjectionTarget target, std::string_view objectName);

enum class InjectionOutcome { Injected, Cancelled, NothingToInject };

struct InjectionResult {
    InjectionOutcome outcome = InjectionOutcome::Cancelled;
    std::vector<SentMacro> sent;  // every macro sent, in order, with what became of it
};

// Sends every script and the first installation routine as macros, waits, and sends the
// closing macro. Uncompiled changes are asked about first; an object without scripts and
// imports is reported whatever the answer was. The title is put back even if a send fails.
InjectionResult injectObject(const CobData& cob, const SourceBeforeInjecting& source,
                             std::string_view language, const InjectionSteps& steps);

// Checks what an injection sends: every script and the first installation routine, numbered
// as checkCobData numbers them. A further routine is never sent, so it is not held against it.
std::vector<Finding> checkInjection(const CobData& cob);

// What an injection of the document's object sends, checked: where the object is what its
// source compiles to, the source's scripts and first routine, the findings at source lines and
// columns; else the object's, at "script N".
struct InjectionCheck {
    std::vector<Finding> findings;
    bool atSourceLines = false;
};
InjectionCheck checkBeforeInjecting(const ObjectDocument& document);

// The object the game's edit mode holds is removed.
SentMacro killEditObject(const MacroSender& sendMacro);

// Sleeps for the wait of a real injection.
void sleepFor(std::chrono::milliseconds duration);

// The steps of a sender without a window: every question answered OK, no title to show, the
// real wait. What it tells is the caller's to set (`showMessage`, `showProgress`).
InjectionSteps unattendedInjectionSteps(MacroSender sendMacro);

}  // namespace vek
