// The macro language checker, over a macro and over a source. Findings lie within the text they
// name, and a source checked edit by edit (with a class catalogue) finds what a whole check of
// the result finds. The
// layout changes only blanks at line starts and is the same the second time; the outline, its
// navigation and an animation string's reading stay inside the text.
#include "app/file_io.h"
#include "language/animation.h"
#include "language/checker.h"
#include "language/installation_rules.h"
#include "language/layout.h"
#include "language/outline.h"
#include "language/quick_fix.h"
#include "objects/object_check.h"
#include "objects/script_events.h"
#include "objects/source_lines.h"
#include "tests/fuzz/fuzz_support.h"

namespace vek::fuzz {

namespace {

std::string describe(const std::vector<Finding>& findings) {
    std::string text;
    for (const Finding& f : findings) {
        text += std::to_string(f.position.line) + ":" + std::to_string(f.position.column) + ":" +
                std::to_string(static_cast<int>(f.code)) + "\n";
    }
    return text;
}

}  // namespace

std::vector<Bytes> seeds() {
    return {bytesOf("inst,new: simp ball 1 0 10 0,setv clas 33882880,anim[012R],endm"),
            bytesOf("scrp 2 5 3 1\n  doif obv0 eq 1 and touc ownr pntr ne 0\n    gsub abcd\n"
                    "  else\nreps 3,repe\n  endi\nstop\nsubr abcd\nretn\nendm\nsnde drip\n"),
            bytesOf("* x\ninst\nsay$ [open\nendm\nscrp 2 5 3 80\nnext\n")};
}

void fuzzOne(std::span<const std::uint8_t> input) {
    const std::string_view text = asText(input);
    const MacroText macro(text);
    for (const MacroKind kind :
         {MacroKind::Macro, MacroKind::Script, MacroKind::Routine, MacroKind::ScriptBody}) {
        for (const Finding& finding : checkMacro(macro, kind, objectCheckOptions())) {
            expectSame(
                finding.position.line >= 1 && finding.position.column >= 1 && finding.length >= 1,
                "finding inside the text");
        }
    }
    for (const Token& token : tokenizeCommands(text))
        expectSame(token.start >= 0 && token.length >= 0, "token inside the text");
    // The argument at the caret, with the caret anywhere and beyond the end.
    for (const int column :
         {0, static_cast<int>(text.size() / 2), static_cast<int>(text.size()) + 1}) {
        const ArgumentPlace place = argumentAt(text, column);
        expectSame(!place.word || (place.index >= 0 && static_cast<std::size_t>(place.index) <
                                                           place.word->arguments.size()),
                   "argument of the word");
    }

    // The input's lines, then the same with its first half edited in: by a replacement and by
    // a whole check.
    const std::vector<std::string_view> views = splitLines(text);
    const std::vector<std::string> lines(views.begin(), views.end());
    // With a catalogue, so that the marks across sections (scripts of classes nothing creates)
    // are checked edit by edit too.
    CheckOptions options = objectCheckOptions();
    auto installation = std::make_shared<InstallationFacts>();
    installation->knowsClass = [](int family, int genus, int species) {
        return family == 2 && genus == 5 && species == 3;
    };
    options.installation = installation;
    SourceCheck check(options);
    check.reset(lines);
    const std::size_t first = lines.size() / 3;
    const std::size_t removed = (lines.size() - first) / 2;
    const std::vector<std::string> inserted(lines.begin(),
                                            lines.begin() + static_cast<std::ptrdiff_t>(first));
    check.replaceLines(first, removed, inserted);
    expectSame(describe(check.findings()) == describe(checkSourceLines(check.lines(), options)),
               "source checked edit by edit");

    const std::string laidOut = formatSourceText(text, sourceLineReading);
    expectSame(formatSourceText(laidOut, sourceLineReading) == laidOut, "layout the same twice");
    const auto withoutBlanks = [](std::string_view source) {
        std::string kept;
        bool lineStart = true;
        for (const char c : source) {
            if (lineStart && (c == ' ' || c == '\t')) continue;
            lineStart = c == '\n';
            kept += c;
        }
        return kept;
    };
    expectSame(withoutBlanks(laidOut) == withoutBlanks(text), "layout changes only blanks");
    for (const OutlineEntry& entry :
         outlineOf(lines, sourceLineReading, scriptEventTable().texts()))
        expectSame(
            entry.position.line >= 1 && entry.position.line <= static_cast<int>(lines.size()),
            "outline inside the text");
    const TextPosition middle{static_cast<int>(lines.size() / 2) + 1, 3};
    if (const auto definition = definitionAt(lines, sourceLineReading, middle))
        expectSame(definition->line <= static_cast<int>(lines.size()), "definition inside");
    for (const Finding& finding : checkSourceLines(lines)) {
        for (const QuickFix& fix : quickFixesFor(finding, lines, sourceLineReading))
            expectSame(fix.at.line >= 1 && fix.at.column >= 1, "fix inside the text");
    }
    const Animation animation = readAnimation(text);
    expectSame(animation.wellFormed() || animation.faultAt < text.size(), "fault inside");
}

}  // namespace vek::fuzz
