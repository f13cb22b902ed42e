#include "sprites/sprite_document.h"

#include <algorithm>
#include <memory>

#include "app/text_names.h"
#include "app/vek_error.h"
#include "sprites/sprite_selection.h"

namespace vek {

namespace {

// The topic of the steps that change the list of sprites, beside the pixel steps.
constexpr int kFrameTopic = PixelHistory::kPixelTopic + 1;

}  // namespace

SpriteDocument::SpriteDocument() : m_selection(std::make_unique<SpriteSelection>(*this)) {}

SpriteDocument::~SpriteDocument() = default;

void SpriteDocument::open(const std::filesystem::path& file) {
    m_current.reset();
    m_history.clear();
    startHistory();
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
    m_history.forgetPixelSteps();
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
    m_history.record(*m_strokeStart, m_sprite.pixels, m_strokeLabel);
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
        m_history.recordPixel(m_sprite.index(x, y), pixel, index);
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
    m_history.record(before, m_sprite.pixels, label);
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

void SpriteDocument::undo() { replay(false); }

void SpriteDocument::redo() { replay(true); }

void SpriteDocument::replay(bool forward) {
    endStroke();
    if (forward ? !canRedo() : !canUndo()) return;
    const bool pixels = forward ? m_history.pixelStepRedoesNext() : m_history.pixelStepUndoesNext();
    // A list change leaves the current sprite: its unsaved painting is asked about first.
    if (!pixels && !mayLeaveSprite()) return;
    m_pendingRewrite.reset();
    std::pair<std::size_t, std::size_t> changedRange;
    const bool ran = forward ? m_history.redo(m_sprite.pixels, &changedRange)
                             : m_history.undo(m_sprite.pixels, &changedRange);
    if (!ran) return;
    if (!m_pendingRewrite) return pixelsChanged(rowsOf(changedRange));
    const FrameRewrite rewrite = std::move(*m_pendingRewrite);
    m_pendingRewrite.reset();
    rewriteFrames(rewrite.edit, rewrite.select);
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
    if (!spriteLoaded()) return;
    m_clipboard = m_sprite;
    m_clipboardPlace.reset();
}

void SpriteDocument::copyPiece(SpriteImage piece, PixelPoint from) {
    m_clipboard = std::move(piece);
    m_clipboardPlace = from;
}

void SpriteDocument::placePixels(PixelRect area, std::span<const std::uint8_t> values,
                                 Bilingual label) {
    if (!spriteLoaded()) return;
    const int left = std::max(area.x, 0);
    const int top = std::max(area.y, 0);
    const int right = std::min(area.x + area.width, static_cast<int>(m_sprite.width));
    const int bottom = std::min(area.y + area.height, static_cast<int>(m_sprite.height));
    if (left >= right || top >= bottom ||
        values.size() !=
            static_cast<std::size_t>(area.width) * static_cast<std::size_t>(area.height))
        return;
    const bool ownStep = !m_strokeStart;
    if (ownStep) beginStroke(label);
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const auto from =
                static_cast<std::size_t>(y - area.y) * static_cast<std::size_t>(area.width) +
                static_cast<std::size_t>(x - area.x);
            m_sprite.at(x, y) = values[from];
        }
    }
    m_strokeChanged = true;
    pixelsChanged({left, top, right - left, bottom - top});
    if (ownStep) endStroke();
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
    requireRoomFor(1);
    const std::size_t before = m_current.value_or(0);
    return runFrameStep({Msg::SpriteInsertLabel,
                         [at, width, height](SpriteList& sprites) {
                             vek::insertSprite(sprites, at, SpriteImage(width, height));
                         },
                         [at](SpriteList& sprites) { vek::deleteSprite(sprites, at); }, at, before,
                         0});
}

