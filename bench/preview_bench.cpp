// The line-spacing preview's refresh against its floor, run under Wine on a
// display:
//   preview_bench REPEATS FONT...
// One tab-separated row per font, medians in seconds:
//   preview  FONT  SIZE  FONTS  REFRESH  FLOOR  HELD
// REFRESH is the real preview window's refresh of font 0 of the open font, as
// a stored value starts it: the write-out streamed to memory under a private
// name, the previous font removed, the new one added, created, measured and
// drawn. FLOOR is the least any preview pays: the file as read copied into a
// fresh block and handed, unedited, to AddFontMemResourceEx. HELD is how long
// the refresh keeps the window's thread, which typing waits for: the paint
// that makes and adds the copy.
#include "app/main_window.h"
#include "tables/hhea/line_preview.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

double seconds() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Until the preview has drawn the last change: its copy added and the font
// created, measured and drawn.
void drawn(HWND preview) {
    UpdateWindow(preview);
    while (linePreviewPending()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        UpdateWindow(preview);
    }
}

double median(std::vector<double> samples) {
    std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
    return samples[samples.size() / 2];
}

bool measure(HWND host, const char* font, int repeats) {
    fileLength = loadFontFile(font, fileImage, otf);
    if (fileLength == 0)
        return false;
    HWND preview = createLinePreview(host, 0, 0, 0);
    drawn(preview); // the first font, made as the pane opens
    std::vector<double> refreshes, floors, held;
    bool shown = hPreviewFont != nullptr;
    for (int i = 0; i < repeats && shown; ++i) {
        double start = seconds();
        refreshLinePreview();
        UpdateWindow(preview);
        held.push_back(seconds() - start);
        drawn(preview);
        refreshes.push_back(seconds() - start);
        shown = hPreviewFont != nullptr;

        start = seconds();
        const size_t length = static_cast<size_t>(fileLength);
        std::unique_ptr<uint8_t[]> copy(new uint8_t[length]);
        std::memcpy(copy.get(), fileImage.get(), length);
        DWORD fonts = 0;
        HANDLE added =
            AddFontMemResourceEx(copy.get(), static_cast<DWORD>(length), nullptr, &fonts);
        copy.reset();
        floors.push_back(seconds() - start);
        shown = shown && added != nullptr && RemoveFontMemResourceEx(added);
    }
    const size_t fonts = otf->fonts.size();
    DestroyWindow(preview);
    freeFontFile(fileImage, otf);
    if (!shown)
        return false;
    std::printf("preview\t%s\t%ld\t%lu\t%.6f\t%.6f\t%.6f\n", font, static_cast<long>(fileLength),
                static_cast<unsigned long>(fonts), median(refreshes), median(floors), median(held));
    fileLength = 0;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: preview_bench REPEATS FONT...\n");
        return 2;
    }
    const int repeats = std::max(1, std::atoi(argv[1]));
    if (registerLinePreviewClass() == 0)
        return 1;
    HWND host =
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, kLinePreviewWidth,
                        kLinePreviewHeight, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    for (int i = 2; i < argc; ++i) {
        if (!measure(host, argv[i], repeats)) {
            std::fprintf(stderr, "preview_bench: %s could not be previewed\n", argv[i]);
            return 1;
        }
    }
    DestroyWindow(host);
    return 0;
}
