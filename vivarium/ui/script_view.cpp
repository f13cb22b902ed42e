#include "vivarium/ui/script_view.h"

#include <QBrush>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/text_names.h"
#include "app/ui/app_context.h"
#include "app/ui/qt_convert.h"
#include "vivarium/debugger.h"
#include "vivarium/session.h"

namespace vek::ui {

namespace {

const QString kArrow = QStringLiteral("▶");
const QString kDot = QStringLiteral("●");
const QColor kRunningRow(255, 236, 150);
const QString kCross = QStringLiteral("✖");
const QColor kFaultRow(255, 200, 200);
constexpr int kMarginColumn = 0;

QString scriptName(const vivarium::ScriptKey& key) {
    return QStringLiteral("scrp %1 %2 %3 %4")
        .arg(key.family)
        .arg(key.genus)
        .arg(key.species)
        .arg(key.event);
}

}  // namespace

ScriptView::ScriptView(AppContext& context, SessionSource session, QWidget* parent)
    : QWidget(parent), m_context(context), m_session(std::move(session)) {
    setObjectName(QStringLiteral("ScriptView"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    m_title = new QLabel(this);
    auto* row = new QHBoxLayout;
    m_commands = new QTreeWidget(this);
    m_commands->setObjectName(QStringLiteral("ScriptCommands"));
    m_commands->setColumnCount(3);
    m_commands->setRootIsDecorated(false);
    m_commands->header()->setSectionResizeMode(kMarginColumn, QHeaderView::ResizeToContents);
    m_commands->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    connect(m_commands, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int at) {
        if (at == kMarginColumn) toggleAt(item);
    });
    auto* variablesColumn = new QVBoxLayout;
    m_variablesTitle = new QLabel(this);
    m_variables = new QTableWidget(0, 2, this);
    m_variables->setObjectName(QStringLiteral("ScriptVariables"));
    m_variables->verticalHeader()->hide();
    m_variables->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_variables->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 2);
    m_variables->setFixedWidth(170);
    m_variables->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_variables->setColumnWidth(0, 50);
    m_variables->horizontalHeader()->setStretchLastSection(true);
    variablesColumn->addWidget(m_variablesTitle);
    variablesColumn->addWidget(m_variables, 1);
    row->addWidget(m_commands, 1);
    row->addLayout(variablesColumn);
    column->addWidget(m_title);
    column->addLayout(row, 1);
}

void ScriptView::showObject(int object, bool paused) {
    const vivarium::World& world = m_session().world();
    const vivarium::Object* found = world.find(object);
    m_object = found ? object : 0;
    showTitle();
    listScripts(found);
    markRows(found);
    showVariables(found, paused);
}

void ScriptView::listScripts(const vivarium::Object* object) {
    std::vector<vivarium::ScriptKey> keys;
    std::vector<const vivarium::Program*> programs;
    std::vector<std::pair<vivarium::ScriptKey, std::shared_ptr<const vivarium::Program>>> scripts;
    if (object) scripts = vivarium::scriptsOf(m_session().world(), *object);
    for (const auto& [key, program] : scripts) {
        keys.push_back(key);
        programs.push_back(program.get());
    }
    // Rows are made anew only when other scripts are shown, so that the current row stays.
    if (programs == m_programs && keys == m_keys) return;
    m_keys = std::move(keys);
    m_programs = std::move(programs);
    m_commands->clear();
    m_rows.clear();
    // One flat list, each script's name row before its commands: no indentation before the
    // margin.
    for (std::size_t k = 0; k < m_keys.size(); ++k) {
        auto* name = new QTreeWidgetItem(m_commands, {QString(), QString(), scriptName(m_keys[k])});
        QFont bold = name->font(2);
        bold.setBold(true);
        name->setFont(2, bold);
        m_rows.emplace_back();
        for (const vivarium::CommandRow& command : vivarium::commandRows(*m_programs[k])) {
            const QString line = command.line > 0 ? QString::number(command.line) : QString();
            new QTreeWidgetItem(m_commands,
                                {QString(), line, QStringLiteral("  ") + toQString(command.text)});
            m_rows.emplace_back(vivarium::Breakpoint{m_keys[k], command.instruction});
        }
    }
}

void ScriptView::markRows(const vivarium::Object* object) {
    const vivarium::Session& session = m_session();
    const auto running = object ? vivarium::runningCommand(session.world(), *object) : std::nullopt;
    for (int row = 0; row < m_commands->topLevelItemCount(); ++row) {
        const auto& here = m_rows[static_cast<std::size_t>(row)];
        if (!here) continue;
        QTreeWidgetItem* command = m_commands->topLevelItem(row);
        const bool isRunning = running == here;
        const bool faulted = m_fault == here;
        const QString margin = (session.debugger().hasBreakpoint(*here) ? kDot : QString()) +
                               (isRunning ? kArrow : QString()) + (faulted ? kCross : QString());
        if (command->text(kMarginColumn) != margin) command->setText(kMarginColumn, margin);
        command->setForeground(kMarginColumn, QBrush(Qt::red));
        const QBrush background = faulted     ? QBrush(kFaultRow)
                                  : isRunning ? QBrush(kRunningRow)
                                              : QBrush();
        for (int column = 0; column < 3; ++column) command->setBackground(column, background);
        if ((isRunning && session.stop()) || faulted) m_commands->scrollToItem(command);
    }
}

void ScriptView::showVariables(const vivarium::Object* object, bool paused) {
    const bool shown = paused && object;
    auto rows = vivarium::variableRows(shown && object->run ? &*object->run : nullptr);
    // The object's own variables beside its script's.
    for (vivarium::VariableRow& row : vivarium::objectVariableRows(shown ? object : nullptr))
        rows.push_back(std::move(row));
    m_variables->setRowCount(static_cast<int>(rows.size()));
    for (int k = 0; k < m_variables->rowCount(); ++k) {
        const vivarium::VariableRow& row = rows[static_cast<std::size_t>(k)];
        const QString texts[] = {toQString(row.name), toQString(row.value)};
        for (int column = 0; column < 2; ++column) {
            QTableWidgetItem* cell = m_variables->item(k, column);
            if (!cell) m_variables->setItem(k, column, cell = new QTableWidgetItem);
            if (cell->text() != texts[column]) cell->setText(texts[column]);
        }
    }
    m_variables->setEnabled(shown);
}

std::optional<vivarium::Breakpoint> ScriptView::placeOfRow(QTreeWidgetItem* item) const {
    const int row = item ? m_commands->indexOfTopLevelItem(item) : -1;
    if (row < 0 || static_cast<std::size_t>(row) >= m_rows.size()) return std::nullopt;
    return m_rows[static_cast<std::size_t>(row)];
}

bool ScriptView::toggleAt(QTreeWidgetItem* item) {
    const auto place = placeOfRow(item);
    if (!place) return false;
    m_session().debugger().toggleBreakpoint(*place);
    markRows(m_session().world().find(m_object));
    return true;
}

void ScriptView::markFault(std::optional<vivarium::Breakpoint> command) {
    m_fault = std::move(command);
    markRows(m_session().world().find(m_object));
}

bool ScriptView::toggleBreakpointAtCurrentRow() { return toggleAt(m_commands->currentItem()); }

void ScriptView::retranslate() {
    m_commands->setHeaderLabels({QString(), m_context.text(Msg::VivariumColumnLine),
                                 m_context.text(Msg::VivariumColumnCommand)});
    m_variables->setHorizontalHeaderLabels(
        {m_context.text(Msg::VivariumColumnName), m_context.text(Msg::VivariumColumnValue)});
    m_variablesTitle->setText(m_context.text(Msg::VivariumVariablesTitle));
    showTitle();
}

void ScriptView::showTitle() {
    m_title->setText(m_object == 0 ? m_context.text(Msg::VivariumNoObjectSelected)
                                   : m_context.text(Msg::VivariumScriptsTitle).arg(m_object));
}

}  // namespace vek::ui
