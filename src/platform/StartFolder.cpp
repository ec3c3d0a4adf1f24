#include "platform/StartFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

bool permissionsAllowWriting(const QString& folder) {
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

QString dialogStartFolder(const FolderAccess& userMayWriteIn) {
    const QString working = QDir::currentPath();
    if (userMayWriteIn(working)) {
        return working;
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QDir().mkpath(documents);
    return documents;
}
