#include "app/table_removal.h"

#include "app/base_window.h"
#include "app/main_window.h"
#include "app/sharing_text.h"
#include "app/wide_text.h"
#include "res/resource.h"

#include <string>
#include <vector>

namespace {

// The fonts to take tag, and the tables that go with it, out of, as the user
// answers: font alone, or every font that lists the same table; none at all.
std::vector<size_t> askFontsToRemoveFrom(HWND owner, const std::string& tag, size_t font) {
    const std::vector<size_t> sharing = otf->fontsSharing(tag.c_str(), font);
    const bool shared = sharing.size() > 1;
    std::vector<std::string> also = otf->removalOf(tag.c_str(), font).tags;
    if (!also.empty())
        also.erase(also.begin()); // the table itself
    const int answer = showMessage(owner, removalQuestion(tag.c_str(), sharing, also), "fontab",
                                   MB_ICONQUESTION | (shared ? MB_YESNOCANCEL : MB_YESNO));
    if (answer == IDYES)
        return shared ? sharing : std::vector<size_t>{font};
    if (answer == IDNO && shared)
        return {font};
    return {};
}

} // namespace

bool chooseFromTableMenu(HWND baseWindow, POINT at) {
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), wide("TABLEMENU").c_str());
    const int chosen = TrackPopupMenu(GetSubMenu(menu, 0), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x,
                                      at.y, 0, baseWindow, nullptr);
    DestroyMenu(menu);
    return chosen == IDM_REMOVE;
}

void removeTableItem(HWND baseWindow, HTREEITEM item) {
    if (!otf || !isTableItem(item))
        return;
    HWND owner = GetParent(baseWindow);
    const std::string tag = treeItemText(item);
    const size_t font = treeItemFont(item);
    if (!OTF::isRemovable(tag.c_str())) {
        showMessage(owner, "このテーブルは削除できません。", "Error", MB_ICONERROR);
        return;
    }
    // A shared table is refused when any font sharing it cannot do without it.
    for (size_t sharing : otf->fontsSharing(tag.c_str(), font)) {
        const std::string neededBy = otf->removalOf(tag.c_str(), sharing).refusedFor;
        if (!neededBy.empty()) {
            showMessage(owner, removalRefusal(neededBy), "Error", MB_ICONERROR);
            return;
        }
    }
    const std::vector<size_t> fonts = askFontsToRemoveFrom(owner, tag, font);
    if (fonts.empty())
        return;
    for (size_t from : fonts)
        otf->removeTable(tag.c_str(), from);
    // With nothing selected the placeholder takes the pane's place, and the
    // pane on the table goes before its items do.
    TreeView_SelectItem(hTreeView, nullptr);
    deleteRemovedTableItems();
    noteFontEdited();
}
