#pragma once

#include "support/ControllerProcess.h"
#include "support/DisplayRig.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// The build a display test drives: the Linux one here, or the Windows one under wine when the
// environment names it: DMX_WINE the wine program, DMX_WINDOWS_PROGRAM the .exe and DMX_COM1_LINK
// the path that wine's COM1 is to lead to.
struct DrivenBuild {
    QString wine = qEnvironmentVariable("DMX_WINE");
    QString program = qEnvironmentVariable("DMX_WINDOWS_PROGRAM");
    QString com1 = qEnvironmentVariable("DMX_COM1_LINK");

    bool underWine() const { return !wine.isEmpty(); }

    // Points wine's COM1 at the controller's link; empty when done or not under wine, otherwise
    // what failed.
    QString pointCom1() const;
    // The controller, where the build finds it: on a free ttyUSB node here, on COM1 under wine.
    ControllerProcess startController(const QStringList& options) const;
    // Starts the build as the rig's editor, in the desktop's environment.
    void launch(DisplayRig& rig, const QProcessEnvironment& desktop = {}) const;
};
