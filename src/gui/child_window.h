#pragma once

#include <QString>

class QWidget;

namespace zt::gui {

class DocumentEvents;

// What every child window of the main window's area offers, so the document and language
// events can reach it without knowing its class.
class ChildWindow {
  public:
    virtual ~ChildWindow() = default;
    // Writes the entry still being edited into the document.
    virtual void commitPendingEdits() = 0;
    // Shows the document's values again.
    virtual void reload() = 0;
    // Shows the texts of the current language.
    virtual void retranslate() = 0;

  protected:
    ChildWindow() = default;
    ChildWindow(const ChildWindow&) = default;
    ChildWindow& operator=(const ChildWindow&) = default;
};

// Connects a child window to the events every child window follows: pending edits are
// committed before the document is read, the values are shown again when the document is
// replaced, and the texts follow the language. The connections end with `widget`.
void followDocument(QWidget& widget, ChildWindow& window, DocumentEvents& events);

// Where child windows live; the main window's area implements it and is the one place that
// resolves the window names the program's rules use.
class ChildWindowHost {
  public:
    virtual ~ChildWindowHost() = default;
    // Shows the child window named `name`, creating it when it is not open. An open window is
    // activated; a new one is activated when `activateNew`.
    virtual void showChildWindow(const QString& name, bool activateNew) = 0;

  protected:
    ChildWindowHost() = default;
    ChildWindowHost(const ChildWindowHost&) = default;
    ChildWindowHost& operator=(const ChildWindowHost&) = default;
};

}  // namespace zt::gui
