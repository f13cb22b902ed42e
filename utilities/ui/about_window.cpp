#include "utilities/ui/about_window.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QScreen>

#include "app/text_names.h"
#include "app/ui/language.h"
#include "app/ui/qt_convert.h"
#include "app/ui/widgets/designed_layout.h"

namespace vek::ui {

namespace {

constexpr QSize kWindowSize{330, 301};
constexpr QRect kPictureArea{0, 0, 160, 100};
constexpr QRect kNameArea{163, 0, 167, 103};
constexpr QRect kReportArea{0, 112, 329, 177};
// Red 64, green 0, blue 128.
const QColor kDarkPurple{64, 0, 128};

// The program's picture: an egg in the hatchery's light over a green hill.
QPixmap programPicture() {
    QPixmap picture(kPictureArea.size());
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, kPictureArea.height());
    sky.setColorAt(0, QColor(24, 16, 72));
    sky.setColorAt(1, QColor(120, 70, 160));
    painter.fillRect(picture.rect(), sky);
    QPainterPath hill;
    hill.moveTo(0, 100);
    hill.cubicTo(40, 62, 110, 66, 160, 84);
    hill.lineTo(160, 100);
    painter.fillPath(hill, QColor(40, 120, 56));
    QRadialGradient glow(QPointF(80, 52), 42);
    glow.setColorAt(0, QColor(255, 236, 170, 200));
    glow.setColorAt(1, QColor(255, 236, 170, 0));
    painter.setBrush(glow);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(80, 52), 42, 42);
    QLinearGradient shell(62, 26, 98, 82);
    shell.setColorAt(0, QColor(255, 250, 235));
    shell.setColorAt(1, QColor(214, 190, 150));
    painter.setBrush(shell);
    painter.setPen(QPen(QColor(120, 90, 60), 1.2));
    painter.drawEllipse(QRectF(62, 24, 36, 50));
    painter.setPen(QColor(150, 60, 40));
    painter.setBrush(QColor(150, 60, 40));
    for (const QPointF spot : {QPointF(74, 40), QPointF(86, 52), QPointF(72, 60)})
        painter.drawEllipse(spot, 2.5, 2);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(15);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 78, 160, 20), Qt::AlignCenter, QStringLiteral("VEK"));
    return picture;
}

QPlainTextEdit* readOnlyText(DesignedLayout* layout, const char* name, const QRect& area) {
    auto* text = new QPlainTextEdit(layout->parentWidget());
    text->setObjectName(QLatin1String(name));
    text->setReadOnly(true);
    layout->place(text, area);
    return text;
}

}  // namespace

AboutWindow::AboutWindow(AppContext& context, ReportLines reportLines)
    : VekWindow(context, QStringLiteral("TForm9"), QStringLiteral("About VEK....")),
      m_reportLines(std::move(reportLines)) {
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    DesignedLayout* layout = DesignedLayout::install(this, kWindowSize);
    m_picture = new QLabel(centralWidget());
    m_picture->setObjectName(QStringLiteral("Image1"));
    m_picture->setPixmap(programPicture());
    layout->place(m_picture, kPictureArea);

    m_name = readOnlyText(layout, "memo1", kNameArea);
    m_name->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_name->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_name->setFrameShape(QFrame::NoFrame);
    QFont small = m_name->font();
    small.setPointSizeF(7.5);
    m_name->setFont(small);
    m_name->setStyleSheet(
        QStringLiteral("QPlainTextEdit { background: %1; color: white; }").arg(kDarkPurple.name()));
    setBilingualText(m_name, Msg::AboutCredits);

    m_report = readOnlyText(layout, "Memo2", kReportArea);
    m_report->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_report->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_report->setTabStopDistance(m_report->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 12);
    this->layout()->activate();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void AboutWindow::FormCreate() {
    m_report->clear();
    if (context().startup.debugMode()) {
        context().startup.trace(QStringLiteral("About setup..."));
        if (m_reportLines) {
            QStringList lines;
            for (const std::string& line : m_reportLines()) lines << toQString(line);
            // Set whole, so that the report shows from its first line.
            m_report->setPlainText(lines.join(QLatin1Char('\n')));
        }
    }
    context().startup.endTrace();
}

}  // namespace vek::ui
