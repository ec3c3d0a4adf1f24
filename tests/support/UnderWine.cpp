#include "support/UnderWine.h"

#include "support/WinePort.h"

#include <QFile>

QString UnderWine::pointCom1() const {
    if (!asked()) {
        return {};
    }
    if (program.isEmpty() || com1.isEmpty()) {
        return QStringLiteral("DMX_WINE needs DMX_WINDOWS_PROGRAM and DMX_COM1_LINK beside it");
    }
    return pointWinePort(1, com1, wine);
}

ControllerProcess UnderWine::startController(const QStringList& options) const {
    if (!asked()) {
        return ControllerProcess(options);
    }
    // A link left by a run that was stopped would keep the controller from making its own.
    QFile::remove(com1);
    return ControllerProcess(options, com1, 1);
}

void UnderWine::launch(DisplayRig& rig, const QProcessEnvironment& desktop) const {
    if (asked()) {
        rig.launch(wine, {program}, desktop);
    } else {
        rig.launch(desktop);
    }
}
