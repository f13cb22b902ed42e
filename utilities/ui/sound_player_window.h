#pragma once

#include "app/ui/vek_window.h"

class QListWidget;

namespace vek::ui {

// TForm3: "Sound Player": the files of the game's sound directory; a click plays one.
class SoundPlayerWindow : public VekWindow {
    Q_OBJECT
  public:
    explicit SoundPlayerWindow(AppContext& context);

    // The creation step, run once at start-up after the window exists.
    void FormCreate();

    QListWidget* fileListBox1() const { return m_files; }

  public Q_SLOTS:
    // Each time the window becomes active: the sound directory's files are read again.
    void FormActivate();
    // Plays the sound of the clicked file: the first four characters of its name.
    void FileListBox1Click();

  protected:
    bool event(QEvent* event) override;

  private:
    QListWidget* m_files = nullptr;
};

}  // namespace vek::ui
