#include "editor/NumberPrompt.h"

#include "platform/NumberText.h"

std::optional<std::int16_t> askNumber(InputBox& inputs, MessageBox& messages, const NumberPrompt& prompt) {
    const QString answer = inputs.ask(prompt.prompt, prompt.defaultAnswer);
    if (answer.isEmpty()) {
        if (!prompt.missing.isEmpty()) {
            messages.inform(prompt.missing);
        }
        return std::nullopt;
    }
    const auto value = toInt16(answer);
    if (!value || *value < prompt.low || *value > prompt.high) {
        messages.inform(prompt.invalid);
        return std::nullopt;
    }
    return value;
}