bool SpriteDocument::insertSprites(std::size_t at, SpriteList pictures) {
    if (pictures.empty()) return false;
    const std::size_t before = m_current.value_or(0);
    auto shared = std::make_shared<const SpriteList>(std::move(pictures));
    requireRoomFor(shared->size());
    std::size_t bytes = 0;
    for (const SpriteImage& picture : *shared) bytes += picture.pixels.size();
    return runFrameStep({Msg::SpriteImportFramesLabel,
                         [at, shared](SpriteList& sprites) {
                             for (std::size_t k = 0; k < shared->size(); ++k)
                                 vek::insertSprite(sprites, at + k, (*shared)[k]);
                         },
                         [at, count = shared->size()](SpriteList& sprites) {
                             const auto first = sprites.begin() + static_cast<std::ptrdiff_t>(at);
                             sprites.erase(first, first + static_cast<std::ptrdiff_t>(count));
                         },
                         at, before, bytes});
}

bool SpriteDocument::duplicateSprite() {
    if (!spriteLoaded()) return false;
    requireRoomFor(1);
    const std::size_t index = *m_current;
    return runFrameStep({Msg::SpriteDuplicateLabel,
                         [index](SpriteList& sprites) { vek::duplicateSprite(sprites, index); },
                         [index](SpriteList& sprites) { vek::deleteSprite(sprites, index + 1); },
                         index + 1, index, 0});
}

bool SpriteDocument::deleteSprite() {
    if (!spriteLoaded()) return false;
    const std::size_t index = *m_current;
    // The deleted picture lives in the step, for undo to put back.
    auto removed = std::make_shared<SpriteImage>();
    return runFrameStep(
        {Msg::SpriteDeleteLabel,
         [index, removed](SpriteList& sprites) { *removed = vek::deleteSprite(sprites, index); },
         [index, removed](SpriteList& sprites) { vek::insertSprite(sprites, index, *removed); },
         index, index, m_sprite.pixels.size()});
}

bool SpriteDocument::resizeSprites(std::size_t first, std::size_t last,
                                   std::function<SpriteImage(const SpriteImage&)> resize) {
    if (!spriteLoaded() || last < first || last >= m_table.count()) return false;
    const std::size_t index = *m_current;
    std::size_t bytes = 0;
    for (std::size_t k = first; k <= last; ++k)
        bytes += std::size_t{m_table.entries[k].width} * m_table.entries[k].height;
    // The pictures before the change live in the step, for undo to put back.
    auto before = std::make_shared<SpriteList>();
    return runFrameStep({Msg::SpriteResizeLabel,
                         [first, last, resize, before](SpriteList& sprites) {
                             before->clear();
                             for (std::size_t k = first; k <= last; ++k) {
                                 before->push_back(spriteAt(sprites, k));
                                 replaceSprite(sprites, k, resize(sprites[k]));
                             }
                         },
                         [first, before](SpriteList& sprites) {
                             for (std::size_t k = 0; k < before->size(); ++k)
                                 replaceSprite(sprites, first + k, (*before)[k]);
                         },
                         index, index, bytes});
}

bool SpriteDocument::moveSprite(std::size_t from, std::size_t to) {
    return runFrameStep({Msg::SpriteMoveLabel,
                         [from, to](SpriteList& sprites) { vek::moveSprite(sprites, from, to); },
                         [from, to](SpriteList& sprites) { vek::moveSprite(sprites, to, from); },
                         to, from, 0});
}

void SpriteDocument::requireRoomFor(std::size_t more) const {
    if (m_table.count() + more <= kSpriteTableCapacity) return;
    throw VekError(fill(Msg::SpriteFileFull, {std::to_string(kSpriteTableCapacity)}));
}

bool SpriteDocument::runFrameStep(FrameStep step) {
    if (!mayLeaveSprite()) return false;
    rewriteFrames(step.apply, step.selectAfterApply);
    // The step only asks for its rewrite; replay runs it once the history has moved.
    const auto ask = [this](const std::function<void(SpriteList&)>& edit, std::size_t select) {
        return [this, edit, select] { m_pendingRewrite = FrameRewrite{edit, select}; };
    };
    m_history.recordOther(makeStep(step.label, ask(step.apply, step.selectAfterApply),
                                   ask(step.revert, step.selectAfterRevert), step.bytes,
                                   kFrameTopic));
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
