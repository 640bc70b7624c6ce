// Number conversion of the foundation library as the HDL readers use it.
#pragma once

#include <string_view>

// The decimal number at the start of the text, as C's atoi reads it:
// leading blanks, an optional sign, then digits up to the first other
// character; 0 when no digit follows. Unlike atoi a value past the range of
// int is held at INT_MIN or INT_MAX instead of being undefined.
int BrennicAToI(std::string_view text);
