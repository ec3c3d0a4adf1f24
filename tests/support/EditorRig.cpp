#include "support/EditorRig.h"

#include <QSet>

#include <utility>

PtyLine::PtyLine(ControllerModel::Generation generation, int channelsPerScene)
    : controller(generation, channelsPerScene)
    , device(controller)
    , port(
          clock,
          [this](std::int16_t) -> std::optional<QString> {
              if (std::exchange(openFails, false)) {
                  return std::nullopt;
              }
              device.switchOn();
              return device.devicePath();
          },
          [this](std::size_t size, Clock::Time at) { device.noteWrite(size, at); })
    , seen(controller) {}

ControllerModel& PtyLine::controllerNow() {
    seen = device.snapshot();
    return seen;
}

template <class Line>
BasicEditorRig<Line>::BasicEditorRig(ControllerModel::Generation generation, int channelsPerScene)
    : Line(generation, channelsPerScene)
    , window(this->clock)
    , form({grid, this->port, files, messages, inputs, this->clock, window, channelView}) {}

template <class Line>
bool BasicEditorRig<Line>::start(const QString& portAnswer, const QString& speedAnswer) {
    inputs.answers << portAnswer << speedAnswer;
    return form.onLoad();
}

template <class Line> bool BasicEditorRig<Line>::startOffline() {
    this->failNextOpen();
    const bool started = start();
    forget();
    return started;
}

template <class Line> bool BasicEditorRig<Line>::startThenConnect(std::int16_t speed) {
    return startOffline() && !form.DMX.openport(1, speed);
}

template <class Line> bool BasicEditorRig<Line>::startPatterned() {
    this->controller.fillWithPattern();
    const bool started = start();
    forget();
    return started;
}

template <class Line> void BasicEditorRig<Line>::forget() {
    this->clearLog();
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

template <class Line> QList<QStringList> BasicEditorRig<Line>::allCells() const {
    QList<QStringList> columns;
    for (int s = 1; s < grid.cols(); ++s) {
        columns << columnTexts(s);
    }
    return columns;
}

template <class Line> QStringList BasicEditorRig<Line>::paints() const {
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

template class BasicEditorRig<InProcessLine>;
template class BasicEditorRig<PtyLine>;
