#include "support/EditorRig.h"

#include <QSet>

EditorRig::EditorRig(ControllerModel::Generation generation, int channelsPerScene)
    : controller(generation, channelsPerScene)
    , port(clock, controller)
    , window(clock)
    , form({grid, port, files, messages, inputs, clock, window, channelView}) {}

bool EditorRig::start(const QString& portAnswer, const QString& speedAnswer) {
    inputs.answers << portAnswer << speedAnswer;
    return form.onLoad();
}

bool EditorRig::startOffline() {
    port.failNextOpen({SerialError::Kind::NoSuchPort, QString(), QStringLiteral("no such port")});
    const bool started = start();
    forget();
    return started;
}

void EditorRig::forget() {
    controller.clearLog();
    messages.shown.clear();
    inputs.prompts.clear();
    inputs.defaults.clear();
    window.statuses.clear();
    window.statusTimes.clear();
}

QStringList columnTexts(const QtGridModel& grid, int col) {
    QStringList texts;
    for (int r = 1; r < grid.rows(); ++r) {
        texts << grid.cellText(r, col);
    }
    return texts;
}

QStringList sceneLevels(ControllerModel& controller, Clock::Time now, int scene) {
    controller.settle(now);
    QStringList levels;
    for (int c = 1; c <= controller.channelsPerScene(); ++c) {
        levels << QString::number(controller.level(scene, c));
    }
    return levels;
}

QList<QStringList> EditorRig::allCells() const {
    QList<QStringList> columns;
    for (int s = 1; s < grid.cols(); ++s) {
        columns << columnTexts(s);
    }
    return columns;
}

ControllerModel& EditorRig::controllerNow() {
    controller.settle(clock.now());
    return controller;
}

QStringList EditorRig::paints() const {
    QStringList paints;
    for (int col = 1; col < grid.cols(); ++col) {
        QSet<QString> seen;
        for (int r = 1; r < grid.rows(); ++r) {
            const std::optional<Colour> colour = grid.cellBackColor(r, col);
            seen << (!colour                     ? QStringLiteral("unset")
                     : *colour == colours::cyan  ? QStringLiteral("cyan")
                     : *colour == colours::white ? QStringLiteral("white")
                                                 : QString::number(*colour, 16));
        }
        paints << (seen.size() == 1 ? *seen.begin() : QStringLiteral("mixed"));
    }
    return paints;
}
