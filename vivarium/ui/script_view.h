#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "vivarium/debugger.h"

class QLabel;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace vek::vivarium {
class Session;
}

namespace vek::ui {

struct AppContext;

// The scripts of one object, each command a row as its source wrote it: the command its script
// goes on with is marked (an arrow and a highlight), a breakpoint is a dot in the margin (a
// click there, or F9 on the current row, toggles it), the command a fault stopped at is crossed,
// and while the world is paused a table shows the script's and the object's variables.
class ScriptView : public QWidget {
    Q_OBJECT
  public:
    using SessionSource = std::function<vivarium::Session&()>;
    ScriptView(AppContext& context, SessionSource session, QWidget* parent = nullptr);

    // Shows the scripts of an object (0: none); the variables only when `paused`.
    void showObject(int object, bool paused);
    // Marks the command a fault stopped its script at, until another (or none) is marked.
    void markFault(std::optional<vivarium::Breakpoint> command);
    // Toggles the breakpoint on the current command row; false when no command row is current.
    bool toggleBreakpointAtCurrentRow();
    void retranslate();

  private:
    void showTitle();
    void listScripts(const vivarium::Object* object);
    void markRows(const vivarium::Object* object);
    void showVariables(const vivarium::Object* object, bool paused);
    // The script and the instruction of a command row; none for a script's name row.
    std::optional<vivarium::Breakpoint> placeOfRow(QTreeWidgetItem* item) const;
    bool toggleAt(QTreeWidgetItem* item);

    AppContext& m_context;
    SessionSource m_session;
    int m_object = 0;
    std::vector<vivarium::ScriptKey> m_keys;
    std::vector<const vivarium::Program*> m_programs;  // those listed, to see when they change
    std::vector<std::optional<vivarium::Breakpoint>> m_rows;  // each row's command
    std::optional<vivarium::Breakpoint> m_fault;
    QLabel* m_title = nullptr;
    QTreeWidget* m_commands = nullptr;
    QLabel* m_variablesTitle = nullptr;
    QTableWidget* m_variables = nullptr;
};

}  // namespace vek::ui
