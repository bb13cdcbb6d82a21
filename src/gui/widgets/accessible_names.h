#pragma once

// Names for screen readers. Most controls are named by their own caption or by
// a label Qt knows as their buddy; the rest stand beside a label in a layout
// (a group's name box, the power-on character boxes) or have only an icon.
// nameControls gives each of those a name: icon-only and caption-less controls
// by their object name from the language texts, the others by the label they
// stand after, numbered when several controls share one label.

#include <QString>
#include <functional>

class QWidget;

namespace zt::gui {

// The language text of an id.
using TextOf = std::function<QString(int id)>;

// Names every unnamed control under `root` (root included). Names given here
// are given again on the next call, so calling it after a language change
// follows the new texts; names set elsewhere are left alone.
void nameControls(QWidget& root, const TextOf& text);

// The same for a widget and again whenever `languageChanged` of `events` fires.
class DocumentEvents;
void keepControlsNamed(QWidget& root, DocumentEvents& events, const TextOf& text);

}  // namespace zt::gui
