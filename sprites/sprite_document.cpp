#include "sprites/sprite_document.h"

#include <algorithm>
#include <memory>

#include "app/text_names.h"
#include "app/vek_error.h"

namespace vek {

void SpriteDocument::open(const std::filesystem::path& file) {
    m_current.reset();
    startHistory();
    m_frameUndo.clear();
    m_frameRedo.clear();
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
        throw VekError(fill(Msg::SpriteNumberMissing, {number, held}),
                       ErrorDetail::ofFile(m_table.file));
    }
    // Until the new pixels are in, no sprite is current: a failed read leaves nothing to save.
    m_current.reset();
    startHistory();
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

void SpriteDocument::startHistory() {
    m_history.clear();
    m_strokeStart.reset();
    m_strokeChanged = false;
}

bool SpriteDocument::mayLeaveSprite() {
    if (!changed() || !m_leaveQuestion) return true;
    switch (m_leaveQuestion()) {
        case LeaveChoice::Save:
            saveInPlace();
            return true;
        case LeaveChoice::Discard:
            return true;
        case LeaveChoice::Stay:
            break;
    }
    return false;
}

void SpriteDocument::beginStroke(Bilingual label) {
    endStroke();
    m_strokeLabel = label;
    if (spriteLoaded()) m_strokeStart = m_sprite.pixels;
}

void SpriteDocument::endStroke() {
    if (!m_strokeStart) return;
    if (m_history.record(*m_strokeStart, m_sprite.pixels, m_strokeLabel)) pixelStepRecorded();
    m_strokeStart.reset();
    m_strokeChanged = false;
}

bool SpriteDocument::paint(int x, int y, std::uint8_t index) {
    if (!spriteLoaded() || !m_sprite.contains(x, y)) return false;
    std::uint8_t& pixel = m_sprite.at(x, y);
    if (m_strokeStart) {
        m_strokeChanged = true;
    } else {
        // A step of its own, recorded without a look at the sprite's other pixels.
        if (m_history.recordPixel(m_sprite.index(x, y), pixel, index)) pixelStepRecorded();
    }
    pixel = index;
    pixelsChanged({x, y, 1, 1});
    return true;
}

void SpriteDocument::paintPixels(std::span<const PixelPoint> points, std::uint8_t index) {
    if (!spriteLoaded()) return;
    const bool ownStep = !m_strokeStart;
    if (ownStep) beginStroke();
    setPixels(points, [index](PixelPoint) { return index; });
    if (ownStep) endStroke();
}

void SpriteDocument::restoreStrokePixels(std::span<const PixelPoint> points) {
    if (!m_strokeStart) return;
    const std::vector<std::uint8_t>& before = *m_strokeStart;
    setPixels(points, [this, &before](PixelPoint point) {
        return before[m_sprite.index(point.x, point.y)];
    });
}

void SpriteDocument::setPixels(std::span<const PixelPoint> points,
                               const std::function<std::uint8_t(PixelPoint)>& valueAt) {
    int left = m_sprite.width;
    int top = m_sprite.height;
    int right = -1;
    int bottom = -1;
    for (const PixelPoint point : points) {
        if (!m_sprite.contains(point.x, point.y)) continue;
        m_sprite.at(point.x, point.y) = valueAt(point);
        left = std::min(left, point.x);
        top = std::min(top, point.y);
        right = std::max(right, point.x);
        bottom = std::max(bottom, point.y);
    }
    if (right < 0) return;
    if (m_strokeStart) m_strokeChanged = true;
    pixelsChanged({left, top, right - left + 1, bottom - top + 1});
}

void SpriteDocument::editAsOneStep(Bilingual label, const std::function<void()>& change) {
    endStroke();
    const std::vector<std::uint8_t> before = m_sprite.pixels;
    change();
    if (m_history.record(before, m_sprite.pixels, label)) pixelStepRecorded();
    pixelsChanged(wholeSprite());
}

void SpriteDocument::requireSpriteSize(int width, int height) const {
    if (width == m_sprite.width && height == m_sprite.height) return;
    const auto size = [](int w, int h) { return std::to_string(w) + "X" + std::to_string(h); };
    const std::string wanted = size(m_sprite.width, m_sprite.height);
    const std::string given = size(width, height);
    throw VekError(fill(Msg::PictureSizeDiffers, {given, wanted}));
}

void SpriteDocument::replacePixels(const SpriteImage& picture) {
    if (!spriteLoaded()) return;
    requireSpriteSize(picture.width, picture.height);
    editAsOneStep(Msg::SpriteReplaceLabel, [this, &picture] { m_sprite.pixels = picture.pixels; });
}

void SpriteDocument::undo() {
    endStroke();
    if (!m_history.canUndo()) {
        undoFrameStep();
        return;
    }
    std::pair<std::size_t, std::size_t> changedRange;
    if (m_history.undo(m_sprite.pixels, &changedRange)) pixelsChanged(rowsOf(changedRange));
}

void SpriteDocument::redo() {
    endStroke();
    if (!m_history.canRedo()) {
        redoFrameStep();
        return;
    }
    std::pair<std::size_t, std::size_t> changedRange;
    if (m_history.redo(m_sprite.pixels, &changedRange)) pixelsChanged(rowsOf(changedRange));
}

PixelRect SpriteDocument::rowsOf(std::pair<std::size_t, std::size_t> range) const {
    if (m_sprite.width == 0) return wholeSprite();
    const auto top = static_cast<int>(range.first / m_sprite.width);
    const auto bottom = static_cast<int>((range.second + m_sprite.width - 1) / m_sprite.width);
    // One pixel is told as such, so that a window repaints just its block.
    if (range.second == range.first + 1)
        return {static_cast<int>(range.first % m_sprite.width), top, 1, 1};
    return {0, top, m_sprite.width, bottom - top};
}

void SpriteDocument::copy() {
    if (spriteLoaded()) m_clipboard = m_sprite;
}

void SpriteDocument::cut() {
    if (!spriteLoaded()) return;
    copy();
    fillWithZero(Msg::SpriteCutLabel);
}

void SpriteDocument::paste() {
    if (!m_clipboard || !spriteLoaded()) return pixelsChanged(wholeSprite());
    editAsOneStep(Msg::SpritePasteLabel, [this] {
        const int width = std::min(m_sprite.width, m_clipboard->width);
        const int height = std::min(m_sprite.height, m_clipboard->height);
        for (int y = 0; y < height; ++y) {
            const auto row =
                m_clipboard->pixels.begin() + static_cast<std::ptrdiff_t>(m_clipboard->index(0, y));
            std::copy(row, row + width,
                      m_sprite.pixels.begin() + static_cast<std::ptrdiff_t>(m_sprite.index(0, y)));
        }
    });
}

void SpriteDocument::clear() {
    if (spriteLoaded()) fillWithZero(Msg::SpriteClearLabel);
}

void SpriteDocument::fillWithZero(Bilingual label) {
    editAsOneStep(label, [this] {
        std::fill(m_sprite.pixels.begin(), m_sprite.pixels.end(), std::uint8_t{0});
    });
}

void SpriteDocument::pixelsChanged(PixelRect area) {
    m_observers.notify({SpriteChange::PixelsChanged, area, {}});
}

void SpriteDocument::saveInPlace() {
    if (!spriteLoaded()) return;
    endStroke();
    writeSpriteInPlace(m_table.file, m_table.entries[*m_current], m_sprite.pixels);
    m_history.setClean();
    m_observers.notify({SpriteChange::SavedInPlace, {}, m_table.file});
}

void SpriteDocument::saveToNewFile(const std::filesystem::path& file) {
    if (!spriteLoaded()) return;
    m_observers.notify({SpriteChange::SavedToNewFile, {}, file});
    writeUniformSpriteFile(file, {1, m_sprite.width, m_sprite.height}, m_sprite.pixels);
}

bool SpriteDocument::insertSprite(std::size_t at, std::uint16_t width, std::uint16_t height) {
    const std::size_t before = m_current.value_or(0);
    return runFrameStep({[at, width, height](SpriteList& sprites) {
                             vek::insertSprite(sprites, at, SpriteImage(width, height));
                         },
                         [at](SpriteList& sprites) { vek::deleteSprite(sprites, at); }, at,
                         before});
}

bool SpriteDocument::insertSprites(std::size_t at, SpriteList pictures) {
    if (pictures.empty()) return false;
    const std::size_t before = m_current.value_or(0);
    auto shared = std::make_shared<const SpriteList>(std::move(pictures));
    return runFrameStep({[at, shared](SpriteList& sprites) {
                             for (std::size_t k = 0; k < shared->size(); ++k)
                                 vek::insertSprite(sprites, at + k, (*shared)[k]);
                         },
                         [at, count = shared->size()](SpriteList& sprites) {
                             const auto first = sprites.begin() + static_cast<std::ptrdiff_t>(at);
                             sprites.erase(first, first + static_cast<std::ptrdiff_t>(count));
                         },
                         at, before});
}

bool SpriteDocument::duplicateSprite() {
    if (!spriteLoaded()) return false;
    const std::size_t index = *m_current;
    return runFrameStep({[index](SpriteList& sprites) { vek::duplicateSprite(sprites, index); },
                         [index](SpriteList& sprites) { vek::deleteSprite(sprites, index + 1); },
                         index + 1, index});
}

bool SpriteDocument::deleteSprite() {
    if (!spriteLoaded()) return false;
    const std::size_t index = *m_current;
    // The deleted picture lives in the step, for undo to put back.
    auto removed = std::make_shared<SpriteImage>();
    return runFrameStep(
        {[index, removed](SpriteList& sprites) { *removed = vek::deleteSprite(sprites, index); },
         [index, removed](SpriteList& sprites) { vek::insertSprite(sprites, index, *removed); },
         index, index});
}

bool SpriteDocument::moveSprite(std::size_t from, std::size_t to) {
    return runFrameStep({[from, to](SpriteList& sprites) { vek::moveSprite(sprites, from, to); },
                         [from, to](SpriteList& sprites) { vek::moveSprite(sprites, to, from); },
                         to, from});
}

bool SpriteDocument::runFrameStep(FrameStep step) {
    if (!mayLeaveSprite()) return false;
    rewriteFrames(step.apply, step.selectAfterApply);
    m_frameUndo.push_back(std::move(step));
    m_frameRedo.clear();
    return true;
}

bool SpriteDocument::undoFrameStep() {
    if (m_frameUndo.empty() || !mayLeaveSprite()) return false;
    FrameStep step = std::move(m_frameUndo.back());
    m_frameUndo.pop_back();
    rewriteFrames(step.revert, step.selectAfterRevert);
    m_frameRedo.push_back(std::move(step));
    return true;
}

bool SpriteDocument::redoFrameStep() {
    if (m_frameRedo.empty() || !mayLeaveSprite()) return false;
    FrameStep step = std::move(m_frameRedo.back());
    m_frameRedo.pop_back();
    rewriteFrames(step.apply, step.selectAfterApply);
    m_frameUndo.push_back(std::move(step));
    return true;
}

void SpriteDocument::rewriteFrames(const std::function<void(SpriteList&)>& edit,
                                   std::size_t select) {
    rewriteSpriteFile(m_table.file, m_table.file, edit);
    m_current.reset();
    startHistory();
    m_table.entries.clear();
    tellAfter([this] { SpriteFile(m_table.file).readTable(m_table.entries); },
              {SpriteChange::FileOpened, {}, m_table.file});
    if (m_table.entries.empty()) {
        m_observers.notify({SpriteChange::SpriteSelected, {}, {}});
        return;
    }
    this->select(static_cast<int>(std::min(select, m_table.count() - 1)));
}

}  // namespace vek
