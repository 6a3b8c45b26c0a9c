// Bringing a history file up to date from a downloaded results file: the tool's
// --update and the window's "Uzupełnij wyniki losowań...".
//
// A download is read in either of two layouts, line by line:
//   the history's own:  "16978. 22.08.2026 5,7,16,...", any line ends, a UTF-8 BOM;
//   comma-separated:    "16978,22.08.2026,14:00,05,07,...,78,78", numbers padded
//                       with zeros; a line with a time (Multi Multi) ends in the
//                       "Plus" number, one of the draw's, which is dropped.
// A line without any digit (a header) is passed over. A draw is identified by
// its number: the draws that both files hold must agree in date and numbers,
// and the draws numbered above the history's last are appended in its layout.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "commands/games.hpp"

namespace zestawy {

enum class UpdateKind {
    Added,       // new draws to append
    NothingNew,  // no draw above the history's last; nothing to write
    Refused,     // conflicts, bad new draws or another game's file; nothing to write
    NoDraws,     // the download holds no draw at all
    CannotRead,  // the history file could not be read whole
    CannotWrite  // the history file could not be replaced; it is as it was
};

struct UpdatePlan {
    UpdateKind kind = UpdateKind::NoDraws;
    std::string appended;  // Added: the bytes that go at the end of the history
    // What was added or why nothing was: Polish lines, Windows-1250, which may
    // quote lines of either file as they are.
    std::vector<std::string> message;
};

// What to append to a history file whose bytes are `history` from a download
// whose bytes are `download`, for the game. Does no I/O. New lines are
// "NUMBER. DD.MM.YYYY n1,n2,..." with ascending numbers and no zero padding,
// each ended as the history's first line is (CR LF when it has none); a
// missing final line end of the history comes first. Every new draw must be
// a well-formed line of the game, as the history check says.
UpdatePlan planUpdate(std::string_view history, std::string_view download, const GameRow& game);

// The game whose count of numbers most draws of the download have; nullptr
// when it holds no draw or that count is no game's.
const GameRow* recogniseGame(std::string_view download);

// planUpdate on the history file at `path`, which is then replaced all or
// nothing; only Added writes anything.
UpdatePlan updateHistoryFile(const std::string& path, std::string_view download,
                             const GameRow& game);

}  // namespace zestawy
