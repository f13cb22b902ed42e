#pragma once

#include <QString>
#include <optional>

#include "app/rgb_image.h"
#include "app/ui/vek_window.h"
#include "sprites/color_match.h"
#include "sprites/palette.h"

class QAction;
class QGroupBox;
class QProgressBar;
class QRadioButton;
class QScrollArea;
class QTabWidget;

namespace vek::ui {

class PictureBox;

// TForm5: "BMP to Sprite converter". Loads a bitmap into its picture and converts it to a sprite
// file of one sprite, matching every pixel to the game's palette at the chosen level.
//
// The conversion runs on the user-interface thread. After each row the progress bar moves, and
// every few dozen milliseconds the converted rows are repainted and pending paint events are
// handled, with user input held back until the conversion ends, so the window never freezes
// and no other command can start meanwhile.
class BitmapConverterWindow : public VekWindow {
    Q_OBJECT
  public:
    BitmapConverterWindow(AppContext& context, const PaletteTable& palette);

    // The creation step, run once at start-up after the window exists.
    void FormCreate();

    // Menu handlers, by their designed names.
    void LoadBMP1Click();
    void SaveasSPRFile1Click();
    void CompileseveralBMPstoSPR1Click();
    // Reads a bitmap or PNG picture (a dropped file, a recent one) as Load BMP does.
    void loadPicture(const QString& file);
    // The same for a file handed over from outside (a drop, the command line), unless a batch
    // conversion runs; a failure is reported.
    void openPicture(const QString& file);

    // What the window shows, for the tests.
    const RgbImage& picture() const { return m_picture; }
    ColorMatchLevel matchLevel() const;
    bool converting() const { return m_converting; }

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void buildMenus();
    void buildPages();
    QWidget* buildOptionsPage();

    void loadBitmap();
    void saveAsSprite();
    void showPicture();
    // The folder a dialog starts in: the one last used for the kind, else the game's images.
    QString startFolder(RecentKind kind) const;

    const PaletteTable& m_palette;
    RgbImage m_picture;
    bool m_batch = false;
    QString m_presetName;
    bool m_converting = false;

    // Controls, by their designed names.
    QProgressBar* ProgressBar1 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;  // "Picture"
    QWidget* TabSheet2 = nullptr;  // "Options"
    QScrollArea* m_pictureScroll = nullptr;
    PictureBox* Image1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QRadioButton* RadioButton3 = nullptr;
    QRadioButton* RadioButton4 = nullptr;
    QAction* LoadBMP1 = nullptr;
    QAction* SaveasSPRFile1 = nullptr;
    QAction* CompileseveralBMPstoSPR1 = nullptr;
};

}  // namespace vek::ui
