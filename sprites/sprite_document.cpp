#include "sprites/sprite_document.h"

#include <algorithm>

#include "app/vek_error.h"

namespace vek {

void SpriteDocument::open(const std::filesystem::path& file) {
    m_current.reset();
    m_changed = false;
    m_table.file = file;
    m_table.entries.clear();
    // Whatever happens, the observers see the table as far as it was read.
    tellAfter([this] { SpriteFile(m_table.file).readTable(m_table.entries); },
              {SpriteChange::FileOpened, {}, file});
    if (!m_table.entries.empty()) select(0);
}

void SpriteDocument::select(int position) {
    if (position < 0 || static_cast<std::size_t>(position) >= m_table.count()) {
        const std::string number = std::to_string(position);
        const std::string held = std::to_string(m_table.count());
        throw VekError(
            "The sprite file has no sprite " + number + " (it holds " + held + ", counted from 0).",
            "Die Sprite Datei hat kein Sprite " + number + " (sie hat " + held +
                ", gezaehlt ab 0).",
            ErrorDetail::ofFile(m_table.file));
    }
    // Until the new pixels are in, no sprite is current: a failed read leaves nothing to save.
    m_current.reset();
    m_changed = false;
    tellAfter(
        [this, position] {
            const auto index = static_cast<std::size_t>(position);
            m_sprite = SpriteFile(m_table.file).readSprite(m_table.entries[index]);
            m_current = index;
        },
        {SpriteChange::SpriteSelected, {}, {}});
}

void SpriteDocument::tellAfter(const std::function<void()>& step,
                               const SpriteDocumentEvent& event) {
    try {
        step();
    } catch (...) {
        m_observers.notify(event);
        throw;
    }
    m_observers.notify(event);
}

bool SpriteDocument::paint(int x, int y, std::uint8_t index) {
    if (!spriteLoaded() || !m_sprite.contains(x, y)) return false;
    m_sprite.at(x, y) = index;
    pixelsChanged({x, y, 1, 1});
    return true;
}

void SpriteDocument::copy() {
    if (spriteLoaded()) m_clipboard = m_sprite;
}

void SpriteDocument::cut() {
    if (!spriteLoaded()) return;
    copy();
    clear();
}

void SpriteDocument::paste() {
    if (m_clipboard && spriteLoaded()) {
        const int width = std::min(m_sprite.width, m_clipboard->width);
        const int height = std::min(m_sprite.height, m_clipboard->height);
        for (int y = 0; y < height; ++y) {
            const auto row =
                m_clipboard->pixels.begin() + static_cast<std::ptrdiff_t>(m_clipboard->index(0, y));
            std::copy(row, row + width,
                      m_sprite.pixels.begin() + static_cast<std::ptrdiff_t>(m_sprite.index(0, y)));
        }
        m_changed = true;
    }
    m_observers.notify({SpriteChange::PixelsChanged, wholeSprite(), {}});
}

void SpriteDocument::clear() {
    if (!spriteLoaded()) return;
    std::fill(m_sprite.pixels.begin(), m_sprite.pixels.end(), std::uint8_t{0});
    pixelsChanged(wholeSprite());
}

void SpriteDocument::pixelsChanged(PixelRect area) {
    m_changed = true;
    m_observers.notify({SpriteChange::PixelsChanged, area, {}});
}

void SpriteDocument::saveInPlace() {
    if (!spriteLoaded()) return;
    writeSpriteInPlace(m_table.file, m_table.entries[*m_current], m_sprite.pixels);
    m_changed = false;
}

void SpriteDocument::saveToNewFile(const std::filesystem::path& file) {
    if (!spriteLoaded()) return;
    m_observers.notify({SpriteChange::SavedToNewFile, {}, file});
    writeUniformSpriteFile(file, {1, m_sprite.width, m_sprite.height}, m_sprite.pixels);
}

}  // namespace vek
