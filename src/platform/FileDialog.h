#pragma once

#include <QString>

#include <optional>

// The open and save dialogs. The filter is given as "Name|pattern|Name|pattern".
class FileDialog {
public:
    virtual ~FileDialog() = default;
    // The chosen full path, or nothing when the user cancelled. The file need not exist.
    virtual std::optional<QString> showOpen(const QString& title, const QString& filter) = 0;
    // Asks before replacing an existing file.
    virtual std::optional<QString> showSave(const QString& title, const QString& filter) = 0;
};
