#include "app/ui/language.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QTranslator>
#include <QVariant>

#include "app/text_table.h"
#include "app/ui/qt_convert.h"
#include "app/ui/tags.h"

namespace vek::ui {

namespace {

bool isImage(const QObject* control) { return control->property(kImageProperty).toBool(); }

// A tab page is the page widget of a tab control (its parent is the control's page stack).
QTabWidget* tabControlOf(QObject* control) {
    auto* stack = qobject_cast<QStackedWidget*>(control->parent());
    return stack ? qobject_cast<QTabWidget*>(stack->parent()) : nullptr;
}

// Labels, push buttons, check boxes, radio buttons, menu items, tab pages and group boxes take
// captions; image buttons and images do not.
bool setCaption(QObject* control, const QString& caption) {
    if (isImage(control)) return false;
    if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(caption);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control);
               button && !qobject_cast<QToolButton*>(control)) {
        button->setText(caption);
    } else if (auto* action = qobject_cast<QAction*>(control)) {
        action->setText(caption);
    } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
        group->setTitle(caption);
    } else if (QTabWidget* tabs = tabControlOf(control)) {
        tabs->setTabText(tabs->indexOf(qobject_cast<QWidget*>(control)), caption);
    } else {
        return false;
    }
    return true;
}

// Everything that shows a hint except group boxes and tab pages, which only take captions.
bool takesHint(const QObject* control) {
    if (isImage(control)) return true;
    return qobject_cast<const QLabel*>(control) || qobject_cast<const QAbstractButton*>(control) ||
           qobject_cast<const QAction*>(control) ||
           qobject_cast<const QAbstractItemView*>(control) ||
           qobject_cast<const QLineEdit*>(control) ||
           qobject_cast<const QPlainTextEdit*>(control) ||
           qobject_cast<const QTextEdit*>(control) || qobject_cast<const QComboBox*>(control);
}

// A window's tagged components in the window's component order.
std::vector<QObject*> taggedComponents(QWidget* window) {
    std::vector<QObject*> components;
    for (QObject* child : window->findChildren<QObject*>()) {
        if (tagOf(child) != 0) components.push_back(child);
    }
    return components;
}

void applyCaption(QObject* control, int languageOffset, const TextTable& table) {
    setCaption(control, toQString(table.caption(tagOf(control), languageOffset)));
}

void applyHint(QObject* control, int languageOffset, const TextTable& table) {
    if (takesHint(control)) setHint(control, toQString(table.hint(tagOf(control), languageOffset)));
}

}  // namespace

void tagControl(QObject* control, int tag) {
    setTag(control, tag);
    applyCaption(control, 0, TextTable::builtIn());
    applyHint(control, 0, TextTable::builtIn());
}

QMenu* addTaggedMenu(QMenuBar* bar, const char* name, int tag, const QString& designedTitle) {
    QMenu* menu = bar->addMenu(QString());
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    if (tag != 0) tagControl(menu->menuAction(), tag);
    if (!designedTitle.isEmpty()) menu->setTitle(designedTitle);
    return menu;
}

QAction* addTaggedItem(QMenu* menu, const char* name, int tag, const QString& designedCaption) {
    QAction* item = menu->addAction(QString());
    item->setObjectName(QLatin1String(name));
    tagControl(item, tag);
    if (!designedCaption.isEmpty()) item->setText(designedCaption);
    return item;
}

namespace {

constexpr const char* kEnglishProperty = "vekEnglish";
constexpr const char* kGermanProperty = "vekGerman";

template <typename Text>
void giveBothCaptions(QObject* control, const Text& caption) {
    control->setProperty(kEnglishProperty, toQString(caption.english));
    control->setProperty(kGermanProperty, toQString(caption.german));
}

}  // namespace

QAction* addBilingualItem(QMenu* menu, const char* name, const Bilingual& caption) {
    QAction* item = menu->addAction(toQString(caption.english));
    item->setObjectName(QLatin1String(name));
    giveBothCaptions(item, caption);
    return item;
}

QMenu* addBilingualMenu(QMenu* menu, const char* name, const Bilingual& title) {
    QMenu* submenu = menu->addMenu(toQString(title.english));
    submenu->setObjectName(QLatin1String(name));
    giveBothCaptions(submenu->menuAction(), title);
    return submenu;
}

QMenu* addBilingualMenu(QMenuBar* bar, const char* name, const Bilingual& title) {
    QMenu* menu = bar->addMenu(toQString(title.english));
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    giveBothCaptions(menu->menuAction(), title);
    return menu;
}

void setBilingualCaption(QAction* item, const BilingualText& caption, std::string_view language) {
    giveBothCaptions(item, caption);
    item->setText(toQString(caption.in(language)));
}

void setBilingualText(QWidget* control, const Bilingual& text) {
    giveBothCaptions(control, text);
    if (auto* field = qobject_cast<QPlainTextEdit*>(control)) {
        field->setPlainText(toQString(text.english));
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(toQString(text.english));
    }
}

void applyBilingualCaptions(const std::vector<QWidget*>& windows, int languageOffset) {
    const char* property = languageOffset == 0 ? kEnglishProperty : kGermanProperty;
    for (QWidget* window : windows) {
        for (QAction* item : window->findChildren<QAction*>()) {
            const QVariant caption = item->property(property);
            if (caption.isValid()) item->setText(caption.toString());
        }
        // Widgets only: a text field's new text replaces objects of its document.
        for (QWidget* control : window->findChildren<QWidget*>()) {
            const QString text = control->property(property).toString();
            if (auto* field = qobject_cast<QPlainTextEdit*>(control); field && !text.isEmpty()) {
                field->setPlainText(text);
            } else if (auto* label = qobject_cast<QLabel*>(control); label && !text.isEmpty()) {
                label->setText(text);
            }
        }
    }
}

void translateQtTexts(int languageOffset) {
    static QPointer<QTranslator> german;
    static bool found = false;
    if (!german) {
        german = new QTranslator(QCoreApplication::instance());
        found = german->load(QStringLiteral("qtbase_de"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    }
    if (!found) return;
    if (languageOffset == TextTable::kGermanOffset) {
        QCoreApplication::installTranslator(german);
    } else {
        QCoreApplication::removeTranslator(german);
    }
}

void ChangeLanguage(const std::vector<QWidget*>& windows, int languageOffset,
                    const TextTable& table) {
    for (QWidget* window : windows) {
        for (QObject* control : taggedComponents(window))
            applyCaption(control, languageOffset, table);
    }
    for (QWidget* window : windows) {
        for (QObject* control : taggedComponents(window)) applyHint(control, languageOffset, table);
    }
}

}  // namespace vek::ui
