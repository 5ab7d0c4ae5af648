#pragma once
// The main window's commands that act on the active race card: the handlers
// of the card's popup menu mnuri and its add submenu, and the race-card
// format menu with its toolbar buttons.

namespace kelmon {
class frmmainmenu;
}

namespace kelmon::racecard {

class frmraceinfo;

// Connects mnurisub_0..11, mnurisubadd_0..27 and mnudispa/b/c of the frame.
void connectRaceCardCommands(frmmainmenu &frame);

// The frame's active child when it is a race card, else nullptr.
frmraceinfo *activeRaceCard(const frmmainmenu &frame);

// Popup entry `index` (sort, average, hide, race card, help) on the active
// race card; nothing when the active child is not one. Database errors end
// the program through the fatal exit.
void mnurisub_Click(frmmainmenu &frame, int index);
// Adds the block of add-menu entry `index` after the clicked block.
void mnurisubadd_Click(frmmainmenu &frame, int index);
// The format menu: normal layout, all blocks, store the layout.
void mnudispa_Click(frmmainmenu &frame);
void mnudispb_Click(frmmainmenu &frame);
void mnudispc_Click(frmmainmenu &frame);

} // namespace kelmon::racecard
