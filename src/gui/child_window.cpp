#include "gui/child_window.h"

#include <QWidget>

#include "gui/document_events.h"

namespace zt::gui {

void followDocument(QWidget& widget, ChildWindow& window, DocumentEvents& events)
{
    QObject::connect(&events, &DocumentEvents::aboutToReadDocument, &widget,
                     [&window] { window.commitPendingEdits(); });
    QObject::connect(&events, &DocumentEvents::documentReplaced, &widget,
                     [&window] { window.reload(); });
    QObject::connect(&events, &DocumentEvents::languageChanged, &widget,
                     [&window] { window.retranslate(); });
}

}  // namespace zt::gui
