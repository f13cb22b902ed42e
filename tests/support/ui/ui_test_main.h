#pragma once

#include <QObject>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

// The window tests of one folder share one program: each test file registers its test class
// under the file's name, and ctest runs one of them a process, so that every test keeps its name
// and a process of its own.
namespace vek::ui::testing {

using UiTestFactory = std::unique_ptr<QObject> (*)();

// Registers the test class of `sourceFile` (its __FILE__) under the file's name without folder
// and extension, e.g. "map_window_test".
bool registerUiTest(const char* sourceFile, UiTestFactory make);

// What a window test program runs, read from its arguments: the first names one test, and the
// rest go to Qt Test; without a name (none, or an option first) every test runs in turn with all
// the arguments. A first argument that names no test is an error.
struct UiTestSelection {
    std::vector<std::string> tests;
    QStringList qtArguments;  // with the program's name first, as Qt Test expects
    QString error;
};
UiTestSelection selectUiTests(const std::vector<std::string>& registered,
                              const QStringList& arguments);

// The names registered so far, in order of registration.
std::vector<std::string> registeredUiTests();

// Runs the selected tests in the program's own offscreen application; the count of failures.
int runUiTests(int argc, char** argv);

}  // namespace vek::ui::testing

// Makes TestClass the window test of this file.
#define VEK_UI_TEST_MAIN(TestClass)                                                            \
    namespace {                                                                                \
    [[maybe_unused]] const bool registeredUiTest = vek::ui::testing::registerUiTest(           \
        __FILE__, []() -> std::unique_ptr<QObject> { return std::make_unique<TestClass>(); }); \
    }
