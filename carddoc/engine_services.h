// The process-wide services the engines ask for while cards are drawn: the
// glyph effects of power-text frames, the database field texts of Quick
// Card pieces and the fill-pattern bitmaps. Each is put in place the first
// time a card document is made, unless the program has installed one of
// its own by then.
#pragma once

void InstallCardEngineServices();
