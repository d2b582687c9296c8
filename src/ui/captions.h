// Every caption of every window carries its text number, so that switching the language
// re-captions all windows at once.
#pragma once

#include <QString>

class QObject;
class QWidget;

namespace quorvex {

class StoredTexts;

// Gives a component (label, button, check box, group box, menu, menu item, or a window for its
// title) its text number; 0 leaves it out of the language switch.
void SetTextNumber(QObject* component, int number);
int TextNumberOf(const QObject* component);

// Sets the caption of one component from its text number; false when it has none or is of a
// kind that carries no caption.
bool ApplyCaption(QObject* component, int base);

// Numbers a new component and captions it in the language with this base: the label, button,
// group box or window title of one text, in a single expression.
template <class Component>
Component* Captioned(Component* component, int number, int base) {
    SetTextNumber(component, number);
    ApplyCaption(component, base);
    return component;
}

// Re-captions every numbered component of one window, at any depth of nesting.
void ApplyCaptions(QWidget* window, int base);

// Switches the whole program: every numbered component of every window and every stored
// text take the language with this base.
void ApplyLanguage(int base, StoredTexts& stored);

// A caption without its "&" marks (a menu caption used as a dialog title).
QString WithoutAccelerator(const QString& caption);

}  // namespace quorvex
