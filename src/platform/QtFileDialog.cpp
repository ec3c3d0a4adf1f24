#include "platform/QtFileDialog.h"

#include <QDir>

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
        const QString& name = parts[i];
        // Patterns come separated by ";" and go separated by spaces.
        const QString patterns =
            parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
        const QString shown = QStringLiteral("(%1)").arg(patterns);
        // A name that shows its patterns already ("All Files (*.*)") is not given them twice.
        filters << (name.endsWith(shown) ? name : QStringLiteral("%1 %2").arg(name, shown));
    }
    return filters;
}

std::optional<QString> QtFileDialog::show(const QString& title, const QString& filter,
                                          QFileDialog::AcceptMode mode) {
    QFileDialog dialog;
    dialog.setObjectName(QStringLiteral("FileDialog"));
    // The toolkit's own dialog looks the same on every system; it asks before overwriting on saving.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowTitle(title);
    // Each use starts afresh in the working folder rather than where the last one ended.
    dialog.setDirectory(QDir::currentPath());
    dialog.setNameFilters(nameFilters(filter));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}
