#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>

#include "app/ui/widgets/designed_layout.h"
#include "support/ui/workbench_fixture.h"

using namespace vek::ui;
using vek::ui::testing::fontSetName;

class DesignedLayoutTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    // Designed edges stay where no span needs more; a span that needs more pushes every edge
    // after it on by its growth, and the largest need decides.
    void edgesMoveOnByTheGrowthBeforeThem() {
        const struct {
            const char* what;
            std::vector<DesignedSpan> spans;
            int extent;
            std::vector<std::pair<int, int>> moved;
        } cases[] = {
            {"all fit",
             {{4, 92, 50}, {94, 130, 36}},
             229,
             {{0, 0}, {4, 4}, {92, 92}, {94, 94}, {130, 130}, {229, 229}}},
            {"a label grows",
             {{4, 92, 103}, {94, 130, 36}},
             229,
             {{0, 0}, {4, 4}, {92, 107}, {94, 109}, {130, 145}, {229, 244}}},
            {"the larger of two overlapping needs",
             {{0, 10, 30}, {5, 10, 12}},
             20,
             {{0, 0}, {5, 5}, {10, 30}, {20, 40}}},
            {"growth adds up along a row",
             {{0, 10, 15}, {10, 20, 20}},
             20,
             {{0, 0}, {10, 15}, {20, 35}}},
        };
        for (const auto& c : cases) QVERIFY2(fitEdges(c.spans, c.extent) == c.moved, c.what);
    }

    // A window keeps its designed size while its texts fit, and grows, with the controls right
    // of the grown one, when a text set later (the language switch) needs more.
    void aLongerTextGrowsItsControlTheControlsBesideAndTheWindow() {
        QMainWindow window;
        QFont small = window.font();
        small.setPixelSize(11);
        window.setFont(small);
        DesignedLayout* layout = DesignedLayout::install(&window, {200, 30});
        auto* label = new QLabel(QStringLiteral("Size:"), window.centralWidget());
        auto* field = new QLineEdit(window.centralWidget());
        auto* button = new QPushButton(QStringLiteral("Go"), window.centralWidget());
        layout->place(label, {4, 4, 60, 21});
        layout->place(field, {66, 4, 40, 21});
        layout->place(button, {110, 4, 80, 21});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // A shown window is laid out and sized from the event loop: each comparison waits.
        QTRY_COMPARE(window.size(), QSize(200, 30));
        QTRY_COMPARE(field->geometry(), QRect(66, 4, 40, 21));

        label->setText(QStringLiteral("A size that needs far more room than designed:"));
        button->setText(QStringLiteral("Create the file with every sprite"));
        QTRY_VERIFY2(label->width() >= label->sizeHint().width(), qPrintable(fontSetName()));
        const int growth = label->width() - 60;
        QTRY_COMPARE(field->geometry(), QRect(66 + growth, 4, 40, 21));
        QTRY_VERIFY2(button->width() > button->fontMetrics().horizontalAdvance(button->text()),
                     qPrintable(fontSetName()));
        QTRY_COMPARE(window.width(), button->geometry().right() + 1 + 10);
        QTRY_COMPARE(window.height(), 30);
    }
};

VEK_UI_TEST_MAIN(DesignedLayoutTest)
#include "designed_layout_test.moc"
