#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/ui/vek_window.h"

class QLabel;
class QPlainTextEdit;

namespace vek::ui {

// TForm9: "About VEK....": the program's picture and name, and in debug mode the system report.
class AboutWindow : public VekWindow {
    Q_OBJECT
  public:
    using ReportLines = std::function<std::vector<std::string>()>;

    AboutWindow(AppContext& context, ReportLines reportLines);

    // The creation step, run once at start-up after the window exists: the report is made
    // here in debug mode, and not refreshed later.
    void FormCreate();

    QPlainTextEdit* memo2() const { return m_report; }

  private:
    ReportLines m_reportLines;
    QLabel* m_picture = nullptr;
    QPlainTextEdit* m_name = nullptr;    // memo1
    QPlainTextEdit* m_report = nullptr;  // Memo2
};

}  // namespace vek::ui
