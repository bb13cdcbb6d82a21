#pragma once

// The production line: several ports at once, each running the same cycle
// for every radio that appears on it — wait for a radio, identify it, check
// it against the job, write the document (read back and compared), write the
// information block, log one row, wait until the radio is taken away, next.
// A failure on one port never stops another. One radio (by its serial number)
// is written at most once in a run, and radios already done in a resumed log
// are skipped. Driven only by the ports' receive events and the host's timers.

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "core/files/language.h"
#include "core/files/version_manager.h"
#include "core/host/clock.h"
#include "core/host/link_interfaces.h"
#include "core/link/info_block.h"
#include "core/production/production_job.h"
#include "core/production/radio_session.h"
#include "core/production/unit_log.h"
#include "core/radio/program_state.h"
#include "core/radio/radio_data.h"

namespace zt {

// How long a port rests between two looks for a radio.
constexpr int kLineProbePauseMs = 300;

// A job made ready to write: the document read and encoded once.
struct LineJob {
    bool writesDocument = false;
    RadioDocument document;
    ProgramState state;
    std::string documentName;  // the data file's name
    std::string imageCrc;      // CRC-32 of the image the write sends
    std::optional<InfoToolRecord> information;
    std::string informationText;  // the fields written, for the log
    std::string countedSerial;    // the serial number counted on ("" when none)
    RadioRequirements require;
};
// Reads the job's document; "" when ready, else why not.
std::string prepareLineJob(const ProductionJob& job, const TextLookup& texts, LineJob& out);
// The document a line writes (named `name` in the log), encoded once for its checksum.
void setLineDocument(LineJob& job, const RadioDocument& document, const ProgramState& state,
                     const std::string& name);
// The information fields a line writes (the five an information write sends
// must be there); "serial_number", when given, is the number counted on.
void setLineInformation(LineJob& job, const std::map<std::string, std::string>& fields);

enum class PortState {
    Waiting,             // no radio yet
    Identifying,         // a radio answered: reading what it is
    WritingDocument,     // the document is written and read back
    WritingInformation,  // the dealer's information block
    WaitingRemoval,      // finished with this radio until it is taken away
    Idle,                // the line has as many radios as it was asked for
    Stopped,
};
const char* portStateName(PortState state);

struct LinePortStatus {
    std::string name;
    PortState state = PortState::Waiting;
    std::string serialNumber;  // of the radio on the port, "" when none
    int percent = 0;           // of the document write
    std::string lastResult;    // result of the last radio and its reason
    std::string portProblem;   // why the port cannot be used now ("" when it can)
};

struct LineSettings {
    int count = 0;                      // stop after this many radios done or failed (0: no limit)
    std::string password;               // offered to radios that have a program password
    std::set<std::string> skipSerials;  // already done (a resumed log)
};

struct LineSummary {
    int done = 0;
    int failed = 0;  // failed, refused or stopped
    int skipped = 0;
    double seconds = 0.0;
    double radiosPerHour() const { return seconds > 0 ? done * 3600.0 / seconds : 0.0; }
};

class ProductionLine {
  public:
    struct Port {
        std::string name;
        LinkPort* link = nullptr;
    };

    ProductionLine(LineJob job, LineSettings settings, std::vector<Port> ports,
                   TimerFactory& timers, const Clock& clock, TextLookup texts = {},
                   const VersionTable* versions = nullptr);
    ~ProductionLine();
    ProductionLine(const ProductionLine&) = delete;
    ProductionLine& operator=(const ProductionLine&) = delete;

    void start();
    // Stops every port at once: END is sent to radios being talked to, a radio
    // being written is logged as stopped, then onFinished runs.
    void stop();

    // Port `index` was lost (received bytes reach the transfers through the port's receiver).
    void portLost(std::size_t index, const std::string& reason);

    bool running() const { return started_ && !finished_; }
    bool finished() const { return finished_; }
    std::size_t portCount() const { return runs_.size(); }
    LinePortStatus status(std::size_t index) const;
    const std::vector<UnitRecord>& units() const { return units_; }
    LineSummary summary() const;
    const std::string& countedSerial() const { return job_.countedSerial; }

    // Each radio's row, as soon as it is known.
    std::function<void(const UnitRecord&)> onUnit;
    std::function<void(std::size_t index)> onPortChanged;
    std::function<void()> onFinished;
    // The time written into the log.
    std::function<std::chrono::system_clock::time_point()> wallClock = [] {
        return std::chrono::system_clock::now();
    };

  private:
    struct Run;
    void probe(Run& run);
    void probed(Run& run, const StepResult& result, const IdentifiedRadio& identity);
    void begin(Run& run, const IdentifiedRadio& identity);
    void writeInformation(Run& run);
    void stepFailed(Run& run, const StepResult& result);
    void unitEnded(Run& run, UnitResult result, const std::string& error,
                   const std::string& countedSerial = {});
    void awaitRemoval(Run& run);
    void setState(Run& run, PortState state);
    void finishIfComplete();
    void finish();

    LineJob job_;
    LineSettings settings_;
    TimerFactory& timers_;
    const Clock& clock_;
    TextLookup texts_;
    std::vector<std::unique_ptr<Run>> runs_;
    std::vector<UnitRecord> units_;
    std::set<std::string> doneThisRun_;
    int claimed_ = 0;    // radios taken on (for the count)
    int completed_ = 0;  // of those, ended
    bool started_ = false;
    bool stopping_ = false;
    bool finished_ = false;
    std::chrono::microseconds startedAt_{0};
    std::chrono::microseconds finishedAt_{0};
};

}  // namespace zt
