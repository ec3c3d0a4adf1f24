#pragma once

#include "platform/InputBox.h"

#include <QStringList>

// Input boxes answered from a script; once it has run out every box is cancelled (empty answer).
class ScriptedInputBox : public InputBox {
public:
    QString ask(const QString& prompt, const QString& defaultAnswer) override {
        prompts << prompt;
        defaults << defaultAnswer;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }

    QStringList prompts;
    QStringList defaults;
    QStringList answers;
};
