#include "gui/widgets/text_size.h"

#include <QAction>
#include <QApplication>
#include <QFont>
#include <QKeySequence>
#include <QMenu>
#include <algorithm>
#include <cmath>

#include "core/text_ids.h"
#include "gui/widgets/twips.h"

namespace zt::gui {
namespace {

int currentPercent = kNormalTextPercent;

const QString kSection = QStringLiteral("View");
const QString kKey = QStringLiteral("TextPercent");

// The application font before the first change: the system's font.
const QFont& systemFont()
{
    static const QFont font = QApplication::font();
    return font;
}

}  // namespace

int textPercent()
{
    return currentPercent;
}

void setTextPercent(int percent)
{
    const QFont& base = systemFont();
    currentPercent = std::clamp(percent, kSmallestTextPercent, kLargestTextPercent);
    QFont font = base;
    if (base.pointSizeF() > 0)
        font.setPointSizeF(base.pointSizeF() * currentPercent / 100.0);
    else
        font.setPixelSize(std::max(1, base.pixelSize() * currentPercent / 100));
    QApplication::setFont(font);
}

int scaledTwipsToPixels(int twips)
{
    return scaledPixels(twipsToPixels(twips));
}

int scaledPixels(int pixels)
{
    return static_cast<int>(std::lround(pixels * currentPercent / 100.0));
}

void applyStoredTextSize(const UserSettingsStore& store)
{
    setTextPercent(store.number(kSection, kKey, kNormalTextPercent));
}

void addTextSizeCommands(QMenu& view, TextSizeHost host)
{
    auto change = [host](int percent) {
        if (std::clamp(percent, kSmallestTextPercent, kLargestTextPercent) == textPercent()) return;
        setTextPercent(percent);
        (void)host.store().storeNumbers(kSection, {{kKey, textPercent()}});
        host.relayout();
    };
    view.addSeparator();
    auto add = [&view](const char* name, int textId, const QList<QKeySequence>& keys) {
        QAction* a = view.addAction(QString());
        a->setObjectName(QLatin1String(name));
        a->setProperty("textId", textId);
        a->setShortcuts(keys);
        return a;
    };
    QObject::connect(
        add("mnuViewLargerText", text::menu::ViewLargerText,
            {QKeySequence(QKeySequence::ZoomIn), QKeySequence(QStringLiteral("Ctrl+="))}),
        &QAction::triggered, &view, [change] { change(textPercent() + kTextPercentStep); });
    QObject::connect(add("mnuViewSmallerText", text::menu::ViewSmallerText,
                         {QKeySequence(QKeySequence::ZoomOut)}),
                     &QAction::triggered, &view,
                     [change] { change(textPercent() - kTextPercentStep); });
    QObject::connect(add("mnuViewNormalText", text::menu::ViewNormalText,
                         {QKeySequence(QStringLiteral("Ctrl+0"))}),
                     &QAction::triggered, &view, [change] { change(kNormalTextPercent); });
}

}  // namespace zt::gui
