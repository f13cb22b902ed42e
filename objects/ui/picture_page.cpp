#include "objects/ui/picture_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/text_names.h"
#include "app/ui/app_context.h"
#include "app/ui/error_report.h"
#include "app/ui/language.h"
#include "app/ui/qt_convert.h"
#include "app/ui/tags.h"
#include "app/ui/widgets/picture_box.h"
#include "objects/picture_source.h"
#include "sprites/palette.h"

namespace vek::ui {

namespace {

constexpr int kImageMargin = 9;  // the picture panel is this much larger than the picture
constexpr int kFirstImageWidth = 233;
constexpr int kFirstImageHeight = 137;

QLineEdit* makeSizeField(const char* name, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setReadOnly(true);
    field->setMaximumWidth(60);
    return field;
}

}  // namespace

PicturePage::PicturePage(AppContext& context, ObjectDocument& document, const PaletteTable& palette,
                         PictureSource& pictures)
    : m_context(context),
      m_document(document),
      m_palette(palette),
      m_pictures(pictures),
      m_observation(document.observe([this](const ObjectDocumentEvent& event) {
          if (event.change == ObjectChange::Replaced || event.change == ObjectChange::PictureTaken)
              showPicture();
      })) {
    setObjectName(QStringLiteral("TabSheet3"));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* get = new QPushButton(this);
    get->setObjectName(QStringLiteral("Button4"));
    tagControl(get, Tag::GetPicture);
    connect(get, &QPushButton::clicked, this, &PicturePage::Button4Click);
    row->addWidget(get);
    m_widthField = makeSizeField("Edit5", this);
    m_heightField = makeSizeField("Edit6", this);
    row->addWidget(m_widthField);
    row->addWidget(new QLabel(QStringLiteral("X"), this));
    row->addWidget(m_heightField);
    row->addStretch();
    layout->addLayout(row);

    m_panel1 = new QWidget(this);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_panel1->setAutoFillBackground(true);
    m_panel1->setBackgroundRole(QPalette::Mid);
    m_image1 = new PictureBox(m_panel1);
    m_image1->setObjectName(QStringLiteral("Image1"));
    markAsImage(m_image1);
    tagControl(m_image1, Tag::PictureBox);
    m_image1->move(kImageMargin / 2, kImageMargin / 2);
    connect(m_image1, &PictureBox::pressed, this, [this](QPoint, Qt::MouseButton button) {
        if (button == Qt::LeftButton) Button4Click();  // Image1Click
    });
    layout->addWidget(m_panel1, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addStretch();
    showPicture();
}

void PicturePage::showFirstPicture() { showImage(RgbImage(kFirstImageWidth, kFirstImageHeight)); }

void PicturePage::showPicture() {
    const CobData& cob = m_document.cob();
    m_widthField->setText(QString::number(cob.pictureWidth));
    m_heightField->setText(QString::number(cob.pictureHeight));
    m_image1->hide();
    showImage(renderCobPicture(cob, m_palette));
    m_image1->show();
}

void PicturePage::showImage(RgbImage image) {
    m_image = std::move(image);
    m_image1->showImage(m_image);
    m_panel1->setFixedSize(m_image.width + kImageMargin, m_image.height + kImageMargin);
}

void PicturePage::Button4Click() {
    runGuarded(m_context, [this] {
        // Before a sprite was selected in the sprite editor there is nothing to take.
        if (m_pictures.spriteLoaded()) m_document.takePicture(m_pictures.currentSprite());
    });
}

}  // namespace vek::ui
