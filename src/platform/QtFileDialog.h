#pragma once

#include "platform/FileDialog.h"

#include <QFileDialog>
#include <QStringList>

// Open and save dialogs of the toolkit. Each use builds a new dialog, so nothing carries over from
// one command to the next.
class QtFileDialog final : public FileDialog {
public:
    std::optional<QString> showOpen(const QString& title, const QString& filter) override;
    std::optional<QString> showSave(const QString& title, const QString& filter) override;

    // "Text files|*.txt|All Files (*.*)|*.*" as the toolkit's name filters:
    // "Text files (*.txt)", "All Files (*.*)".
    static QStringList nameFilters(const QString& filter);

private:
    static std::optional<QString> show(const QString& title, const QString& filter,
                                       QFileDialog::AcceptMode mode);
};
