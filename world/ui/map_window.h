#pragma once

#include "app/rgb_image.h"
#include "app/ui/vek_window.h"
#include "sprites/palette.h"

class QAction;
class QProgressBar;
class QScrollArea;

namespace vek::ui {

class PictureBox;

// TForm6: "Draw a Map of Albia". Shows the world as one picture a quarter of its size, drawn
// once from the game's back.spr and kept as landscape.bmp in the program directory.
class MapWindow : public VekWindow {
    Q_OBJECT
  public:
    MapWindow(AppContext& context, const PaletteTable& palette);

    // The creation step, run once at start-up after the window exists.
    void FormCreate();

    // Handlers, by their designed names.
    void CreateMap1Click();
    void SaveMap1Click();
    void Image1MouseMove(QPoint position);

    // What the window shows, for the tests.
    const RgbImage& map() const { return m_map; }

  protected:
    // The pointer leaving the picture clears the coordinates of the status line.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    // Loads landscape.bmp into the picture; false (and the picture unchanged) when it cannot.
    bool loadCachedMap();
    void drawAndCacheMap();
    void showMap();

    const PaletteTable& m_palette;
    RgbImage m_map;

    // Controls, by their designed names.
    QProgressBar* ProgressBar1 = nullptr;
    QScrollArea* m_scroll = nullptr;
    PictureBox* Image1 = nullptr;
    QAction* CreateMap1 = nullptr;
    QAction* SaveMap1 = nullptr;
};

}  // namespace vek::ui
