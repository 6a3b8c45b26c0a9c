// The results box: the text of a box, and answers appended to it.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// Appends text at the end of the results box. Wine's edit control takes in
// about a megabyte a second, so the old text is never read back and set again:
// the text is inserted at the end, a megabyte of whole lines at a time with
// the window repainted in between, and the caret and scroll position are put
// back where they were.
void appendToResultsBox(HWND box, std::string_view text);

// Appends a command's answer: on a line of its own after the earlier ones,
// CR LF between them.
void appendAnswer(HWND box, std::string_view answer);
