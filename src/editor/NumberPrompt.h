#pragma once

#include "platform/InputBox.h"
#include "platform/MessageBox.h"

#include <QString>

#include <cstdint>
#include <optional>

// An input box that asks for a number from low to high.
struct NumberPrompt {
    QString prompt;
    QString defaultAnswer;
    QString missing; // shown for an empty answer; nothing is shown when this is empty
    QString invalid; // shown for an answer that is no number from low to high
    std::int16_t low;
    std::int16_t high;
};

// The answer when it is a number from low to high; otherwise nothing, with the prompt's message shown.
std::optional<std::int16_t> askNumber(InputBox& inputs, MessageBox& messages, const NumberPrompt& prompt);
