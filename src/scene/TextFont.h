#pragma once
// The font VRML Text is drawn in. Coin draws Text in the font its state
// names, "defaultFont" unless a node says otherwise, and for that name it
// uses an outline font of its own that holds only the ASCII letters: "café"
// came out as "caf". Coin ignores FontStyle's family and style anyway, so
// every Text is drawn in one font: FreeSerif (Times-like, as VRML's default
// SERIF, with Greek, Cyrillic, Hebrew and many more scripts), or whatever
// serif font fontconfig offers instead. Set as the state's default, not as a
// node in the graph, so that every action and every scene read (bounding
// boxes and picking too) meets the same letters.

// Registers the font as the default of every Coin state, and makes Coin
// find FreeType and fontconfig by their run-time library names (it looks
// for the unversioned names of the -dev packages). Call once, after
// SoDB::init and before any text is measured or drawn (initCoin does).
void initTextFont();
