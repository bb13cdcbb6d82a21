#pragma once

#include <QString>
#include <QStringList>

#include "gui/window_names.h"

class QDialog;
class QWidget;

namespace zt::gui {

struct AppContext;

// The child (MDI) windows built into this program, by name. A window whose
// class is not part of the build yet is simply missing: creating it gives
// null. The channel grid falls back to a read-only channel table.
QWidget* createChildWindow(const QString& name, AppContext& app, QWidget* parent = nullptr);
// The modal windows (model information, program password, COM port, language,
// about), by name; null when not part of the build.
QDialog* createModalWindow(const QString& name, AppContext& app, QWidget* parent = nullptr);
bool childWindowAvailable(const QString& name);
bool modalWindowAvailable(const QString& name);

}  // namespace zt::gui
