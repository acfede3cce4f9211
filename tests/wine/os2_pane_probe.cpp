#include "tests/wine/os2_pane_probe.h"

#include "app/base_window.h"
#include "app/main_window.h"
#include "res/resource.h"
#include "tables/os2/os2.h"
#include "tests/wine/modal_answerer.h"
#include "tests/wine/program_windows.h"

#include <commctrl.h>

namespace {

constexpr size_t kDirectoryStart = 12; // after the offset table
constexpr size_t kRecordSize = 16;
constexpr size_t kRecordCheckSumAt = 4;
constexpr size_t kRecordOffsetAt = 8;
constexpr size_t kRecordLengthAt = 12;
constexpr size_t kHeadCheckSumAdjustmentAt = 8;

LRESULT selectedData(HWND list) {
    LRESULT index = SendMessageA(list, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        return -1;
    return SendMessageA(list, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
}

std::string selectedText(HWND list) {
    LRESULT index = SendMessageA(list, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        return {};
    LRESULT length = SendMessageA(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0)
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

int trackbarPosition(HWND trackbar) {
    return static_cast<int>(SendMessageA(trackbar, TBM_GETPOS, 0, 0));
}

struct TableEntry {
    size_t record = 0;
    uint32_t offset = 0;
    uint32_t length = 0;
    bool found = false;
};

TableEntry findEntry(const Bytes& image, const std::string& tag) {
    TableEntry entry;
    if (image.size() < kDirectoryStart)
        return entry;
    uint16_t numTables = getU16(image, 4);
    for (size_t i = 0; i < numTables; ++i) {
        size_t record = kDirectoryStart + i * kRecordSize;
        if (record + kRecordSize > image.size())
            break;
        if (std::string(image.begin() + record, image.begin() + record + 4) != tag)
            continue;
        entry.record = record;
        entry.offset = getU32(image, record + kRecordOffsetAt);
        entry.length = getU32(image, record + kRecordLengthAt);
        entry.found = true;
        break;
    }
    return entry;
}

} // namespace

OS2PaneControls currentOS2Pane() {
    return os2PaneControls(hPane);
}

OS2PaneControls os2PaneControls(HWND pane) {
    OS2PaneControls controls;
    controls.pane = pane;
    for (HWND child = GetWindow(pane, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        controls.children.push_back(child);
    return controls;
}

OS2PaneView readOS2Pane(const OS2PaneControls& controls) {
    OS2PaneView view;
    view.usage = static_cast<int>(selectedData(controls.usageList()));
    view.usageText = selectedText(controls.usageList());
    for (size_t i = 0; i < view.options.size(); ++i)
        view.options[i] = SendMessageA(controls.optionBox(i), BM_GETCHECK, 0, 0) == BST_CHECKED;
    view.vendor = controlText(controls.vendorBox());
    view.weightPosition = trackbarPosition(controls.weightTrackbar());
    view.weightName = controlText(controls.weightName());
    view.widthPosition = trackbarPosition(controls.widthTrackbar());
    view.widthName = controlText(controls.widthName());
    view.panose = static_cast<int>(selectedData(controls.panoseList()));
    view.panoseText = selectedText(controls.panoseList());
    const HWND shown[] = {controls.usageList(), controls.optionBox(0), controls.optionBox(1),
                          controls.vendorBox()};
    for (size_t i = 0; i < view.shownEnabled.size(); ++i)
        view.shownEnabled[i] = IsWindowEnabled(shown[i]) != FALSE;
    const HWND editors[] = {controls.weightTrackbar(), controls.widthTrackbar(),
                            controls.panoseList()};
    for (size_t i = 0; i < view.editorsEnabled.size(); ++i)
        view.editorsEnabled[i] = IsWindowEnabled(editors[i]) != FALSE;
    return view;
}

std::string controlText(HWND control) {
    int length = GetWindowTextLengthA(control);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int copied = GetWindowTextA(control, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied));
    return text;
}

std::vector<std::pair<std::string, LRESULT>> listItems(HWND list) {
    std::vector<std::pair<std::string, LRESULT>> items;
    LRESULT count = SendMessageA(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[256] = {};
        SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.emplace_back(text, SendMessageA(list, CB_GETITEMDATA, static_cast<WPARAM>(i), 0));
    }
    return items;
}

void moveTrackbar(HWND pane, HWND trackbar, int position, const std::vector<int>& codes) {
    SendMessageA(trackbar, TBM_SETPOS, TRUE, position);
    for (int code : codes) {
        // The position travels in the high word only with the thumb codes.
        WORD high = code == TB_THUMBTRACK || code == TB_THUMBPOSITION ? position : 0;
        SendMessageA(pane, WM_HSCROLL, MAKEWPARAM(code, high), reinterpret_cast<LPARAM>(trackbar));
    }
}

bool chooseListItem(HWND pane, HWND list, LRESULT value) {
    LRESULT count = SendMessageA(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (SendMessageA(list, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) != value)
            continue;
        SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
        SendMessageA(pane, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
        return true;
    }
    return false;
}

OS2* openOS2() {
    fontObject* object = nullptr;
    if (!otf || !otf->findTable("OS/2", object))
        return nullptr;
    return dynamic_cast<OS2*>(object);
}

Bytes fontWithOS2(const Bytes& os2) {
    return SfntBuilder()
        .table("head", headTable())
        .table("cmap", filler(36, 0x20))
        .table("OS/2", os2)
        .build();
}

Bytes os2TableWith(const OS2Values& values) {
    Bytes table = os2Table(values.version);
    putU16(table, kOS2WeightAt, values.weight);
    putU16(table, kOS2WidthAt, values.width);
    putU16(table, kOS2FsTypeAt, values.fsType);
    std::copy(values.vendor.begin(), values.vendor.end(), table.begin() + kOS2VendorAt);
    table[kOS2PanoseAt + 2] = values.bWeight;
    return table;
}

std::vector<size_t> changedOffsets(const Bytes& before, const Bytes& after) {
    std::vector<size_t> changed;
    for (size_t i = 0; i < std::max(before.size(), after.size()); ++i)
        if (i >= before.size() || i >= after.size() || before[i] != after[i])
            changed.push_back(i);
    return changed;
}

std::vector<size_t> changedOutsideTable(const Bytes& before, const Bytes& after,
                                        const std::string& tag) {
    TableEntry table = findEntry(before, tag);
    TableEntry head = findEntry(before, "head");
    auto inside = [](size_t at, size_t begin, size_t size) {
        return at >= begin && at < begin + size;
    };
    std::vector<size_t> outside;
    for (size_t at : changedOffsets(before, after)) {
        bool allowed = (table.found && (inside(at, table.offset, table.length) ||
                                        inside(at, table.record + kRecordCheckSumAt, 4))) ||
                       (head.found && inside(at, head.offset + kHeadCheckSumAdjustmentAt, 4));
        if (!allowed)
            outside.push_back(at);
    }
    return outside;
}

uint32_t tableOffset(const Bytes& image, const std::string& tag) {
    TableEntry entry = findEntry(image, tag);
    return entry.found ? entry.offset : 0;
}

uint32_t tableLength(const Bytes& image, const std::string& tag) {
    TableEntry entry = findEntry(image, tag);
    return entry.found ? entry.length : 0;
}

bool writeOutAs(ProgramWindow& program, const std::string& path) {
    ModalAnswerer answerer({chooseFile(path)});
    program.command(IDM_WRITE);
    pumpMessages();
    return answerer.answered() == 1 && answerer.unexpected() == 0 && answerer.leftOpen() == 0;
}

bool openOS2Pane(ProgramWindow& program, const std::string& path) {
    program.load(path);
    pumpMessages();
    bool selected = selectItem(hTreeView, "OS/2");
    pumpMessages();
    return selected && className(hPane) == "OS2Window";
}

bool reselectOS2() {
    bool away = selectItem(hTreeView, "head");
    pumpMessages();
    bool back = selectItem(hTreeView, "OS/2");
    pumpMessages();
    return away && back && className(hPane) == "OS2Window";
}

OpenedPane::OpenedPane(const Bytes& image) : font(image), path(folder.file("fixture.ttf")) {}

bool OpenedPane::open() {
    if (!writeBytes(path, font) || !openOS2Pane(program, path))
        return false;
    controls = currentOS2Pane();
    return controls.children.size() == kOS2PaneControlCount;
}

bool OpenedPane::reopen() {
    if (!reselectOS2())
        return false;
    controls = currentOS2Pane();
    return controls.children.size() == kOS2PaneControlCount;
}
