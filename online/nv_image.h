#pragma once
// The drive menu's two memory image commands. Each takes the selected drive
// once and keeps it, whatever is clicked while the blocks move.
class MainWin;

namespace online {

// "Axis Memory -> File...": the drive's memory into an image file.
void AA_MEM2FILE_Click(MainWin& w);
// "File -> Axis Memory...": an image file into the stopped drive, then a restart.
void AA_FILE2MEM_Click(MainWin& w);

}  // namespace online
