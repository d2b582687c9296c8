// Re-captioning components from their text numbers.
#include "ui/captions.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QVariant>
#include <QWidget>

#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

constexpr const char* kTextNumberProperty = "textNumber";

}  // namespace

void SetTextNumber(QObject* component, int number) {
    component->setProperty(kTextNumberProperty, number);
}

int TextNumberOf(const QObject* component) {
    return component->property(kTextNumberProperty).toInt();
}

bool ApplyCaption(QObject* component, int base) {
    const int number = TextNumberOf(component);
    if (number == 0) return false;
    const QString text = LoadText(number, base);
    if (auto* menu = qobject_cast<QMenu*>(component)) {
        menu->setTitle(text);
    } else if (auto* action = qobject_cast<QAction*>(component)) {
        action->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(component)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(component)) {
        // Only a label with a buddy turns "&" into a shortcut; any other shows it as it is.
        label->setText(label->buddy() ? text : WithoutAccelerator(text));
    } else if (auto* group = qobject_cast<QGroupBox*>(component)) {
        group->setTitle(text);
    } else if (auto* widget = qobject_cast<QWidget*>(component); widget && widget->isWindow()) {
        widget->setWindowTitle(WithoutAccelerator(text));
    } else {
        return false;
    }
    return true;
}

void ApplyCaptions(QWidget* window, int base) {
    ApplyCaption(window, base);
    for (QObject* component : window->findChildren<QObject*>()) ApplyCaption(component, base);
}

void ApplyLanguage(int base, StoredTexts& stored) {
    for (QWidget* window : QApplication::topLevelWidgets()) ApplyCaptions(window, base);
    stored.Apply(base);
}

QString WithoutAccelerator(const QString& caption) {
    QString out;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&') {
            // "&&" stands for one "&".
            if (i + 1 < caption.size() && caption[i + 1] == u'&') out += caption[++i];
            continue;
        }
        out += caption[i];
    }
    return out;
}

}  // namespace quorvex
