// The table editors: the one list of which tag's tree item gets which pane
// class. The registration of the classes and the choice of a pane read it.
#pragma once

#include "font/table_tags.h"
#include "tables/gasp/gasp_pane.h"
#include "tables/hhea/hhea_pane.h"
#include "tables/name/name_pane.h"
#include "tables/os2/os2_pane.h"

#include <windows.h>

struct TablePane {
    const char* tag;
    const char* className;
    WNDPROC procedure;
    // A pane that shows only a table that has an object: a table without one
    // shows the placeholder.
    bool needsObject = false;
};

inline constexpr TablePane tablePanes[] = {
    {kOS2Tag, kOS2PaneClass, os2WindowProc},
    {kGaspTag, kGaspPaneClass, gaspWindowProc},
    {kNameTag, kNamePaneClass, nameWindowProc, true},
    {kHheaTag, kHheaPaneClass, hheaWindowProc, true},
};
