#include "support/ui/ui_test_main.h"

#include <QTest>
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "app/ui/vek_application.h"

namespace vek::ui::testing {

namespace {

struct RegisteredTest {
    std::string name;
    UiTestFactory make;
};

// Filled by the test files' static initialisers, before main runs.
std::vector<RegisteredTest>& registry() {
    static std::vector<RegisteredTest> tests;
    return tests;
}

UiTestFactory factoryOf(const std::string& name) {
    for (const RegisteredTest& test : registry()) {
        if (test.name == name) return test.make;
    }
    return nullptr;
}

}  // namespace

bool registerUiTest(const char* sourceFile, UiTestFactory make) {
    registry().push_back({std::filesystem::path(sourceFile).stem().string(), make});
    return true;
}

std::vector<std::string> registeredUiTests() {
    std::vector<std::string> names;
    for (const RegisteredTest& test : registry()) names.push_back(test.name);
    return names;
}

UiTestSelection selectUiTests(const std::vector<std::string>& registered,
                              const QStringList& arguments) {
    UiTestSelection selection;
    selection.qtArguments = arguments.mid(0, 1);
    const bool named = arguments.size() > 1 && !arguments[1].startsWith(QLatin1Char('-'));
    if (!named) {
        selection.tests = registered;
        selection.qtArguments = arguments;
        return selection;
    }
    const std::string name = arguments[1].toStdString();
    if (std::find(registered.begin(), registered.end(), name) == registered.end()) {
        QStringList known;
        for (const std::string& each : registered) known << QString::fromStdString(each);
        selection.error = QStringLiteral("No window test named %1 in this program; it has %2.")
                              .arg(arguments[1], known.join(QStringLiteral(", ")));
        return selection;
    }
    selection.tests = {name};
    selection.qtArguments << arguments.mid(2);
    return selection;
}

int runUiTests(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    VekApplication application(argc, argv);
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const UiTestSelection selection = selectUiTests(registeredUiTests(), arguments);
    if (!selection.error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(selection.error));
        return 1;
    }
    int failures = 0;
    for (const std::string& name : selection.tests) {
        const std::unique_ptr<QObject> test = factoryOf(name)();
        failures += QTest::qExec(test.get(), selection.qtArguments);
    }
    // An exit status keeps only its low byte: 256 failures must not read as none.
    return std::min(failures, 127);
}

}  // namespace vek::ui::testing

int main(int argc, char** argv) { return vek::ui::testing::runUiTests(argc, argv); }
