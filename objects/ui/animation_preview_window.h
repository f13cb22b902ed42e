#pragma once

#include <QWidget>
#include <filesystem>
#include <string>
#include <vector>

#include "objects/animation_plan.h"
#include "objects/picture_source.h"
#include "sprites/palette.h"
#include "sprites/sprite_file.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace vek::ui {

class AnimationPreview;
class AppContext;

// "Animation Preview": plays sprites of a file, a range of them or an animation string counted
// from a first sprite, at the game's rate and slower or faster. The sprite editor and the object
// compiler's source page open it; it reads the file itself, in the palette beside it or the
// game's, but takes the sprite open for painting as it is drawn (`PictureSource::drawnSprite`).
class AnimationPreviewWindow : public QWidget {
    Q_OBJECT
  public:
    // The largest range of sprites played at once.
    static constexpr int kLongestRange = 100;

    AnimationPreviewWindow(QWidget* parent, AppContext& context, const PaletteTable& palette,
                           const PictureSource& pictures);
    ~AnimationPreviewWindow() override;

    // Opens the file and plays from `first`: the animation string, or when it is empty the
    // sprites from `first` on (at most ten to start with). A file that cannot be read is thrown.
    void play(const std::filesystem::path& file, std::size_t first, const std::string& text);

    // For the tests and the captions.
    AnimationPreview& preview() const { return *m_preview; }
    const AnimationPlan& plan() const { return m_plan; }
    // What the line under the picture says: the step on show, or why nothing plays.
    QString stateText() const;

  private:
    void showTexts();
    // Builds the frames anew from the fields; a string that is not one is told in the state line.
    void replan();
    void showStep(int step);
    void showRate();

    AppContext& m_context;
    const PaletteTable& m_gamePalette;
    const PictureSource& m_pictures;
    PaletteTable m_palette;
    SpriteTable m_table;
    AnimationPlan m_plan;
    QString m_problem;

    QLabel* m_firstLabel = nullptr;
    QLabel* m_lastLabel = nullptr;
    QLabel* m_stringLabel = nullptr;
    QSpinBox* m_first = nullptr;
    QSpinBox* m_last = nullptr;
    QLineEdit* m_string = nullptr;
    AnimationPreview* m_preview = nullptr;
    QPushButton* m_playButton = nullptr;
    QPushButton* m_slowerButton = nullptr;
    QPushButton* m_fasterButton = nullptr;
    QLabel* m_rateLabel = nullptr;
    QLabel* m_stateLabel = nullptr;
};

}  // namespace vek::ui
