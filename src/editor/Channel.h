#pragma once

#include "editor/ChannelView.h"

#include <cstdint>
#include <optional>

class GridForm;

// The channel range dialog: sets a run of channels of the current scene to one level, in the grid
// and on the controller, with a single set_levels command.
class Channel {
public:
    Channel(GridForm& form, ChannelView& view);
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    // Applies, then moves the fields on to the channel after the run.
    void onApplyBtn();
    // Applies and closes.
    void onEnterBtn();
    void onCancelBtn();

private:
    struct Run {
        std::int16_t first;
        std::int16_t last;
        std::int16_t value;
    };

    // The three fields checked in order (value, last, first); only the first failure is shown.
    std::optional<Run> checkedRun();
    void writeAndSend(const Run& run);

    GridForm& form;
    ChannelView& view;
};
