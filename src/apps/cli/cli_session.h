#pragma once

// One run of ztp958fm-cli: the transfer machine on a serial port, with the
// questions answered from the command line and the document kept in the
// data-file store.

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "apps/cli/cli_options.h"
#include "core/files/document_store.h"
#include "core/files/install_paths.h"
#include "core/files/language.h"
#include "core/files/version_manager.h"
#include "core/host/clock.h"
#include "core/link/info_exchange.h"
#include "core/link/tracing_port.h"
#include "core/link/transfer.h"
#include "platform/qt_timers.h"
#include "platform/serial_link_port.h"

namespace zt {

// How a question is answered: --yes, --retries, or the user at a terminal.
class CliAnswers {
  public:
    CliAnswers(const CliOptions& options, const LanguageTexts& texts);
    // Prints the message (standard error) and returns the answer.
    Answer answer(const Message& message);
    std::string messageText(const Message& message) const;
    // True when the last question at the terminal was cut short by Ctrl-C.
    bool interrupted() const { return interrupted_; }

  private:
    bool askTerminal(const std::string& question);

    const CliOptions& options_;
    const LanguageTexts& texts_;
    int retriesLeft_ = 0;
    bool interrupted_ = false;
};

class CliSession final : public TransferHost,
                         public AsyncPrompt,
                         public ProgramPassword,
                         public Prompt {
  public:
    CliSession(const CliOptions& options, const InstallPaths& paths, LanguageTexts& texts);
    ~CliSession() override;

    // Starts the command on the event loop; the loop ends with the exit status.
    void start();
    // Ctrl-C or a stop signal: the transfer stops at once (END is sent), nothing
    // is saved, and the loop ends with status 130.
    void stopRequested();

    // The transfer machine: its image and identification once a transfer ended.
    const TransferMachine& transfer() const { return *machine_; }
    // A write sends these bytes instead of the encoded document; the identification
    // bytes the radio gives still replace the identity area, as in every write.
    void sendImageInstead(const RadioImage& image) { imageInstead_ = image; }

    // TransferHost
    RadioDocument& document() override { return store_.working(); }
    ProgramState& programState() override { return state_; }
    void showProgress(TransferKind kind) override;
    void setProgress(int percent) override;
    void closeProgress() override;
    void closeAllDocumentWindows() override {}
    void documentRead(RadioDocument document, const std::string& fileName) override;
    void showRadioInformation() override;
    void endProgram() override;
    void transferFinished(TransferKind kind, TransferOutcome outcome) override;

    // AsyncPrompt
    void ask(const Message& message, std::function<void(Answer)> answered) override;
    // Prompt (the data-file store's questions)
    Answer ask(const Message& message) override;

    // ProgramPassword
    std::string enteredPassword() const override { return entered_; }
    bool windowShown() const override { return windowShown_; }
    void showWindow(std::function<void()> closed) override;

  private:
    void finish(int status);
    void reportTiming();
    DocumentContext context();
    LinkPort& link();
    void portLost(const std::string& reason);
    void endAfterPortLost(const Message& message);
    bool inputReadable();
    bool prepareInformationWrite();
    void startInformationWrite();
    void informationWriteFinished(InfoOutcome outcome);
    bool saveInformationFile();

    const CliOptions& options_;
    InstallPaths paths_;
    LanguageTexts& texts_;
    CliAnswers answers_;
    VersionTable versions_;
    ProgramState state_;
    DocumentStore store_;
    SerialLinkPort port_;
    QtTimerFactory timers_;
    SteadyClock clock_;
    std::ofstream traceFile_;
    std::unique_ptr<TracingPort> tracer_;
    std::unique_ptr<TransferMachine> machine_;
    std::unique_ptr<InfoExchange> infoExchange_;
    std::optional<RadioImage> imageInstead_;
    std::string device_;
    std::string entered_;
    bool windowShown_ = false;
    bool finished_ = false;
    bool readSucceeded_ = false;
    bool portLost_ = false;  // the cable was pulled: the command ends, whatever --yes says
    bool progressShown_ = false;
    std::string progressLabel_;
    std::chrono::steady_clock::time_point started_{};
    std::chrono::steady_clock::time_point stopped_{};
};

}  // namespace zt
