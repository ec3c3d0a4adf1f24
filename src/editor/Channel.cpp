#include "editor/Channel.h"

#include "device/Commands.h"
#include "editor/GridForm.h"
#include "platform/NumberText.h"

#include <algorithm>
#include <vector>

Channel::Channel(GridForm& gridForm, ChannelView& channelView)
    : form(gridForm)
    , view(channelView) {}

void Channel::onApplyBtn() {
    const auto run = checkedRun();
    if (!run) {
        return;
    }
    writeAndSend(*run);
    if (run->last + 1 < form.Grid1.rows()) {
        view.setFirstChannelText(decimal(run->last + 1));
        view.setLastChannelText(view.firstChannelText());
    }
    // The value stays, so the Enter key sets the next channel to the same level.
    view.focusValue();
}

void Channel::onEnterBtn() {
    // Enter checks the channels as Apply does, so no run reaches rows outside the grid or
    // carries more levels than one command holds.
    const auto run = checkedRun();
    if (!run) {
        return;
    }
    writeAndSend(*run);
    view.closeDialog();
}

void Channel::onCancelBtn() {
    view.closeDialog();
}

std::optional<Channel::Run> Channel::checkedRun() {
    const QString valueText = view.valueText();
    const auto value = valueText.isEmpty() ? std::optional<std::int16_t>(0) : toInt16(valueText);
    if (!value || *value < 0 || *value > 255) {
        form.messages().inform(QStringLiteral("Invalid value"));
        return std::nullopt;
    }
    const auto last = toInt16(view.lastChannelText());
    if (!last || *last >= form.Grid1.rows()) {
        form.messages().inform(QStringLiteral("Invalid last channel"));
        return std::nullopt;
    }
    const auto first = toInt16(view.firstChannelText());
    if (!first || *first < 1) {
        form.messages().inform(QStringLiteral("Invalid first channel"));
        return std::nullopt;
    }
    return Run{*first, *last, *value};
}

void Channel::writeAndSend(const Run& run) {
    const std::int16_t s = form.nscene;
    if (s < 1) {
        return; // no scene is current, so there is no column to write
    }
    form.Grid1.setCol(s);
    const QString level = decimal(run.value);
    for (int ch = run.first; ch <= run.last; ++ch) {
        form.Grid1.setRow(ch);
        form.Grid1.setText(level);
    }
    const std::vector<std::int16_t> levels(static_cast<std::size_t>(std::max(run.last - run.first + 1, 0)),
                                           run.value);
    LineBuffer buffer{};
    form.DMX.sendbytes(buffer, command::putSetLevels(buffer, run.first, levels));
}
