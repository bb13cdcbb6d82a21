#pragma once

// The batch write of the information tool: the same dealer data written to a
// series of radios in turn. It starts and stops the exchange's batch, asks
// once before the start what to do with dealer fields the user left empty,
// and keeps the window's batch controls (buttons, count, current radio,
// status text) in step with the exchange.

#include <QString>
#include <functional>
#include <vector>

#include "core/link/dealer_fields.h"
#include "core/link/info_exchange.h"
#include "gui/infotool/dealer_field_edits.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace zt::gui {
class PromptService;
}

namespace zt::infotool {

// The window's controls a batch drives.
struct BatchControls {
    QPushButton* read = nullptr;
    QPushButton* write = nullptr;
    QPushButton* batch = nullptr;
    QLineEdit* count = nullptr;    // the number of radios
    QLineEdit* current = nullptr;  // the radio being written
    QLabel* status = nullptr;
    QLineEdit* serial = nullptr;  // follows the serial number from radio to radio
};

class BatchWrite {
  public:
    // `preparePort` chooses the port before it is opened; false (reported)
    // starts nothing.
    BatchWrite(InfoExchange& exchange, BatchControls controls, const DealerFieldEdits& dealer,
               gui::PromptService* prompt, int language, std::function<bool()> preparePort);

    bool running() const { return running_; }
    // The dealer fields to clear on every radio of the running batch; every
    // other field left empty keeps the value each radio holds.
    const std::vector<DealerField>& fieldsToClear() const { return clear_; }

    // The batch button: starts a batch when idle, stops the running one.
    void startOrStop();
    // Ends the running batch at once, without a message (the port is closed).
    void stop();

    // From the exchange: a radio's values are being taken, a radio was
    // written (`nextRadio` is the number of the one due next), the batch waits
    // for the next radio, the batch ended (finished or failed).
    void writingRadio();
    void radioWritten(int nextRadio, const std::string& serialNumber);
    void waitingForNextRadio();
    void ended();

  private:
    // Asks which emptied fields to clear on every radio: false when the user
    // cancels (nothing starts).
    bool chooseFieldsToClear();
    void showRunning();

    InfoExchange& exchange_;
    BatchControls controls_;
    const DealerFieldEdits& dealer_;
    gui::PromptService* prompt_;
    int language_;
    std::function<bool()> preparePort_;
    bool running_ = false;
    std::vector<DealerField> clear_;
};

}  // namespace zt::infotool
