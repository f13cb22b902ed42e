#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "app/messages.h"
#include "app/rgb_image.h"

namespace vek::ui {

// How the program speaks and shows sprites in this session: the language of its texts and the
// sprite background. Both are read from VEK.INI at start; the main window's language buttons and
// the sprite editor's background item change them.
class SessionLook {
  public:
    const std::string& language() const { return m_language; }  // "english" or "deutsch"
    bool german() const { return m_language == kLanguageGerman; }
    void setLanguage(std::string_view language) { m_language = std::string(language); }

    ScreenColor spriteBackground() const { return m_spriteBackground; }
    void setSpriteBackground(ScreenColor colour) { m_spriteBackground = colour; }

    // The text of a bilingual message in the current language.
    QString text(const Bilingual& message) const;

  private:
    std::string m_language{kLanguageEnglish};
    ScreenColor m_spriteBackground = 0xFFFFFF;
};

}  // namespace vek::ui
