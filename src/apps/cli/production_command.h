#pragma once

// The production commands of ztp958fm-cli:
//
//   identify [--port P] [--json] [--password PW]
//       what the radio on the port is, from its identification and its
//       information block (no read of the channel memory)
//   line JOB.json --port P1 [--port P2 ...] [--count N] [--log FILE] [--resume FILE]
//       the production line on every port at once, until Ctrl-C or N radios
//
// Both run on the Qt event loop; Ctrl-C reaches them through stopRequested().

#include <QObject>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "core/files/install_paths.h"
#include "core/files/language.h"
#include "platform/serial_devices.h"

namespace zt {

class ProductionCommand {
  public:
    ProductionCommand(std::vector<std::string> args, const InstallPaths& paths,
                      const LanguageTexts& texts, const SerialDeviceSource& devices,
                      std::ostream& out, std::ostream& err);
    ~ProductionCommand();
    ProductionCommand(const ProductionCommand&) = delete;
    ProductionCommand& operator=(const ProductionCommand&) = delete;

    // -1 while the command runs on the event loop; otherwise its exit status
    // (misuse and problems found before anything starts).
    int earlyStatus() const { return earlyStatus_; }
    void start();
    void stopRequested();

  private:
    struct State;
    void finish(int status);
    void startIdentify();
    void startLine();

    std::unique_ptr<State> s_;
    int earlyStatus_ = -1;
};

// When no port was named: the only USB serial adapter present, said on `err`.
// Empty (with the reason on `err`) when there is none or more than one.
std::string onlyUsbAdapter(const SerialDeviceSource& devices, std::ostream& err);

// "1" (English) or "2" (Chinese) as the programming program's settings say.
int configuredLanguage(const InstallPaths& paths);

}  // namespace zt
