#pragma once

// Flag values the common dialogs take, as the commands set them.
namespace DialogFlags {
// Colour dialog: open with the held colour preselected.
constexpr int RgbInit = 0x0001;
// File dialogs: ask before replacing an existing file.
constexpr int OverwritePrompt = 0x0002;
// Print dialog: selection range chosen; page numbers unavailable; return a printer context.
constexpr int Selection = 0x0001;
constexpr int NoPageNums = 0x0008;
constexpr int ReturnDc = 0x0100;
} // namespace DialogFlags
