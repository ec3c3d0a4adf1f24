#include "support/DrivenBuild.h"

#include "support/WinePrefix.h"

#include <QFile>

QString DrivenBuild::pointCom1() const {
    if (!underWine()) {
        return {};
    }
    if (program.isEmpty() || com1.isEmpty()) {
        return QStringLiteral("DMX_WINE needs DMX_WINDOWS_PROGRAM and DMX_COM1_LINK beside it");
    }
    return pointWinePort(1, com1, wine);
}

ControllerProcess DrivenBuild::startController(const QStringList& options) const {
    if (!underWine()) {
        return ControllerProcess(options);
    }
    // A link left by a run that was stopped would keep the controller from making its own.
    QFile::remove(com1);
    return ControllerProcess(options, com1, 1);
}

void DrivenBuild::launch(DisplayRig& rig, const QProcessEnvironment& desktop) const {
    if (underWine()) {
        rig.launch(wine, {program}, desktop);
    } else {
        rig.launch(desktop);
    }
}
