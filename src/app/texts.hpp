// The fixed texts of the main window: its title, the help text and the about
// text, as Windows-1250 bytes with CR LF line breaks.
#pragma once

extern const char kWindowTitle[];
extern const char kWindowClassName[];

// Built once on first use; valid for the whole run.
const char* helpText();
const char* aboutText();
