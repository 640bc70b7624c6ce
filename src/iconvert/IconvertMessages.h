// The converters' own functions for their messages of the model's table.
#pragma once

// "Moved %s: \"%s\" to \"%s\"." (file-changed notice): a file of an older
// layout moved into its current folder; the label says what it is.
int IconvertDisplayMOVED_MSG(const char* label, const char* from, const char* to);
// "Unable to move the file '%s' to '%s'. You may need to re-import the
// file." (error).
int IconvertDisplayFAILED_TO_MOVE_MSG(const char* from, const char* to);
