// Bringing a history file up to date from a downloaded results file: the tool's
// --update and the window's "Uzupełnij wyniki losowań...".
//
// A download is read in either of two layouts, line by line:
//   the history's own:  "16978. 22.08.2026 5,7,16,...", any line ends, a UTF-8 BOM;
//   comma-separated:    "16978,22.08.2026,14:00,05,07,...,78,78", numbers padded
//                       with zeros; a line with a time (Multi Multi) ends in the
//                       "Plus" number, one of the draw's (0 before there was
//                       one), which must be in the game's range and is dropped.
// Either may have blanks after its separators, and ';' in place of ','. A line
// with a letter (a header or a footer) is passed over and counted; a blank one
// silently. A draw is identified by its number: the draws that both files
// hold must agree in date and numbers, and every draw that the history lacks
// goes where its number puts it, after the last draw or into a gap.
//
// Nothing is written when the merge could make the history wrong: a new draw
// dated before the history's draw numbered below it or after the one above
// it; more draws missing between two dates than the game draws in those days;
// a new draw whose date and numbers are a history draw's under another number
// (another source's numbering); a draw number of more than 9 digits; a badly
// formed new draw; a history line that the merge touches and that is not a
// well-formed draw, a history whose last line is not one, or whose draw
// numbers do not rise.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/games.hpp"

namespace zestawy {

enum class UpdateKind {
    Added,        // draws to add
    NothingNew,   // the history has every draw of the download; nothing to write
    Refused,      // what the merge could corrupt, or another game's file; nothing written
    NoDraws,      // the download holds no draw at all
    CannotRead,   // the history file could not be read whole
    CannotWrite,  // the history file could not be replaced; it is as it was
    Stopped       // stopped before the history was replaced; it is as it was
};

struct UpdatePlan {
    UpdateKind kind = UpdateKind::NoDraws;
    // The download leaves a gap before its first draw that it cannot fill,
    // or ends before the history does: worth the user's attention even when
    // the update went through.
    bool warning = false;
    bool created = false;   // Added: the history was found nowhere and is made
    std::string file;       // Added and written: the file written
    std::size_t added = 0;  // Added: how many draws
    std::size_t bytes = 0;  // Added: the size of the merged history
    // Added or NothingNew: the history's last draw once updated, as
    // "16978. 22.08.2026".
    std::string newest;
    // What was added or why nothing was: Polish lines, Windows-1250, which may
    // quote lines of either file as they are.
    std::vector<std::string> message;
};

// What merging the download into a history whose bytes are `history` does,
// for the game. Does no I/O. Holds in memory little beyond what the two texts
// already take, whatever their size.
UpdatePlan planUpdate(std::string_view history, std::string_view download, const GameRow& game);

// The merged history of a plan that is Added, for the same texts and game,
// given piece by piece to `write` (a megabyte at a time at the most): every
// line of the history byte for byte but empty lines at its end, and each new
// draw, "NUMBER. DD.MM.YYYY n1,n2,..." with ascending numbers and no zero
// padding, before the first history draw numbered above it, ended as the
// history's first line is (CR LF when it has none). A last line that the
// history left without its end gets one when a draw follows it. Returns
// false as soon as `write` does.
bool writeMerged(std::string_view history, std::string_view download, const GameRow& game,
                 const std::function<bool(std::string_view)>& write);

// writeMerged as one text.
std::string mergedHistory(std::string_view history, std::string_view download, const GameRow& game);

// The game whose count of numbers most draws of the download have; nullptr
// when it holds no draw or that count is no game's.
const GameRow* recogniseGame(std::string_view download);

// Why recogniseGame found no game: Polish lines, as a plan's message.
std::vector<std::string> unrecognisedGame(std::string_view download);

// The update of the history file at `path`, which must be a regular file (a
// link is followed to its target) of one name: read and planned while no
// other update of it runs (one waits a few seconds for it, asking
// `keepGoing`), then replaced all or nothing by the merged history, only when
// the plan is Added and the file is still the one that was read once the new
// one is on the disk. Where there is no file at `path`, it is made from the
// download (created), unless another appears meanwhile. Temporary files that
// killed updates left beside it are removed first. `keepGoing` is asked
// while waiting, just before the temporary file is made, then between the
// pieces written; once it says no, the update ends as Stopped and the
// temporary file is gone. A stop asked after the replace leaves the plan
// Added. The messages name the file.
UpdatePlan updateHistoryFile(const std::string& path, std::string_view download,
                             const GameRow& game, const std::function<bool()>& keepGoing = {});

}  // namespace zestawy
