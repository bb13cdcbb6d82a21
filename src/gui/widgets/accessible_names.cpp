#include "gui/widgets/accessible_names.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QBoxLayout>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QToolButton>
#include <QWidget>
#include <utility>

#include "core/text_ids.h"
#include "gui/document_events.h"

namespace zt::gui {
namespace {

// Marks a name this file gave, so that it is given again after a language change.
constexpr const char* kGivenName = "ztGivenAccessibleName";

// Controls that have nothing but an icon or no caption at all, by object name.
const std::pair<const char*, int> kNamedByObject[] = {
    {"TreeView1", text::main::AccessFunctionTree},
    {"CommandMove", text::main::AccessDivider},
    {"Toolbar1Close", text::main::AccessCloseFunctionList},
    {"MSFlexGrid1", text::main::AccessChannelGrid},
    {"DeviceList", text::main::AccessSerialDevices},
};

bool isControl(const QWidget* w)
{
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QAbstractSlider*>(w) ||
           qobject_cast<const QTextEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
           (qobject_cast<const QLabel*>(w) && (w->focusPolicy() & Qt::TabFocus));
}

// What a screen reader would say as the control's name without us.
QString ownName(QWidget* w)
{
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name).trimmed() : QString();
}

QString labelText(const QLabel* label)
{
    QString t = label->text();
    t.remove(QLatin1Char('&'));
    t = t.trimmed();
    while (t.endsWith(QLatin1Char(':')) || t.endsWith(QChar(0xFF1A))) t.chop(1);
    return t.trimmed();
}

QLabel* labelIn(QLayoutItem* item)
{
    if (!item) return nullptr;
    auto* label = qobject_cast<QLabel*>(item->widget());
    return label && !labelText(label).isEmpty() ? label : nullptr;
}

// The label standing before item `index` of `layout`: the cell to its left in a
// grid, the item before it in a row.
QLabel* labelBefore(QLayout* layout, int index)
{
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
        for (int c = column - 1; c >= 0; --c)
            if (QLayoutItem* item = grid->itemAtPosition(row, c)) {
                if (QLabel* l = labelIn(item)) return l;
                if (item->widget() && isControl(item->widget())) return nullptr;
            }
        return nullptr;
    }
    auto* box = qobject_cast<QBoxLayout*>(layout);
    if (!box || (box->direction() != QBoxLayout::LeftToRight &&
                 box->direction() != QBoxLayout::RightToLeft))
        return nullptr;
    for (int i = index - 1; i >= 0; --i) {
        QLayoutItem* item = box->itemAt(i);
        if (QLabel* l = labelIn(item)) return l;
        if (item->widget() && isControl(item->widget())) return nullptr;
    }
    return nullptr;
}

// The layout that holds `w` directly, searched from `layout` down; its parents
// are pushed onto `path`.
QLayout* holderOf(QLayout* layout, const QWidget* w, std::vector<QLayout*>& path)
{
    if (!layout) return nullptr;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == w) return layout;
        if (QLayout* inner = item->layout()) {
            path.push_back(layout);
            if (QLayout* found = holderOf(inner, w, path)) return found;
            path.pop_back();
        }
    }
    return nullptr;
}

// "Label" or, for one of several controls of a kind sharing the label, "Label n".
QString nameFromLayout(QWidget* w)
{
    QWidget* parent = w->parentWidget();
    if (!parent || !parent->layout()) return {};
    std::vector<QLayout*> path;
    QLayout* holder = holderOf(parent->layout(), w, path);
    if (!holder) return {};
    if (QLabel* l = labelBefore(holder, holder->indexOf(w))) return labelText(l);
    // A row of like controls inside a layout cell: the label of the cell, and the number.
    int number = 0, count = 0;
    for (int i = 0; i < holder->count(); ++i) {
        QWidget* other = holder->itemAt(i)->widget();
        if (!other || other->metaObject() != w->metaObject()) continue;
        ++count;
        if (other == w) number = count;
    }
    QLayout* inner = holder;
    while (!path.empty()) {
        QLayout* outer = path.back();
        path.pop_back();
        if (QLabel* l = labelBefore(outer, outer->indexOf(inner))) {
            const QString name = labelText(l);
            return count > 1 ? name + QLatin1Char(' ') + QString::number(number) : name;
        }
        inner = outer;
    }
    // Lines of one text without a label: the window's title, and the number.
    if (count > 1)
        for (QWidget* p = parent; p; p = p->parentWidget())
            if (!p->windowTitle().isEmpty())
                return p->windowTitle() + QLatin1Char(' ') + QString::number(number);
    return {};
}

QString nameByObject(QWidget* w, const TextOf& text)
{
    QString key = w->objectName();
    if (auto* button = qobject_cast<QToolButton*>(w); button && button->defaultAction())
        key = button->defaultAction()->objectName();
    for (const auto& [name, id] : kNamedByObject)
        if (key == QLatin1String(name)) return text(id);
    return {};
}

void nameOne(QWidget* w, const TextOf& text)
{
    const bool givenHere = w->property(kGivenName).toBool();
    if (!givenHere && !w->accessibleName().isEmpty()) return;
    if (givenHere) w->setAccessibleName(QString());
    if (!ownName(w).isEmpty()) return;
    QString name = nameByObject(w, text);
    // The text box of an editable list is read out as the list.
    if (auto* combo = qobject_cast<QComboBox*>(w->parentWidget()); combo && name.isEmpty())
        name = ownName(combo);
    if (name.isEmpty()) name = nameFromLayout(w);
    if (name.isEmpty()) return;
    w->setAccessibleName(name);
    w->setProperty(kGivenName, true);
}

}  // namespace

void nameControls(QWidget& root, const TextOf& text)
{
    if (isControl(&root)) nameOne(&root, text);
    for (QWidget* w : root.findChildren<QWidget*>())
        if (isControl(w)) nameOne(w, text);
}

void keepControlsNamed(QWidget& root, DocumentEvents& events, const TextOf& text)
{
    nameControls(root, text);
    QObject::connect(&events, &DocumentEvents::languageChanged, &root,
                     [&root, text] { nameControls(root, text); });
}

}  // namespace zt::gui
