#include "gui/transfer/link_options_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/text_ids.h"
#include "gui/app_context.h"
#include "gui/prompt/prompt_service.h"
#include "gui/transfer/link_options.h"
#include "gui/widgets/common_buttons.h"

namespace zt::gui {

namespace {

constexpr int kCaption = text::port::TransferOptionsWindowCaption;
constexpr int kVerify = text::port::CheckBoxVerifyAfterWrite;
constexpr int kTrace = text::port::CheckBoxSerialTrace;
constexpr int kTraceFile = text::port::TraceFileLabel;
constexpr int kBrowse = text::port::ChooseTraceFileButton;
constexpr int kTraceFilter = text::port::TraceFileFilter;

}  // namespace

LinkOptionsDialog::LinkOptionsDialog(AppContext& app, QWidget* parent) : QDialog(parent), app_(app)
{
    setObjectName("FrmLinkOptions");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    verify_ = new QCheckBox(this);
    verify_->setObjectName("chkVerify");
    trace_ = new QCheckBox(this);
    trace_->setObjectName("chkTrace");
    fileLabel_ = new QLabel(this);
    fileLabel_->setObjectName("lblTraceFile");
    file_ = new QLineEdit(this);
    file_->setObjectName("txtTraceFile");
    file_->setMinimumWidth(280);
    fileLabel_->setBuddy(file_);
    browse_ = new QPushButton(this);
    browse_->setObjectName("cmdBrowse");
    browse_->setAutoDefault(false);
    auto* ok = new QPushButton(this);
    ok->setObjectName("CommandOK");
    auto* cancel = new QPushButton(this);
    cancel->setObjectName("CommandCancel");

    connect(trace_, &QCheckBox::toggled, this, [this] { traceToggled(); });
    connect(browse_, &QPushButton::clicked, this, [this] { chooseTraceFile(); });
    connect(ok, &QPushButton::clicked, this, [this] { commandOkClick(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* fileRow = new QHBoxLayout;
    fileRow->addSpacing(20);
    fileRow->addWidget(fileLabel_);
    fileRow->addWidget(file_, 1);
    fileRow->addWidget(browse_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(verify_);
    layout->addSpacing(6);
    layout->addWidget(trace_);
    layout->addLayout(fileRow);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    const LinkOptions o = loadLinkOptions(app_.paths.mySetupIni());
    verify_->setChecked(o.verifyAfterWrite);
    trace_->setChecked(o.trace);
    file_->setText(QString::fromStdString(o.traceFile));
    traceToggled();
    applyLanguageTexts();
}

void LinkOptionsDialog::applyLanguageTexts()
{
    setWindowTitle(app_.text(kCaption));
    verify_->setText(app_.text(kVerify));
    trace_->setText(app_.text(kTrace));
    fileLabel_->setText(app_.text(kTraceFile));
    browse_->setText(app_.text(kBrowse));
    captionCommonButtons(*this, app_.texts.lookup());
}

void LinkOptionsDialog::traceToggled()
{
    const bool on = trace_->isChecked();
    fileLabel_->setEnabled(on);
    file_->setEnabled(on);
    browse_->setEnabled(on);
}

void LinkOptionsDialog::chooseTraceFile()
{
    FileDialogRequest request;
    request.save = true;
    request.title = app_.text(kTrace);
    request.filters = {app_.text(kTraceFilter) + " (*.txt *.log)"};
    request.initialPath = file_->text();
    if (const auto chosen = app_.prompt->chooseFile(request)) file_->setText(*chosen);
}

void LinkOptionsDialog::commandOkClick()
{
    LinkOptions o;
    o.verifyAfterWrite = verify_->isChecked();
    o.trace = trace_->isChecked();
    o.traceFile = file_->text().trimmed().toStdString();
    if (o.trace) {
        // A trace switched on must be able to write, or a failed transfer
        // would leave the user without the log they expect.
        Message m;
        m.icon = Icon::Warning;
        if (o.traceFile.empty()) {
            m.textId = text::msg::TraceNoFile;
            app_.prompt->ask(m);
            return;
        }
        if (!traceFileWritable(o.traceFile)) {
            m.textId = text::msg::TraceNotWritable;
            m.text = o.traceFile;
            app_.prompt->ask(m);
            return;
        }
    }
    if (!saveLinkOptions(app_.paths.mySetupIni(), o)) {
        Message m;
        m.textId = text::msg::FileError;  // the settings file could not be written
        m.icon = Icon::Error;
        app_.prompt->ask(m);
        return;
    }
    accept();
}

}  // namespace zt::gui
