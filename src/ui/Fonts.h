#pragma once

// The window asks for "MS Sans Serif", "Tahoma" and "Arial"; where those are not
// installed, the closest screen fonts of similar width stand in, so that captions
// keep the room the layout gives them.
namespace ui {

void InstallFontSubstitutes();

} // namespace ui
