#pragma once

#include "platform/FileDialog.h"

#include <QList>
#include <QStringList>

// File dialogs answered from a script, a path or a cancel each; cancelled once it has run out.
class ScriptedFileDialog : public FileDialog {
public:
    std::optional<QString> showOpen(const QString& title, const QString& filter) override {
        return answer(QStringLiteral("open"), title, filter);
    }
    std::optional<QString> showSave(const QString& title, const QString& filter) override {
        return answer(QStringLiteral("save"), title, filter);
    }

    // "open" or "save", then the title and the filter, for every dialog shown.
    QList<QStringList> shown;
    QList<std::optional<QString>> answers;

private:
    std::optional<QString> answer(const QString& kind, const QString& title, const QString& filter) {
        shown << QStringList{kind, title, filter};
        return answers.isEmpty() ? std::nullopt : answers.takeFirst();
    }
};
