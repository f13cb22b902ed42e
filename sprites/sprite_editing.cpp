#include "sprites/sprite_editing.h"

#include <algorithm>

#include "sprites/sprite_palette.h"

namespace vek {

int fittingZoom(SpriteSize sprite, SpriteSize room, int frame) {
    int fitting = kZoomFactors.front();
    for (const int zoom : kZoomFactors) {
        const bool fits = std::int64_t{sprite.width} * zoom + frame <= room.width &&
                          std::int64_t{sprite.height} * zoom + frame <= room.height;
        if (fits) fitting = zoom;
    }
    return fitting;
}

int steppedZoom(int zoom, int steps) {
    const auto* current = std::find(kZoomFactors.begin(), kZoomFactors.end(), zoom);
    const std::ptrdiff_t place = current == kZoomFactors.end() ? 0 : current - kZoomFactors.begin();
    const std::ptrdiff_t last = std::ssize(kZoomFactors) - 1;
    return kZoomFactors[static_cast<std::size_t>(
        std::clamp<std::ptrdiff_t>(place + steps, 0, last))];
}

void SpriteEditing::keepView(const std::filesystem::path& file, SpriteView view) {
    if (!file.empty()) m_views[file] = view;
}

std::optional<SpriteView> SpriteEditing::viewOf(const std::filesystem::path& file) const {
    const auto found = m_views.find(file);
    if (found == m_views.end()) return std::nullopt;
    return found->second;
}

SpriteEditing::SpriteEditing(SpriteDocument& document, PaletteTable& gamePalette)
    : m_document(document),
      m_gamePalette(gamePalette),
      m_palette(gamePalette),
      m_painter(document) {}

void SpriteEditing::chooseTool(SpriteToolKind tool) {
    m_painter.setTool(tool);
    tell(SpriteEditingChange::ToolChosen);
}

void SpriteEditing::setBrushSize(int size) {
    const int before = m_painter.brushSize();
    m_painter.setBrushSize(size);
    if (m_painter.brushSize() != before) tell(SpriteEditingChange::BrushSized);
}

bool SpriteEditing::press(PixelPoint at, ColorSlot slot, bool shift, bool pick) {
    if (pick || tool() == SpriteToolKind::Eyedropper) {
        m_painter.release();
        return !shift && pickColor(slot, at);
    }
    return m_painter.press(at, color(slot), shift);
}

std::uint8_t SpriteEditing::color(ColorSlot slot) const {
    return slot == ColorSlot::Primary ? m_primary : m_secondary;
}

void SpriteEditing::setColor(ColorSlot slot, std::uint8_t index) {
    (slot == ColorSlot::Primary ? m_primary : m_secondary) = index;
    tell(SpriteEditingChange::ColorChosen);
}

bool SpriteEditing::pickColor(ColorSlot slot, PixelPoint at) {
    if (!m_document.spriteLoaded() || !m_document.sprite().contains(at.x, at.y)) return false;
    setColor(slot, m_document.sprite().at(at.x, at.y));
    return true;
}

void SpriteEditing::resetColors() {
    m_primary = 0;
    m_secondary = 1;
    tell(SpriteEditingChange::ColorChosen);
}

void SpriteEditing::showPalette(const PaletteTable& table) {
    if (table == m_palette) return;
    m_palette = table;
    tell(SpriteEditingChange::PaletteShown);
}

void SpriteEditing::showPaletteFor(const std::filesystem::path& spriteFile) {
    try {
        showPalette(paletteForSpriteFile(spriteFile, m_gamePalette));
    } catch (...) {
        showGamePalette();
        throw;
    }
}

void SpriteEditing::setBackground(ScreenColor color) {
    m_gamePalette.setBackground(color);
    m_palette.setBackground(color);
    tell(SpriteEditingChange::BackgroundChanged);
}

}  // namespace vek
