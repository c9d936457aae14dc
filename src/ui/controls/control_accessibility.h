#pragma once
// Assistive tools see the skin's drawn controls as the platform's own
// controls would present themselves: buttons, links, a status bar and
// animations, each with its name and the actions a user has.
class QAccessibleInterface;
class QObject;
class QString;

namespace quell::ui {

// Registers the factory below with Qt; safe to call more than once.
void installControlAccessibility();

// The interface for one of the drawn controls, or null for any other object.
// Qt asks once for every class of an object's ancestry, most derived first.
QAccessibleInterface* controlAccessibleInterface(const QString& className, QObject* object);

}  // namespace quell::ui
