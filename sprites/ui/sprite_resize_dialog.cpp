#include "sprites/ui/sprite_resize_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>

#include "app/text_names.h"
#include "app/ui/app_context.h"

namespace vek::ui {

namespace {

// In the order of ResizeAnchor.
const Bilingual* const kAnchorNames[] = {
    &Msg::SpriteAnchorTopLeft,    &Msg::SpriteAnchorTop,    &Msg::SpriteAnchorTopRight,
    &Msg::SpriteAnchorLeft,       &Msg::SpriteAnchorCenter, &Msg::SpriteAnchorRight,
    &Msg::SpriteAnchorBottomLeft, &Msg::SpriteAnchorBottom, &Msg::SpriteAnchorBottomRight,
};

QSpinBox* spinBox(QWidget* parent, const char* name, int minimum, int maximum, int value) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(minimum, maximum);
    box->setValue(value);
    return box;
}

QRadioButton* radioButton(QWidget* parent, const char* name, const QString& text) {
    auto* button = new QRadioButton(text, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

}  // namespace

SpriteResizeDialog::SpriteResizeDialog(QWidget* parent, const AppContext& context,
                                       SpriteSize current, std::size_t sprite, std::size_t count)
    : QDialog(parent) {
    setObjectName(QStringLiteral("SpriteResizeDialog"));
    setWindowTitle(context.text(Msg::SpriteEditorResizeTitle));
    auto* form = new QFormLayout(this);

    m_width = spinBox(this, "ResizeWidth", 1, kLargestSide, current.width);
    m_height = spinBox(this, "ResizeHeight", 1, kLargestSide, current.height);
    form->addRow(context.text(Msg::SpriteEditorResizeWidth), m_width);
    form->addRow(context.text(Msg::SpriteEditorResizeHeight), m_height);

    m_canvas = radioButton(this, "ResizeCanvas", context.text(Msg::SpriteEditorResizeCanvas));
    m_scale = radioButton(this, "ResizeScale", context.text(Msg::SpriteEditorResizeScale));
    auto* how = new QButtonGroup(this);
    how->addButton(m_canvas);
    how->addButton(m_scale);
    m_canvas->setChecked(true);
    form->addRow(m_canvas);
    m_anchor = new QComboBox(this);
    m_anchor->setObjectName(QStringLiteral("ResizeAnchor"));
    for (const Bilingual* name : kAnchorNames) m_anchor->addItem(context.text(*name));
    form->addRow(context.text(Msg::SpriteEditorResizeAnchor), m_anchor);
    form->addRow(m_scale);

    const int last = static_cast<int>(count) - 1;
    m_thisSprite =
        radioButton(this, "ResizeThisSprite", context.text(Msg::SpriteEditorResizeThisSprite));
    m_range = radioButton(this, "ResizeRange", context.text(Msg::SpriteEditorResizeRange));
    auto* which = new QButtonGroup(this);
    which->addButton(m_thisSprite);
    which->addButton(m_range);
    m_thisSprite->setChecked(true);
    form->addRow(m_thisSprite);
    m_first = spinBox(this, "ResizeFirst", 0, last, static_cast<int>(sprite));
    m_last = spinBox(this, "ResizeLast", static_cast<int>(sprite), last, last);
    auto* range = new QHBoxLayout;
    range->addWidget(m_range);
    range->addWidget(m_first);
    range->addWidget(new QLabel(context.text(Msg::SpriteEditorResizeRangeTo), this));
    range->addWidget(m_last);
    form->addRow(range);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);

    // The last sprite of a range is never before its first.
    connect(m_first, &QSpinBox::valueChanged, m_last, &QSpinBox::setMinimum);
    for (QRadioButton* choice : {m_canvas, m_scale, m_thisSprite, m_range})
        connect(choice, &QRadioButton::toggled, this, &SpriteResizeDialog::enableChoices);
    enableChoices();
    m_width->selectAll();
}

void SpriteResizeDialog::enableChoices() {
    m_anchor->setEnabled(m_canvas->isChecked());
    m_first->setEnabled(m_range->isChecked());
    m_last->setEnabled(m_range->isChecked());
}

SpriteResize SpriteResizeDialog::answer() const {
    SpriteResize resize{{m_width->value(), m_height->value()},
                        m_scale->isChecked(),
                        static_cast<ResizeAnchor>(m_anchor->currentIndex()),
                        std::nullopt};
    if (m_range->isChecked()) {
        resize.range = SpriteRange{static_cast<std::size_t>(m_first->value()),
                                   static_cast<std::size_t>(m_last->value())};
    }
    return resize;
}

}  // namespace vek::ui
