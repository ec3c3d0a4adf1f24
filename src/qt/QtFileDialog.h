#pragma once

#include "platform/FileDialog.h"
#include "platform/StartFolder.h"

#include <QFileDialog>
#include <QStringList>

class QtDialogOwner;

// Open and save dialogs of the toolkit. Each use builds a new dialog, so nothing carries over from
// one command to the next. Whether the user may write in the working folder, where they begin, is
// told by the system's own means.
class QtFileDialog final : public FileDialog {
public:
    explicit QtFileDialog(const QtDialogOwner& owner, FolderAccess userMayWriteIn = permissionsAllowWriting);

    std::optional<QString> showOpen(const QString& title, const QString& filter) override;
    std::optional<QString> showSave(const QString& title, const QString& filter) override;

    // "Text files|*.txt|All Files (*.*)|*.*" as the toolkit's name filters, each caption followed by
    // its patterns, which the dialog does not show: "Text files (*.txt)", "All Files (*.*) (*)".
    // "*.*" means every file, also those without a dot in the name, so it becomes "*".
    static QStringList nameFilters(const QString& filter);
    // The extension a name filter stands for ("txt" for "Text files (*.txt)"), which a saved name
    // typed without one gets; empty for a filter of several patterns or of every file.
    static QString extensionOf(const QString& nameFilter);

private:
    std::optional<QString> show(const QString& title, const QString& filter, QFileDialog::AcceptMode mode);

    const QtDialogOwner& owner;
    const FolderAccess userMayWriteIn;
};
