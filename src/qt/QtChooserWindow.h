#pragma once

#include <QDialog>

#include <cstdint>
#include <optional>

class QButtonGroup;

// The channels-per-scene chooser: three options in one group and OK. Made afresh for every
// showing, so it always opens with 512 channels selected.
class QtChooserWindow final : public QDialog {
    Q_OBJECT
public:
    explicit QtChooserWindow(QWidget* parent = nullptr);

    // Shows the chooser modally, centred on the screen: the size code picked with OK (512, 256 and
    // 128 channels give 0, 1 and 2), or nothing when it was closed through its frame.
    std::optional<std::int16_t> choose();

private:
    void onOk();

    QButtonGroup* options;
    std::optional<std::int16_t> chosen;
};
