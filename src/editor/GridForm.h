#pragma once

#include "device/Dmx.h"
#include "editor/ChannelView.h"
#include "editor/MainWindowView.h"
#include "platform/Clock.h"
#include "platform/FileDialog.h"
#include "platform/GridControl.h"
#include "platform/InputBox.h"
#include "platform/MessageBox.h"
#include "platform/SerialControl.h"

#include <QString>

#include <cstdint>

struct SceneFileContents;

// The platform parts the main window's logic works through.
struct GridFormPlatform {
    GridControl& grid;
    SerialControl& comm;
    FileDialog& fileDialog;
    MessageBox& messages;
    InputBox& inputs;
    Clock& clock;
    MainWindowView& window;
    ChannelView& channelDialog;
};

// The main window's logic: its variables, the start sequence, the scene grid and the handlers of
// its buttons and menus. The toolkit's window only forwards events here.
class GridForm {
public:
    explicit GridForm(const GridFormPlatform& platform);
    GridForm(const GridForm&) = delete;
    GridForm& operator=(const GridForm&) = delete;

    // The variables the other windows read and write.
    std::int16_t commport = 0;
    std::int16_t speed = 0;
    std::int16_t channels = 0; // size code: 0 = 512, 1 = 256, 2 = 128 channels per scene
    std::int16_t nrows = 0;    // channels per scene
    std::int16_t ncols = 0;    // scenes
    std::int16_t nscene = 0;   // current scene, 0 = none
    Colour GREY = 0;

    GridControl& Grid1;
    SerialControl& Comm1;
    FileDialog& CD1;
    Dmx DMX;

    // Start sequence; false when a start prompt ended the program before the window showed.
    bool onLoad();
    void onResize();
    void onExitBtn();
    void onExitMenu() { onExitBtn(); }

    void status(const QString& text, Colour background);
    // Sizes the grid for nrows and ncols and writes its headers; data cells are left alone.
    void layoutGrid();
    // Makes scene n current in the grid and on the controller.
    void scene(std::int16_t n);

    // A click on the grid; its current cell is the clicked cell by now.
    void onGridClick();

    // Scene commands.
    void onSetBtn();
    void onNextBtn();
    void onSaveSceneBtn();
    void onSceneResetMenu() { reset(nscene); }
    void onAllResetMenu();
    // Sets every level of scene n1 to 0; the caller has made n1 the current scene.
    void reset(std::int16_t n1);

    // New grid.
    void onNewMenu();
    void newgrid();

    // Controller detection, comms settings and reading scenes back.
    void onCommsMenu();
    void check_version();
    void onReadMenu();

    // Scene files.
    void onOpenMenu();
    void openfile();
    void onSaveAsMenu();

    MessageBox& messages() { return messageBoxes; }

private:
    bool askStartSettings();
    // Sets the background of every data cell of column s.
    void paintColumn(std::int16_t s, Colour colour);
    void loadGrid(const SceneFileContents& contents);
    // Sends every scene of the grid to the controller, when the port is open.
    void sendGrid();
    void reportPortFailure(const SerialError& failure);

    MessageBox& messageBoxes;
    InputBox& inputBoxes;
    Clock& time;
    MainWindowView& view;
    ChannelView& channelView;
};
