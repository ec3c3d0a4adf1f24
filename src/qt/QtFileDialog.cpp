#include "qt/QtFileDialog.h"

#include "qt/QtDialogOwner.h"

#include <QRegularExpression>

#include <utility>

namespace {
// The patterns of a name filter: the words between its last parentheses.
QStringList patternsOf(const QString& nameFilter) {
    static const QRegularExpression patterns(QStringLiteral("\\(([^()]*)\\)$"));
    return patterns.match(nameFilter).captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}
} // namespace

QtFileDialog::QtFileDialog(const QtDialogOwner& owner, FolderAccess userMayWriteIn)
    : owner(owner)
    , userMayWriteIn(std::move(userMayWriteIn)) {}

std::optional<QString> QtFileDialog::showOpen(const QString& title, const QString& filter) {
    return show(title, filter, QFileDialog::AcceptOpen);
}

std::optional<QString> QtFileDialog::showSave(const QString& title, const QString& filter) {
    return show(title, filter, QFileDialog::AcceptSave);
}

QStringList QtFileDialog::nameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // Patterns come separated by ";" and go separated by spaces.
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        patterns.replaceInStrings(QRegularExpression(QStringLiteral("^\\*\\.\\*$")), QStringLiteral("*"));
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(QLatin1Char(' ')));
    }
    return filters;
}

QString QtFileDialog::extensionOf(const QString& nameFilter) {
    static const QRegularExpression extension(QStringLiteral("^\\*\\.([^*?\\[\\].]+)$"));
    const QStringList patterns = patternsOf(nameFilter);
    return patterns.size() == 1 ? extension.match(patterns.front()).captured(1) : QString();
}

std::optional<QString> QtFileDialog::show(const QString& title, const QString& filter,
                                          QFileDialog::AcceptMode mode) {
    QFileDialog dialog(owner.window());
    dialog.setObjectName(QStringLiteral("FileDialog"));
    // The toolkit's own dialog looks the same on every system; it asks before overwriting on saving.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The captions show as they are written; their patterns stay behind them.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setWindowTitle(title);
    // Each use starts afresh rather than where the last one ended.
    dialog.setDirectory(dialogStartFolder(userMayWriteIn));
    const QStringList filters = nameFilters(filter);
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (mode == QFileDialog::AcceptSave) {
        const auto useExtension = [&dialog, &filters] {
            // With the patterns hidden, the dialog names the chosen filter by its caption alone.
            const QString chosen = dialog.selectedNameFilter();
            for (const QString& nameFilter : filters) {
                if (nameFilter == chosen || nameFilter.startsWith(chosen + QStringLiteral(" ("))) {
                    dialog.setDefaultSuffix(extensionOf(nameFilter));
                }
            }
        };
        useExtension();
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, useExtension);
    }
    const bool accepted = dialog.exec() == QDialog::Accepted;
    owner.dialogClosed();
    if (!accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}
