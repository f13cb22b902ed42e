#pragma once

#include <QWidget>

#include "app/observers.h"
#include "app/rgb_image.h"
#include "objects/object_document.h"

class QLineEdit;

namespace vek {
class PaletteTable;
class PictureSource;
}  // namespace vek

namespace vek::ui {

struct AppContext;
class PictureBox;

// The object compiler's picture page: Get, which takes the sprite editor's sprite as the
// object's picture, the picture's size, and the picture in the game's palette.
class PicturePage : public QWidget {
    Q_OBJECT
  public:
    PicturePage(AppContext& context, ObjectDocument& document, const PaletteTable& palette,
                PictureSource& pictures);

    // The creation step's picture: black, 233 x 137.
    void showFirstPicture();

    void Button4Click();  // Get, and a click on the picture (Image1Click)

  private:
    void showPicture();
    void showImage(RgbImage image);

    AppContext& m_context;
    ObjectDocument& m_document;
    const PaletteTable& m_palette;
    PictureSource& m_pictures;
    Subscription m_observation;
    RgbImage m_image;
    QLineEdit* m_widthField = nullptr;   // Edit5
    QLineEdit* m_heightField = nullptr;  // Edit6
    QWidget* m_panel1 = nullptr;
    PictureBox* m_image1 = nullptr;
};

}  // namespace vek::ui
