#include "objects/script_events.h"

#include <utility>

namespace vek {

namespace {

constexpr std::string_view kNamedEvents[] = {
    " 0 Deactivate",
    " 1 Activate(1)",
    " 2 Activate(2)",
    " 3 Hit",
    " 4 Picked up",
    " 5 Dropped",
    " 6 Colission",
    " 7 Enter scope",
    " 8 Leave scope",
    " 9 TIMER",
    "16 EXTRA Quiescent",
    "17 EXTRA Activate(1)",
    "18 EXTRA Activate(2)",
    "19 EXTRA Deactivate",
    "20 EXTRA Seek",
    "21 EXTRA Avoid",
    "22 EXTRA Pickup",
    "23 EXTRA Drop",
    "24 EXTRA Say need",
    "25 EXTRA Rest",
    "26 EXTRA Go West",
    "27 EXTRA Go East",
    "28 EXTRA undefined 1",
    "29 EXTRA undefined 2",
    "30 EXTRA undefined 3",
    "31 EXTRA undefined 4",
    "32 INTRO Quiescent",
    "39 INTRO Drop",
    "40 INTRO Say need",
    "41 INTRO Rest",
    "42 INTRO Go West",
    "43 INTRO Go East",
    "44 INTRO undefined 1",
    "45 INTRO undefined 2",
    "46 INTRO undefined 3",
    "47 INTRO undefined 4",
    "50 POINTER Activate(1)",
    "51 POINTER Activate(2)",
    "52 POINTER Deactivate",
    "53 POINTER Pickup",
    "54 POINTER Drop",
    "64 Involuntary Action 0",
    "65 Involuntary Action 1",
    "66 Involuntary Action 2",
    "67 Involuntary Action 3",
    "68 Involuntary Action 4",
    "69 Involuntary Action 5",
    "70 Involuntary Action 6",
    "71 Involuntary Action 7",
    "72 Death Script",
};
static_assert(std::size(kNamedEvents) == ScriptEventList::kSize);

// The words of the names in German; "EXTRA", "INTRO", "POINTER" and "TIMER" stay as the game
// calls them. The longer phrases come before the words they hold.
constexpr std::pair<std::string_view, std::string_view> kGermanWords[] = {
    {"Involuntary Action", "Unwillk\xc3\xbcrliche Handlung"},
    {"Death Script", "Todesscript"},
    {"Deactivate", "Deaktivieren"},
    {"Activate", "Aktivieren"},
    {"Picked up", "Aufgehoben"},
    {"Dropped", "Fallen gelassen"},
    {"Colission", "Kollision"},
    {"Enter scope", "Kommt in Sicht"},
    {"Leave scope", "Geht aus Sicht"},
    {"Hit", "Schlag"},
    {"Quiescent", "Ruhe"},
    {"Seek", "Suchen"},
    {"Avoid", "Meiden"},
    {"Pickup", "Aufheben"},
    {"Drop", "Fallenlassen"},
    {"Say need", "Bed\xc3\xbcrfnis sagen"},
    {"Rest", "Ausruhen"},
    {"Go West", "Nach Westen"},
    {"Go East", "Nach Osten"},
    {"undefined", "undefiniert"},
};

std::string inGerman(std::string_view text) {
    std::string german(text);
    for (const auto& [english, word] : kGermanWords) {
        const std::size_t at = german.find(english);
        if (at != std::string::npos) {
            german.replace(at, english.size(), word);
            break;
        }
    }
    return german;
}

// Each text carries its number in its first two characters.
int numberOf(std::string_view text) {
    const int tens = text[0] == ' ' ? 0 : text[0] - '0';
    return tens * 10 + (text[1] - '0');
}

}  // namespace

ScriptEventTable::ScriptEventTable() {
    for (std::string_view text : kNamedEvents) {
        const auto event = static_cast<std::size_t>(numberOf(text));
        m_texts[event] = text;
        m_german[event] = inGerman(text);
    }
    for (std::size_t event = 0; event < m_german.size(); ++event)
        m_germanViews[event] = m_german[event];
}

std::string_view ScriptEventTable::lookup(int event) const {
    if (event < 0 || event > kLastEvent) return {};
    return m_texts[static_cast<std::size_t>(event)];
}

ScriptEventList::ScriptEventList(const ScriptEventTable& table) {
    std::size_t position = 0;
    for (int event = 0; event <= ScriptEventTable::kLastEvent; ++event) {
        const std::string_view text = table.lookup(event);
        if (!text.empty()) m_entries.at(position++) = text;
    }
}

const ScriptEventTable& scriptEventTable() {
    static const ScriptEventTable table;
    return table;
}

const ScriptEventList& scriptEventList() {
    static const ScriptEventList list(scriptEventTable());
    return list;
}

}  // namespace vek
