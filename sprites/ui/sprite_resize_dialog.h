#pragma once

#include <QDialog>
#include <cstddef>

#include "sprites/sprite_resize.h"

class QComboBox;
class QRadioButton;
class QSpinBox;

namespace vek::ui {

class AppContext;

// "Resize sprite": the new size, whether the picture is scaled or its canvas grown or cropped
// around an anchor (top left to start with), and whether the current sprite or a range changes.
class SpriteResizeDialog : public QDialog {
    Q_OBJECT
  public:
    // The largest side offered: a square of it is the most pixels a sprite may have.
    static constexpr int kLargestSide = 8192;

    // `current` is the size of sprite number `sprite` of the `count` in the file.
    SpriteResizeDialog(QWidget* parent, const AppContext& context, SpriteSize current,
                       std::size_t sprite, std::size_t count);

    // What the fields say now.
    SpriteResize answer() const;

  private:
    void enableChoices();

    QSpinBox* m_width = nullptr;
    QSpinBox* m_height = nullptr;
    QRadioButton* m_scale = nullptr;
    QRadioButton* m_canvas = nullptr;
    QComboBox* m_anchor = nullptr;
    QRadioButton* m_thisSprite = nullptr;
    QRadioButton* m_range = nullptr;
    QSpinBox* m_first = nullptr;
    QSpinBox* m_last = nullptr;
};

}  // namespace vek::ui
