#pragma once

#include "platform/MessageBox.h"

#include <QList>
#include <QStringList>

// Message boxes answered from a script; every text shown, message or question, is kept in order.
class ScriptedMessageBox : public MessageBox {
public:
    void inform(const QString& text) override { shown << text; }
    // Questions take the next scripted answer (Yes = true), and No once the script has run out.
    bool confirm(const QString& question) override {
        shown << question;
        return !answers.isEmpty() && answers.takeFirst();
    }

    QStringList shown;
    QList<bool> answers;
};
