#include "gui/infotool/batch_write.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>

#include "core/edit/infotool_rules.h"
#include "gui/prompt/prompt_service.h"
#include "gui/text_codec.h"

namespace zt::infotool {

namespace {

QString u8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

BatchWrite::BatchWrite(InfoExchange& exchange, BatchControls controls,
                       const DealerFieldEdits& dealer, gui::PromptService* prompt, int language,
                       std::function<bool()> preparePort)
    : exchange_(exchange),
      controls_(controls),
      dealer_(dealer),
      prompt_(prompt),
      language_(language),
      preparePort_(std::move(preparePort))
{
}

void BatchWrite::startOrStop()
{
    if (running_) {
        stop();
        return;
    }
    if (exchange_.state() != InfoState::Idle) return;
    const auto total = batchTotal(controls_.count->text().toStdString());
    if (!total) return;  // an empty or non-numeric count starts nothing
    if (preparePort_ && !preparePort_()) return;
    if (!chooseFieldsToClear()) return;

    running_ = true;
    showRunning();
    // A port that cannot be opened is reported through the exchange's end,
    // which puts the controls back.
    if (!exchange_.startBatch(*total) && running_) ended();
}

bool BatchWrite::chooseFieldsToClear()
{
    clear_.clear();
    // Fields empty from the start keep each radio's own values without a word;
    // one the user emptied may be meant to clear them.
    const std::vector<DealerField> emptied = dealer_.emptied();
    if (emptied.empty() || prompt_ == nullptr) return true;
    QStringList names;
    for (DealerField f : emptied) names << dealer_.label(f);
    Message m;
    m.text = std::string(texts(language_).keepEmptiedFieldsInBatch) + "\n" +
             names.join('\n').toStdString();
    m.buttons = Buttons::YesNoCancel;
    m.icon = Icon::Question;
    m.defaultAnswer = Answer::No;  // Enter keeps what the radio holds
    // Yes clears and No keeps, as in the question before a single Write: the
    // same button never means the opposite in the two questions.
    switch (prompt_->ask(m)) {
        case Answer::Cancel:
            return false;
        case Answer::Yes:
            clear_ = emptied;
            return true;
        default:
            return true;
    }
}

void BatchWrite::showRunning()
{
    const Texts& t = texts(language_);
    controls_.read->setEnabled(false);
    controls_.write->setEnabled(false);
    controls_.batch->setText(u8(t.stopMulWrite));
    controls_.current->setText("1");
    controls_.status->setText(u8(t.writingBatch));
}

void BatchWrite::stop()
{
    if (!running_) return;
    exchange_.stopBatch();
    ended();
}

void BatchWrite::writingRadio()
{
    if (running_) controls_.status->setText(u8(texts(language_).writingBatch));
}

void BatchWrite::radioWritten(int nextRadio, const std::string& serialNumber)
{
    controls_.serial->setText(gui::fromRecordText(serialNumber));
    controls_.current->setText(QString::number(nextRadio));
}

void BatchWrite::waitingForNextRadio()
{
    controls_.status->setText(u8(texts(language_).waitingNext));
}

void BatchWrite::ended()
{
    running_ = false;
    clear_.clear();
    controls_.read->setEnabled(true);
    controls_.write->setEnabled(true);
    controls_.current->clear();
    controls_.status->clear();
    controls_.batch->setText(u8(texts(language_).mulWrite));
}

}  // namespace zt::infotool
