// The sprite editor's animation aids: the onion skin on the drawing area and the animation
// preview.

#include <QAction>
#include <QMenu>
#include <algorithm>
#include <string>

#include "app/settings.h"
#include "app/text_names.h"
#include "app/ui/language.h"
#include "sprites/ui/sprite_canvas.h"
#include "sprites/ui/sprite_editor_window.h"

namespace vek::ui {

namespace {

// VEK.INI, beside the grid: whether the onion skin shows, with the next sprite, and how strongly.
const char* const kOnionKey = "OnionSkin";
const char* const kOnionNextKey = "OnionSkinNext";
const char* const kOnionOpacityKey = "OnionSkinOpacity";
constexpr int kDefaultOpacity = 30;

int storedOpacity(const std::string& text) {
    try {
        return std::clamp(std::stoi(text), 1, 100);
    } catch (const std::exception&) {
        return kDefaultOpacity;
    }
}

}  // namespace

void SpriteEditorWindow::buildOnionItems(QMenu* zoom) {
    zoom->addSeparator();
    const VekIni& settings = context().settings;
    m_onionItem = addBilingualItem(zoom, "OnionSkin1", Msg::SpriteEditorOnionCaption);
    m_onionItem->setCheckable(true);
    m_onionItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    m_onionItem->setChecked(settings.read(kSettingsSection, kOnionKey, "0") == "1");
    connect(m_onionItem, &QAction::toggled, this, &SpriteEditorWindow::showOnionSkin);
    m_onionNextItem = addBilingualItem(zoom, "OnionSkinNext1", Msg::SpriteEditorOnionNextCaption);
    m_onionNextItem->setCheckable(true);
    m_onionNextItem->setChecked(settings.read(kSettingsSection, kOnionNextKey, "0") == "1");
    connect(m_onionNextItem, &QAction::toggled, this, &SpriteEditorWindow::showOnionNext);
    QAction* opacity =
        addBilingualItem(zoom, "OnionSkinOpacity1", Msg::SpriteEditorOnionOpacityCaption);
    connect(opacity, &QAction::triggered, this, &SpriteEditorWindow::chooseOnionOpacity);
    m_onionOpacity = storedOpacity(
        settings.read(kSettingsSection, kOnionOpacityKey, std::to_string(kDefaultOpacity)));
}

void SpriteEditorWindow::showOnionSkin(bool shown) {
    if (m_onionItem->isChecked() != shown) m_onionItem->setChecked(shown);
    applyOnionSkin();
    storeOnionSkin();
}

void SpriteEditorWindow::showOnionNext(bool shown) {
    if (m_onionNextItem->isChecked() != shown) m_onionNextItem->setChecked(shown);
    applyOnionSkin();
    storeOnionSkin();
}

void SpriteEditorWindow::chooseOnionOpacity() {
    runCommand([this] {
        const auto chosen = context().dialogs.askNumber(
            context().text(Msg::SpriteEditorOnionOpacityTitle),
            context().text(Msg::SpriteEditorOnionOpacityLabel), m_onionOpacity, 1, 100);
        if (!chosen) return;
        m_onionOpacity = *chosen;
        applyOnionSkin();
        storeOnionSkin();
    });
}

void SpriteEditorWindow::applyOnionSkin() {
    if (!Image1) return;  // not yet built
    const SpriteCanvas::OnionSkin onion{m_onionItem->isChecked(), m_onionNextItem->isChecked(),
                                        m_onionOpacity};
    Image1->setOnionSkin(onion);
}

void SpriteEditorWindow::storeOnionSkin() {
    runCommand([this] {
        const VekIni& settings = context().settings;
        settings.write(kSettingsSection, kOnionKey, m_onionItem->isChecked() ? "1" : "0");
        settings.write(kSettingsSection, kOnionNextKey, m_onionNextItem->isChecked() ? "1" : "0");
        settings.write(kSettingsSection, kOnionOpacityKey, std::to_string(m_onionOpacity));
    });
}

void SpriteEditorWindow::previewAnimation() {
    runCommand([this] {
        if (!m_document.spriteLoaded()) return;
        context().commands.showAnimationPreview(m_document.table().file, *m_document.current(),
                                                std::string());
    });
}

}  // namespace vek::ui
