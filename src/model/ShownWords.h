// Marks a text of the radio data that the window shows in the user's
// language: TAVIN_SHOWN("RadioData", "是") is the text "是" itself, and the
// data keep it so (the codec, files, lists, tavin-cli, the radio). The build
// gathers the marked texts into the program's translations under the context
// named first; the window looks them up there (lang/ShownText.h).
#pragma once

#define TAVIN_SHOWN(context, text) text
