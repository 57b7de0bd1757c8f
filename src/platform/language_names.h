#pragma once

#include <cstdint>

// The English name of a language identifier, as an English Windows names it ("German
// (Germany)" for 0x0407), in Windows-1252; "Language Neutral" for 0x0000 and for any
// identifier that is not known.
const char* languageNameOf(uint16_t language);
