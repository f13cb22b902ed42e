#include "objects/ui/animation_preview_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

#include "app/text_names.h"
#include "app/ui/app_context.h"
#include "app/ui/qt_convert.h"
#include "app/ui/widgets/animation_preview.h"
#include "app/vek_error.h"
#include "sprites/sprite_palette.h"
#include "sprites/sprite_render.h"

namespace vek::ui {

namespace {

// The sprites a range starts with when the preview opens on a file.
constexpr std::size_t kFirstRange = 10;

}  // namespace

AnimationPreviewWindow::AnimationPreviewWindow(QWidget* parent, AppContext& context,
                                               const PaletteTable& palette,
                                               const PictureSource& pictures)
    : QWidget(parent, Qt::Window),
      m_context(context),
      m_gamePalette(palette),
      m_pictures(pictures) {
    setObjectName(QStringLiteral("AnimationPreviewWindow"));
    auto* column = new QVBoxLayout(this);
    auto* fields = new QGridLayout;
    m_firstLabel = new QLabel(this);
    m_lastLabel = new QLabel(this);
    m_stringLabel = new QLabel(this);
    m_first = new QSpinBox(this);
    m_first->setObjectName(QStringLiteral("FirstSprite"));
    m_last = new QSpinBox(this);
    m_last->setObjectName(QStringLiteral("LastSprite"));
    m_string = new QLineEdit(this);
    m_string->setObjectName(QStringLiteral("AnimationString"));
    fields->addWidget(m_firstLabel, 0, 0);
    fields->addWidget(m_first, 0, 1);
    fields->addWidget(m_lastLabel, 0, 2);
    fields->addWidget(m_last, 0, 3);
    fields->addWidget(m_stringLabel, 1, 0, 1, 4);
    fields->addWidget(m_string, 2, 0, 1, 4);
    column->addLayout(fields);

    m_preview = new AnimationPreview(this);
    m_preview->setObjectName(QStringLiteral("Preview"));
    m_preview->setMinimumSize(160, 160);
    column->addWidget(m_preview, 1);

    auto* buttons = new QHBoxLayout;
    m_playButton = new QPushButton(this);
    m_playButton->setObjectName(QStringLiteral("PlayButton"));
    m_slowerButton = new QPushButton(this);
    m_slowerButton->setObjectName(QStringLiteral("SlowerButton"));
    m_fasterButton = new QPushButton(this);
    m_fasterButton->setObjectName(QStringLiteral("FasterButton"));
    m_rateLabel = new QLabel(this);
    m_rateLabel->setObjectName(QStringLiteral("RateLabel"));
    for (QWidget* control :
         {static_cast<QWidget*>(m_playButton), static_cast<QWidget*>(m_slowerButton),
          static_cast<QWidget*>(m_fasterButton)})
        buttons->addWidget(control);
    buttons->addWidget(m_rateLabel, 1);
    column->addLayout(buttons);
    m_stateLabel = new QLabel(this);
    m_stateLabel->setObjectName(QStringLiteral("StateLabel"));
    column->addWidget(m_stateLabel);

    connect(m_playButton, &QPushButton::clicked, this, [this] {
        if (m_preview->playing()) {
            m_preview->stop();
        } else {
            m_preview->play();
        }
    });
    connect(m_slowerButton, &QPushButton::clicked, this, [this] {
        m_preview->slower();
        showRate();
    });
    connect(m_fasterButton, &QPushButton::clicked, this, [this] {
        m_preview->faster();
        showRate();
    });
    connect(m_preview, &AnimationPreview::stepShown, this, &AnimationPreviewWindow::showStep);
    connect(m_first, &QSpinBox::valueChanged, this, [this] { replan(); });
    connect(m_last, &QSpinBox::valueChanged, this, [this] { replan(); });
    connect(m_string, &QLineEdit::textChanged, this, [this] { replan(); });
    resize(360, 440);
}

AnimationPreviewWindow::~AnimationPreviewWindow() = default;

void AnimationPreviewWindow::play(const std::filesystem::path& file, std::size_t first,
                                  const std::string& text) {
    m_table = readSpriteTable(file);
    m_palette = paletteForSpriteFile(file, m_gamePalette);
    showTexts();
    const int last = static_cast<int>(m_table.count()) - 1;
    {
        const QSignalBlocker firstBlocker(m_first);
        const QSignalBlocker lastBlocker(m_last);
        const QSignalBlocker stringBlocker(m_string);
        m_first->setRange(0, std::max(last, 0));
        m_last->setRange(0, std::max(last, 0));
        m_first->setValue(static_cast<int>(first));
        m_last->setValue(std::min(static_cast<int>(first + kFirstRange) - 1, last));
        m_string->setText(toQString(text));
    }
    setWindowTitle(m_context.text(Msg::AnimationPreviewTitle) + QStringLiteral(" - ") +
                   fromPath(file.filename()));
    replan();
    show();
    raise();
    m_preview->play();
}

void AnimationPreviewWindow::showTexts() {
    m_firstLabel->setText(m_context.text(Msg::AnimationFirstSprite));
    m_lastLabel->setText(m_context.text(Msg::AnimationLastSprite));
    m_stringLabel->setText(m_context.text(Msg::AnimationStringLabel));
    m_slowerButton->setText(m_context.text(Msg::AnimationSlower));
    m_fasterButton->setText(m_context.text(Msg::AnimationFaster));
    showRate();
}

void AnimationPreviewWindow::replan() {
    const bool wasPlaying = m_preview->playing();
    m_problem.clear();
    m_plan = {};
    const auto first = static_cast<std::size_t>(m_first->value());
    const std::string text = m_string->text().trimmed().toStdString();
    try {
        if (text.empty()) {
            // A range longer than the longest is cut short at its far end.
            const auto last = static_cast<std::size_t>(m_last->value());
            const std::size_t reach = kLongestRange - 1;
            const std::size_t end = last >= first ? std::min(last, first + reach)
                                                  : std::max(last, first - std::min(first, reach));
            m_plan = planSpriteRange(first, end, m_table.count());
        } else {
            m_plan = planAnimation(text, first, m_table.count());
        }
    } catch (const VekError& error) {
        m_problem = toQString(error.message(m_context.look.language()));
    }
    // Each sprite is read and drawn once, however often the animation shows it.
    std::vector<QImage> frames;
    std::vector<int> sequence;
    std::map<std::size_t, int> drawn;
    const ScreenColor background = m_context.look.spriteBackground();
    try {
        for (const std::size_t sprite : m_plan.sprites) {
            auto [at, added] = drawn.try_emplace(sprite, static_cast<int>(frames.size()));
            if (added) {
                // The sprite open for painting as it is drawn, the others as saved.
                std::optional<SpriteImage> unsaved = m_pictures.drawnSprite(m_table.file, sprite);
                const SpriteImage image =
                    unsaved ? std::move(*unsaved)
                            : readSprite(m_table.file, m_table.entries.at(sprite));
                frames.push_back(toQImage(renderDrawingArea(image, m_palette, 1, background)));
            }
            sequence.push_back(at->second);
        }
    } catch (const VekError& error) {
        m_problem = toQString(error.message(m_context.look.language()));
        frames.clear();
        sequence.clear();
    }
    m_preview->setBackground(toQColor(background));
    m_preview->setAnimation(std::move(frames), std::move(sequence), m_plan.repeats);
    if (wasPlaying) m_preview->play();
}

void AnimationPreviewWindow::showStep(int step) {
    m_playButton->setText(
        m_context.text(m_preview->playing() ? Msg::AnimationStop : Msg::AnimationPlay));
    if (!m_problem.isEmpty() || m_plan.sprites.empty()) {
        m_stateLabel->setText(m_problem);
        return;
    }
    const auto sprite = m_plan.sprites.at(static_cast<std::size_t>(step));
    m_stateLabel->setText(
        m_context.text(Msg::AnimationFrame).arg(step + 1).arg(m_plan.sprites.size()).arg(sprite));
    m_context.commands.previewFrameShown(m_table.file, sprite);
}

void AnimationPreviewWindow::showRate() {
    m_rateLabel->setText(m_context.text(Msg::AnimationRate).arg(m_preview->rate()));
}

QString AnimationPreviewWindow::stateText() const { return m_stateLabel->text(); }

}  // namespace vek::ui
