#include "gui/widgets/common_buttons.h"

#include <QAbstractButton>
#include <QDialog>
#include <QHBoxLayout>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QString>
#include <QWidget>

namespace zt::gui {
namespace {

QAbstractButton* findButton(QWidget& window, std::string_view name)
{
    return window.findChild<QAbstractButton*>(
        QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
}

}  // namespace

void captionCommonButtons(QWidget& window, const TextLookup& text)
{
    applyCommonButtonCaptions(
        [&](std::string_view name) { return findButton(window, name) != nullptr; },
        [&](std::string_view name, const std::string& caption) {
            if (auto* b = findButton(window, name)) b->setText(QString::fromUtf8(caption));
        },
        text);
}

}  // namespace zt::gui

namespace zt::gui {

void closeChildWindow(QWidget& window)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window.parentWidget()))
        sub->close();
    else
        window.close();
}

QPushButton* newCloseButton(QWidget& window)
{
    auto* close = new QPushButton(&window);
    close->setObjectName("CommandClose");
    QObject::connect(close, &QPushButton::clicked, &window,
                     [&window] { closeChildWindow(window); });
    return close;
}

QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* b : buttons) row->addWidget(b);
    return row;
}

OkCancelButtons newOkCancelButtons(QDialog& dialog)
{
    OkCancelButtons b;
    b.ok = new QPushButton(&dialog);
    b.ok->setObjectName("CommandOK");
    b.cancel = new QPushButton(&dialog);
    b.cancel->setObjectName("CommandCancel");
    QObject::connect(b.cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    return b;
}

}  // namespace zt::gui
