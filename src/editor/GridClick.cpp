#include "editor/GridForm.h"
#include "platform/NumberText.h"

void GridForm::onGridClick() {
    if (Grid1.col() != nscene || nscene == 0) {
        return;
    }
    const QString channel = decimal(Grid1.row());
    channelView.setFirstChannelText(channel);
    channelView.setLastChannelText(channel);
    channelView.setValueText(Grid1.text());
    channelView.showModeless();
    channelView.focusValue();
}
