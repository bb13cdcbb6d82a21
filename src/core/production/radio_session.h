#pragma once

// One port's conversation with whatever radio is on it, for the production
// line and the `identify` command: identify the radio (the information read:
// handshake, identification and the information block), write a document
// (the transfer machine's write, read back and compared), write the dealer's
// information block (the information tool's write). Questions the transfers
// ask are answered as an unattended line must: go ahead with a write, never
// retry, never accept a differing band or start another version; every
// message that is not a success becomes the reason a step failed.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/files/language.h"
#include "core/files/version_manager.h"
#include "core/host/link_interfaces.h"
#include "core/link/info_exchange.h"
#include "core/link/transfer.h"

namespace zt {

// What a radio says about itself.
struct IdentifiedRadio {
    std::string model;         // identification model text ("ZT-958"/1 reads as "ZT-958FM"/0)
    int bandCode = 0;          // identification variant byte
    std::string firmware;      // firmware version text
    std::uint8_t flags = 0;    // feature flags byte
    std::string serialNumber;  // information block bytes 48..63, "" when blank
    std::string bandText() const;
};

struct StepResult {
    bool ok = false;
    bool cancelled = false;
    std::string reason;        // why it failed, in the language of the texts
    bool portProblem = false;  // the port could not be opened or was lost
};

class RadioSession final : private TransferHost, private AsyncPrompt, private ProgramPassword {
  public:
    RadioSession(LinkPort& port, TimerFactory& timers, TextLookup texts,
                 const VersionTable* versions = nullptr);
    ~RadioSession() override;
    RadioSession(const RadioSession&) = delete;
    RadioSession& operator=(const RadioSession&) = delete;

    // The password offered to a radio that has one.
    void setPassword(std::string password) { password_ = std::move(password); }

    using Identified = std::function<void(const StepResult&, const IdentifiedRadio&)>;
    using Done = std::function<void(const StepResult&)>;
    // Each does nothing (and never calls back) while another step runs.
    void identify(Identified done);
    void writeDocument(const RadioDocument& document, const ProgramState& state, Done done);
    void writeInformation(const InfoToolRecord& record, Done done);
    // Ends the running step at once (END is sent when the port is open); its
    // callback gets a cancelled result.
    void cancel();

    bool busy() const { return static_cast<bool>(identified_ || done_); }
    // Percent of the document write under way (0 outside one).
    int percent() const { return percent_; }

    // The port was lost (received bytes reach the transfers through the port's receiver).
    void portLost(const std::string& reason);

  private:
    // TransferHost
    RadioDocument& document() override { return document_; }
    ProgramState& programState() override { return state_; }
    void showProgress(TransferKind) override { percent_ = 0; }
    void setProgress(int percent) override { percent_ = percent; }
    void closeProgress() override {}
    void closeAllDocumentWindows() override {}
    void documentRead(RadioDocument, const std::string&) override {}
    void showRadioInformation() override;
    void endProgram() override {}
    void transferFinished(TransferKind kind, TransferOutcome outcome) override;
    std::string languageText(int id) override { return texts_ ? texts_(id) : std::string(); }
    // AsyncPrompt
    void ask(const Message& message, std::function<void(Answer)> answered) override;
    // ProgramPassword
    std::string enteredPassword() const override { return password_; }
    bool windowShown() const override { return false; }
    void showWindow(std::function<void()> closed) override;

    std::string messageText(const Message& m) const;
    void informationFinished(InfoOutcome outcome);
    void answerQueued();
    void finishStep(StepResult result);

    LinkPort& port_;
    TextLookup texts_;
    std::unique_ptr<TransferMachine> machine_;
    std::unique_ptr<InfoExchange> exchange_;
    std::unique_ptr<OneShotTimer> answerTimer_;
    std::vector<std::function<void()>> answers_;  // queued answers, given on the next turn
    RadioDocument document_;
    ProgramState state_;
    std::string password_;
    IdentifiedRadio identity_;
    std::string reason_;  // the last message that was not a success
    bool portProblem_ = false;
    int percent_ = 0;
    Identified identified_;
    Done done_;
};

}  // namespace zt
