#include "gui/functions/window_refresh.h"

#include <QApplication>
#include <QComboBox>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>

#include "core/edit/dtmf_rules.h"

namespace zt::gui {

QList<QWidget*> openWindowsNamed(const QString& name)
{
    QList<QWidget*> out;
    for (QWidget* w : QApplication::allWidgets())
        if (w->objectName() == name) out.push_back(w);
    return out;
}

bool hasMethod(const QWidget& widget, const char* method)
{
    const QByteArray signature = QByteArray(method) + "()";
    return widget.metaObject()->indexOfMethod(signature.constData()) >= 0;
}

void callOnOpenWindows(const char* windowName, const char* method)
{
    // A called window may close others; guard each pointer.
    QList<QPointer<QWidget>> windows;
    for (QWidget* w : openWindowsNamed(QString::fromLatin1(windowName))) windows.push_back(w);
    for (const auto& w : windows) {
        if (!w) continue;
        if (hasMethod(*w, method)) QMetaObject::invokeMethod(w, method, Qt::DirectConnection);
    }
}

void rebuildOpenRbLists()
{
    callOnOpenWindows(refresh::ChannelEditor, refresh::ShowRB);
    callOnOpenWindows(refresh::OptFeatures, refresh::ShowRBOpt);
}

void refreshOpenDtmfCodeLists(const DtmfSettings& dtmf, const QString& noneText)
{
    QList<QPointer<QWidget>> editors;
    for (QWidget* w : openWindowsNamed(QString::fromLatin1(refresh::ChannelEditor)))
        editors.push_back(w);
    for (const auto& w : editors) {
        if (!w) continue;
        if (hasMethod(*w, refresh::RefreshDtmfCodeLists)) {
            QMetaObject::invokeMethod(w, refresh::RefreshDtmfCodeLists, Qt::DirectConnection);
            continue;
        }
        // A list showing no channel (disabled, holding " ") stays as it is:
        // choosing an entry there would write to an empty position.
        for (const char* name : refresh::ChannelEditorCodeLists) {
            auto* list = w ? w->findChild<QComboBox*>(QString::fromLatin1(name)) : nullptr;
            if (list && list->isEnabled() && list->currentText() != QLatin1String(" "))
                refillDtmfCodeList(*list, dtmf, noneText);
        }
    }
    callOnOpenWindows(refresh::OptFeatures, refresh::RefreshDtmfCodeLists);
}

void refillDtmfCodeList(QComboBox& list, const DtmfSettings& dtmf, const QString& noneText)
{
    const QString previous = list.currentIndex() >= 0 ? list.currentText() : QString();
    {
        const QSignalBlocker block(list);
        list.clear();
        for (const auto& entry : dtmfCodeListEntries(dtmf, noneText.toStdString()))
            list.addItem(QString::fromStdString(entry));
        list.setCurrentIndex(-1);
    }
    // The final selection is reported like a user's choice.
    const int keep = previous.isEmpty() ? -1 : list.findText(previous, Qt::MatchExactly);
    list.setCurrentIndex(keep >= 0 ? keep : 0);
}

}  // namespace zt::gui
