#pragma once

// The information tool's window on the virtual radio's engine: a virtual
// clock for the link, a scripted prompt, a temporary folder with the tool's
// mysetup.ini and a port list the test sets.

#include <QApplication>
#include <QDate>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/edit/infotool_rules.h"
#include "core/files/ini_profile.h"
#include "core/link/fresh_radio.h"
#include "core/link/virtual_link.h"
#include "gui/infotool/info_tool_window.h"
#include "gui/prompt/scripted_prompt_service.h"

namespace zt::infotool::testing {

using namespace std::chrono_literals;

struct ToolRig {
    QTemporaryDir dir;
    VirtualClock clock;
    VirtualRadio radio{clock};
    EnginePort port{clock, radio, 9600};
    gui::ScriptedPromptService prompt;
    std::vector<int> ports{1};
    std::vector<int> selected;  // every selectPort call
    int language = kEnglish;
    bool osKnown = true;
    std::unique_ptr<InfoToolWindow> window;

    ToolRig() { radio.memory() = freshRadioMemory(); }

    std::filesystem::path ini() const
    {
        return std::filesystem::path(dir.path().toStdString()) / "mysetup.ini";
    }
    std::string storedPort() const
    {
        return readProfileString(ini(), "language", "comPort", "<missing>");
    }

    InfoToolWindow& load()
    {
        InfoToolHost h;
        h.port = &port;
        h.timers = &clock;
        h.prompt = &prompt;
        h.settingsIni = ini();
        h.language = language;
        h.listPorts = [this] { return ports; };
        h.selectPort = [this](int n) { selected.push_back(n); };
        h.today = [] { return QDate(2026, 5, 6); };
        h.shortDate = [](const QDate& d) { return d.toString("yyyy/MM/dd"); };
        h.osVersionKnown = [this] { return osKnown; };
        window = std::make_unique<InfoToolWindow>(h);
        window->formLoad();
        return *window;
    }

    // Shown and active, for focus and key tests.
    void showActive()
    {
        window->show();
        QApplication::setActiveWindow(window.get());
        (void)QTest::qWaitForWindowActive(window.get());
    }

    InfoExchange& exchange() { return window->exchange(); }
    bool idle() { return exchange().state() == InfoState::Idle; }

    // Runs the link until the exchange is idle (or nothing is left to run).
    void runUntilIdle()
    {
        clock.runWhile([this] { return !idle(); });
    }
    // Runs the link until the batch waits for the next radio, or ends.
    void runUntilWaiting()
    {
        clock.runWhile([this] { return exchange().state() != InfoState::BatchWaiting && !idle(); });
    }

    template <typename T = QWidget>
    T* child(const QString& name)
    {
        return window->findChild<T*>(name);
    }

    std::vector<std::string> messages() const
    {
        std::vector<std::string> out;
        for (const auto& a : prompt.asked) out.push_back(a.message.text);
        return out;
    }
    std::string lastMessage() const
    {
        return prompt.asked.empty() ? std::string() : prompt.asked.back().message.text;
    }

    // A field of the radio's information block.
    std::string radioField(info::Field f) const
    {
        return std::string(
            reinterpret_cast<const char*>(radio.memory().data()) + kInfoBlockBase + f.offset,
            static_cast<std::size_t>(f.length));
    }
};

// A text padded with 0x00 to a field's length.
inline std::string padded(std::string text, std::size_t length)
{
    text.resize(length, '\0');
    return text;
}

}  // namespace zt::infotool::testing
