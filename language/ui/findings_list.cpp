#include "language/ui/findings_list.h"

#include "app/settings.h"
#include "app/text_names.h"
#include "app/ui/app_context.h"
#include "app/ui/qt_convert.h"

namespace vek::ui {

namespace {

// More would make the question taller than the screen.
constexpr int kErrorsNamed = 5;

QString inLanguage(const Bilingual& text, std::string_view language) {
    return toQString(text.in(language));
}

}  // namespace

QString findingRow(const Finding& finding, const Bilingual& place, std::string_view language) {
    return inLanguage(place, language).arg(finding.position.line).arg(finding.position.column) +
           QStringLiteral(": ") +
           inLanguage(finding.isError() ? Msg::FindingError : Msg::FindingWarning, language) +
           QStringLiteral(": ") + toQString(finding.text.in(language));
}

FindingsList::FindingsList(const SessionLook& look, QWidget* parent)
    : QListWidget(parent), m_look(look) {
    setObjectName(QStringLiteral("FindingsList"));
    auto choose = [this](QListWidgetItem* item) {
        const Finding& finding = m_findings.at(static_cast<std::size_t>(row(item)));
        Q_EMIT findingChosen(finding.position.line, finding.position.column);
    };
    connect(this, &QListWidget::itemClicked, this, choose);
    connect(this, &QListWidget::itemActivated, this, choose);
}

void FindingsList::setFindings(std::span<const Finding> findings) {
    m_findings.assign(findings.begin(), findings.end());
    retranslate();
}

void FindingsList::retranslate() {
    clear();
    for (const Finding& finding : m_findings) {
        auto* item = new QListWidgetItem(
            findingRow(finding, Msg::FindingLinePlace, m_look.language()), this);
        item->setForeground(finding.isError() ? QColor(0xb0, 0x00, 0x00)
                                              : QColor(0x80, 0x60, 0x00));
    }
}

bool mayGoDespiteErrors(const AppContext& context, std::span<const Finding> findings,
                        const Bilingual& question, const Bilingual& place) {
    if (!hasErrors(findings) || !macroCheckingOn(context.settings)) return true;
    QStringList rows;
    int errors = 0;
    for (const Finding& finding : findings) {
        if (!finding.isError()) continue;
        if (++errors <= kErrorsNamed) rows << findingRow(finding, place, context.look.language());
    }
    if (errors > kErrorsNamed)
        rows << inLanguage(Msg::FindingsMore, context.look.language()).arg(errors - kErrorsNamed);
    const QString text =
        inLanguage(question, context.look.language()).arg(rows.join(QLatin1Char('\n')));
    return context.dialogs.message(text,
                                   inLanguage(Msg::MacroErrorsCaption, context.look.language()),
                                   Buttons::YesNoDefaultNo) == Answer::Yes;
}

}  // namespace vek::ui
