#include "app/ui/macro_report.h"

#include <QStringList>

#include "app/text_names.h"
#include "app/ui/app_context.h"
#include "app/ui/qt_convert.h"

namespace vek::ui {

namespace {

// An injection of a hundred broken scripts names the first few.
constexpr std::size_t kProblemsNamed = 5;

}  // namespace

bool reportMacroProblems(const AppContext& context, std::span<const SentMacro> sent) {
    if (allWentThrough(sent)) return true;
    const std::vector<BilingualText> problems = macroProblems(sent);
    if (problems.empty()) return false;
    const std::string_view language = context.look.language();
    QStringList parts;
    for (std::size_t i = 0; i < problems.size() && i < kProblemsNamed; ++i)
        parts << toQString(problems[i].in(language));
    if (problems.size() > kProblemsNamed)
        parts << context.text(Msg::FindingsMore).arg(problems.size() - kProblemsNamed);
    context.dialogs.message(parts.join(QStringLiteral("\n\n")),
                            context.text(Msg::MacroProblemsCaption), Buttons::Ok);
    return false;
}

QString sentNote(const AppContext& context, std::string_view macro) {
    return context.text(Msg::SentNote).arg(toQString(shownMacro(macro)));
}

}  // namespace vek::ui
