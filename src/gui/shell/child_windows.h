#pragma once

#include <QString>
#include <QStringList>

#include "gui/window_names.h"

class QDialog;
class QWidget;

namespace zt::gui {

struct AppContext;

// The child (MDI) windows of this program, by name; null for a name that is
// no child window.
QWidget* createChildWindow(const QString& name, AppContext& app, QWidget* parent = nullptr);
// The modal windows (model information, program password, COM port, language,
// about), by name; null for a name that is no modal window.
QDialog* createModalWindow(const QString& name, AppContext& app, QWidget* parent = nullptr);

}  // namespace zt::gui
