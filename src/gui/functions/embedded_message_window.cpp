#include "gui/functions/embedded_message_window.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/edit/message_rules.h"
#include "core/text_ids.h"
#include "gui/app_context.h"
#include "gui/text_codec.h"
#include "gui/widgets/common_buttons.h"
#include "gui/widgets/guarded_line_edit.h"

namespace zt::gui {

EmbeddedMessageWindow::EmbeddedMessageWindow(AppContext& app, QWidget* parent)
    : QWidget(parent), app_(app)
{
    setObjectName("FrmEmbMsg");
    auto* layout = new QVBoxLayout(this);
    auto& messages = app_.documents.working().Data.Messages;
    for (int i = 0; i < kLineCount; ++i) {
        auto* box = new GuardedLineEdit(this);
        box->setObjectName(QString("Text1_%1").arg(i));
        box->setMaxLength(static_cast<int>(kMessageLineLength));
        box->setMaxCharCode(127);
        // Wide enough for 16 of the widest characters.
        box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QString(16, 'W')) + 16);
        lines_[static_cast<std::size_t>(i)] = box;
        layout->addWidget(box);
        // Opening shows the cut line; storing it at once gives the line its
        // stored form (text, NUL, spaces), as every later change does.
        box->setText(fromRecordText(messageLineText(messages[static_cast<std::size_t>(i)])));
        lineChanged(i);
        connect(box, &QLineEdit::textChanged, this, [this, i] { lineChanged(i); });
    }
    close_ = new QPushButton(this);
    close_->setObjectName("CommandClose");
    connect(close_, &QPushButton::clicked, this, [this] { closeChildWindow(*this); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close_);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->addStretch(1);
    applyLanguageTexts();
}

GuardedLineEdit* EmbeddedMessageWindow::line(int index) const
{
    if (index < 0 || index >= kLineCount) return nullptr;
    return lines_[static_cast<std::size_t>(index)];
}

void EmbeddedMessageWindow::applyLanguageTexts()
{
    setWindowTitle(app_.text(text::emg::EmbeddedMessageWindowCaption));
    captionCommonButtons(*this, app_.texts.lookup());
}

void EmbeddedMessageWindow::lineChanged(int index)
{
    const auto i = static_cast<std::size_t>(index);
    app_.documents.working().Data.Messages[i] =
        messageLineFromText(toRecordText(lines_[i]->text()));
}

}  // namespace zt::gui
