#pragma once

#include <QString>

class InputBox {
public:
    virtual ~InputBox() = default;
    // Asks with a prompt and a default answer; cancelling gives an empty answer.
    virtual QString ask(const QString& prompt, const QString& defaultAnswer) = 0;
};
