#pragma once

#include <optional>
#include <string>

namespace zt {

// How the core asks the user something. The programs show a real message box;
// tests answer from a script. The core never shows anything itself.
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class Icon { None, Error, Warning, Question, Information };
enum class Answer { Ok, Cancel, Yes, No, Retry };

struct Message {
    int textId = 0;    // language text id; 0 when `text` is a built-in text
    std::string text;  // built-in text, or extra text shown after the language text
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    int titleId = 0;  // language text id of the title; 0 = the application title
    // A longer list shown below the message in a box the user can scroll, select and copy
    // (empty: none).
    std::string details;
    // The button Enter presses; empty: the toolkit's choice (the first of the buttons). A
    // question whose first answer destroys data names the safe answer here.
    std::optional<Answer> defaultAnswer;
};

// A synchronous question (used by file operations run from a menu command).
class Prompt {
  public:
    virtual ~Prompt() = default;
    virtual Answer ask(const Message& message) = 0;
};

}  // namespace zt
