#pragma once

// A transfer machine wired back-to-back to a virtual radio on a virtual
// clock, with scripted answers for every question.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/files/version_manager.h"
#include "core/link/fresh_radio.h"
#include "core/link/transfer.h"
#include "core/link/virtual_link.h"
#include "core/radio/initial_values.h"

namespace zt::test {

struct Asked {
    Message message;
    std::chrono::microseconds at;
};

// Answers questions on the event loop: from a per-id script, else OK/Yes/Retry.
class ScriptedPrompt final : public AsyncPrompt {
  public:
    explicit ScriptedPrompt(VirtualClock& clock) : clock_(clock) {}

    void ask(const Message& m, std::function<void(Answer)> answered) override
    {
        asked.push_back({m, clock_.now()});
        Answer a = defaultAnswer(m.buttons);
        auto& queue = script[key(m)];
        if (!queue.empty()) {
            a = queue.front();
            queue.pop_front();
        }
        if (beforeAnswer) beforeAnswer(m, a);
        clock_.post(std::chrono::microseconds(0), [answered, a] { answered(a); });
    }

    static int key(const Message& m) { return m.textId != 0 ? m.textId : -1; }
    static Answer defaultAnswer(Buttons b)
    {
        switch (b) {
            case Buttons::OkCancel:
            case Buttons::Ok:
                return Answer::Ok;
            case Buttons::YesNo:
            case Buttons::YesNoCancel:
                return Answer::Yes;
            case Buttons::RetryCancel:
                return Answer::Retry;
        }
        return Answer::Ok;
    }

    std::vector<int> ids() const
    {
        std::vector<int> v;
        for (const auto& a : asked) v.push_back(key(a.message));
        return v;
    }
    int count(int id) const
    {
        int n = 0;
        for (const auto& a : asked) n += key(a.message) == id;
        return n;
    }

    std::map<int, std::deque<Answer>> script;  // id (-1 = built-in text) -> answers
    std::function<void(const Message&, Answer)> beforeAnswer;
    std::vector<Asked> asked;

  private:
    VirtualClock& clock_;
};

class ScriptedPassword final : public ProgramPassword {
  public:
    explicit ScriptedPassword(VirtualClock& clock) : clock_(clock) {}

    std::string enteredPassword() const override { return entered; }
    bool windowShown() const override { return shown; }
    void showWindow(std::function<void()> closed) override
    {
        ++opened;
        shown = canShow;
        if (canShow && !okTexts.empty()) {  // OK with this text; none left = Cancel
            entered = okTexts.front();
            okTexts.pop_front();
        }
        clock_.post(std::chrono::microseconds(0), std::move(closed));
    }

    std::string entered;
    bool shown = false;
    bool canShow = true;
    std::deque<std::string> okTexts;
    int opened = 0;

  private:
    VirtualClock& clock_;
};

class RecordingHost final : public TransferHost {
  public:
    RecordingHost() { applyNewDocumentDefaults(doc, state); }

    RadioDocument& document() override { return doc; }
    ProgramState& programState() override { return state; }
    void showProgress(TransferKind) override { ++progressShown; }
    void setProgress(int percent) override { progress.push_back(percent); }
    void closeProgress() override { ++progressClosed; }
    void closeAllDocumentWindows() override { ++windowsClosed; }
    void documentRead(RadioDocument read, const std::string& name) override
    {
        doc = std::move(read);
        replacedWith.push_back(name);
    }
    void showRadioInformation() override { ++infoShown; }
    void endProgram() override { ++programEnded; }
    void transferEnded(TransferKind kind, bool success) override
    {
        ended.push_back({kind, success});
    }
    void transferFinished(TransferKind kind, TransferOutcome outcome) override
    {
        outcomes.push_back(outcome);
        TransferHost::transferFinished(kind, outcome);
    }

    RadioDocument doc;
    ProgramState state;
    int progressShown = 0;
    int progressClosed = 0;
    std::vector<int> progress;
    int windowsClosed = 0;
    std::vector<std::string> replacedWith;
    int infoShown = 0;
    int programEnded = 0;
    std::vector<std::pair<TransferKind, bool>> ended;
    std::vector<TransferOutcome> outcomes;
};

struct SentCommand {
    Bytes bytes;
    std::chrono::microseconds at;
    bool noEcho;
};

class CountingLauncher final : public ProgramLauncher {
  public:
    bool start(const std::filesystem::path& exe) override
    {
        started.push_back(exe);
        return true;
    }
    std::vector<std::filesystem::path> started;
};

class SilentPrompt final : public Prompt {
  public:
    Answer ask(const Message& m) override
    {
        asked.push_back(m.textId);
        return Answer::Ok;
    }
    std::vector<int> asked;
};

struct Rig {
    explicit Rig(int baud = 9600, bool echo = false)
        : port(clock, radio, baud),
          prompt(clock),
          password(clock),
          machine(TransferDeps{port, clock, prompt, password, host,
                               VersionSwitch{&table, {}, &paths, "ZTP958FM", &launcher, &sync}})
    {
        radio.memory() = freshRadioMemory();
        radio.setEcho(echo);
        port.onSent = [this](const Bytes& b) {
            sent.push_back({b, clock.now(), machine.noEcho()});
        };
        table.pairs = {{"V300", "V300"}};
        paths.programDir = "/opt/zt/V300";
    }

    // Runs until the transfer is idle and every answer was given.
    void run()
    {
        clock.runWhile([this] { return !clock.idle(); });
    }

    bool endedWith(TransferKind kind, bool success) const
    {
        return !host.ended.empty() && host.ended.back() == std::make_pair(kind, success);
    }

    std::vector<SentCommand> sentStarting(char c) const
    {
        std::vector<SentCommand> v;
        for (const auto& s : sent)
            if (!s.bytes.empty() && s.bytes[0] == static_cast<std::uint8_t>(c)) v.push_back(s);
        return v;
    }

    VirtualClock clock;
    VirtualRadio radio{clock};
    EnginePort port;
    ScriptedPrompt prompt;
    ScriptedPassword password;
    RecordingHost host;
    VersionTable table;
    InstallPaths paths;
    CountingLauncher launcher;
    SilentPrompt sync;
    TransferMachine machine;
    std::vector<SentCommand> sent;
};

inline std::vector<std::uint8_t> imagePart(const RadioMemory& m)
{
    return std::vector<std::uint8_t>(m.begin(), m.begin() + kImageSize);
}

inline std::vector<std::uint8_t> imageBytes(const RadioImage& i)
{
    return std::vector<std::uint8_t>(i.bytes.begin(), i.bytes.end());
}

}  // namespace zt::test
