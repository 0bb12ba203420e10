// Every part name that the control factories resolve through a skin, for tests that give a
// skin one style per part.
#pragma once

// clang-format off
inline const char* const kSkinParts[] = {
    "AreaActive", "AreaUnactive", "AreaBarActive", "AreaBarUnactive", "BarActive",
    "BarUnactive", "ButtonActive", "ButtonUnactive", "ButtonClose", "ButtonFull",
    "ButtonMin", "AreaOver", "Area", "BarBackH", "BarBackV",
    "BarFrontActiveH", "BarFrontUnactiveH", "BarFrontActiveV", "BarFrontUnactiveV", "BarH",
    "Barv", "BarV", "DragActive", "DragUnactive", "ListArea",
    "BoxActive", "BoxUnactive", "IconActive", "IconUnactive", "CellActive",
    "CellUnactive", "CellIUnactive", "CellOver", "CellSelected", "CellActiveOn",
    "CellUnactiveOn", "CellActiveOff", "CellUnactiveOff"};
// clang-format on
