#include "sprites/ui/sprite_file_creator_window.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "app/text_names.h"
#include "app/ui/language.h"
#include "app/ui/qt_convert.h"
#include "app/ui/status_note.h"
#include "app/ui/tags.h"
#include "app/ui/widgets/arrow_stepper.h"
#include "app/ui/widgets/designed_layout.h"
#include "sprites/sprite_creator.h"

namespace vek::ui {

namespace {

constexpr QSize kClientSize{229, 54};

}  // namespace

SpriteFileCreatorWindow::SpriteFileCreatorWindow(AppContext& context)
    : VekWindow(context, QStringLiteral("TForm4"), QStringLiteral("Sprite File Creator")) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    QFont windowFont(QStringLiteral("Times New Roman"));
    windowFont.setPixelSize(11);
    setFont(windowFont);
    DesignedLayout* layout = DesignedLayout::install(this, kClientSize);
    QWidget* client = centralWidget();

    auto makeLabel = [client, layout](const char* name, QRect where, int tag, Qt::Alignment align) {
        auto* label = new QLabel(client);
        label->setObjectName(QLatin1String(name));
        label->setAlignment(align | Qt::AlignVCenter);
        tagControl(label, tag);
        layout->place(label, where);
        return label;
    };
    auto makeField = [client, layout](QLineEdit*& edit, ArrowStepper*& upDown, const char* editName,
                                      const char* upDownName, QRect where, int maximum,
                                      const QString& hint) {
        edit = new QLineEdit(QStringLiteral("1"), client);
        edit->setObjectName(QLatin1String(editName));
        setHint(edit, hint);
        layout->place(edit, where);
        upDown = new ArrowStepper(edit, 1, maximum, client);
        upDown->setObjectName(QLatin1String(upDownName));
        layout->place(upDown, {where.right() + 1, where.top(), 13, where.height()});
    };

    Label1 = makeLabel("Label1", {4, 4, 88, 21}, Tag::NumberOfSprites, Qt::AlignLeft);
    makeField(Edit1, UpDown1, "Edit1", "UpDown1", {94, 4, 36, 21}, 200,
              QStringLiteral("Select the number of sprites that you wqant in the new file"));
    Label2 = makeLabel("Label2", {4, 29, 44, 21}, Tag::SizeX, Qt::AlignRight);
    makeField(Edit2, UpDown2, "Edit2", "UpDown2", {50, 29, 36, 21}, 300,
              QStringLiteral("X Dimension of the dprite(s)"));
    Label3 = makeLabel("Label3", {100, 29, 44, 21}, Tag::SizeY, Qt::AlignRight);
    makeField(Edit3, UpDown3, "Edit3", "UpDown3", {146, 29, 36, 21}, 300,
              QStringLiteral("Y Dimension of the sprite(s)"));

    Button1 = new QPushButton(client);
    Button1->setObjectName(QStringLiteral("Button1"));
    tagControl(Button1, Tag::CreateSpriteFile);
    layout->place(Button1, {142, 4, 83, 21});
    connect(Button1, &QPushButton::clicked, this, &SpriteFileCreatorWindow::Button1Click);
}

void SpriteFileCreatorWindow::FormCreate() {}

void SpriteFileCreatorWindow::showEvent(QShowEvent* event) {
    VekWindow::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void SpriteFileCreatorWindow::Button1Click() {
    runCommand([this] {
        AppContext& ctx = context();
        const auto fileName = ctx.dialogs.saveFile(
            ctx.text(Msg::FileCreatorCreateTitle),
            ctx.files.startFolder(RecentKind::Sprites, toQString(ctx.game.paths().CImagePath)),
            QStringLiteral("*.SPR (*.SPR *.spr)"), QStringLiteral("SPR"));
        if (!fileName) return;
        // The fields are read only now, after the file was chosen.
        const UniformSpriteFile layout = creatorLayout(
            toStdString(Edit1->text()), toStdString(Edit2->text()), toStdString(Edit3->text()));
        writeUniformSpriteFile(toPath(*fileName), layout);
        ctx.files.remember(RecentKind::Sprites, *fileName);
        showNote(this, ctx.text(Msg::CreatedNote).arg(QFileInfo(*fileName).fileName()));
    });
}

}  // namespace vek::ui
