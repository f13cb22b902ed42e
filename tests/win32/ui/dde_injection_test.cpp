// The object compiler against the stand-in game over DDE, as the Windows program reaches the game.
#include <QPlainTextEdit>
#include <QProcess>
#include <QTest>
#include <filesystem>

#include "app/file_io.h"
#include "app/ui/qt_convert.h"
#include "objects/ui/cob_injector_page.h"
#include "objects/ui/object_compiler_window.h"
#include "support/ui/workbench_fixture.h"

namespace vek::ui::testing {

namespace fs = std::filesystem;

// vivarium-sim.exe beside this test's build, serving until the end of the scope.
class StandIn {
  public:
    explicit StandIn(const fs::path& log) {
        const QString folder = qEnvironmentVariable("VEK_BINARY_DIR");
        m_process.setProgram(folder + QStringLiteral("/vivarium-sim.exe"));
        m_process.setArguments({QStringLiteral("--log"), fromPath(log)});
        m_process.start();
    }
    ~StandIn() {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    bool serving() {
        QByteArray said;
        for (int tries = 0; tries < 100 && !said.contains("serving"); ++tries) {
            m_process.waitForReadyRead(100);
            said += m_process.readAllStandardOutput();
        }
        return said.contains("serving");
    }

  private:
    QProcess m_process;
};

class DdeInjectionTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void aCompiledObjectIsInjectedIntoTheStandInOverDde() {
        TestWorkbench bench;
        const fs::path log = bench.scratch() / "sim.log";
        StandIn game(log);
        QVERIFY2(game.serving(), "vivarium-sim.exe serves over DDE");
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        window->sourceText()->setPlainText(
            QStringLiteral("inst,new: simp ball 1 0 10 0,setv clas 33882880,endm\n"
                           "scrp 2 5 3 1\ninst\nsnde honk\nendm\n"));
        window->Button8Click();
        QVERIFY(bench.dialogs().errors().empty());
        window->injectorPage()->injectCommand();
        QVERIFY(bench.dialogs().errors().empty());
        const std::string received = readFileText(log);
        QVERIFY2(received.find("scrp 2 5 3 1,inst,snde honk,endm") != std::string::npos,
                 received.c_str());
        QVERIFY2(received.find("new: simp ball 1 0 10 0") != std::string::npos, received.c_str());
    }
};

}  // namespace vek::ui::testing

VEK_UI_TEST_MAIN(vek::ui::testing::DdeInjectionTest)
#include "dde_injection_test.moc"
