#include "tests/wine/dialog_template.h"

namespace {

constexpr WORD kOrdinalMark = 0xFFFF;

// Little-endian words of a resource, read with bounds checks.
class TemplateReader {
  public:
    TemplateReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool ok() const { return ok_; }

    WORD word() {
        if (offset_ + 2 > size_) {
            ok_ = false;
            return 0;
        }
        WORD value = static_cast<WORD>(data_[offset_] | (data_[offset_ + 1] << 8));
        offset_ += 2;
        return value;
    }
    DWORD dword() {
        DWORD low = word();
        return low | (static_cast<DWORD>(word()) << 16);
    }
    short coordinate() { return static_cast<short>(word()); }

    // A NUL-terminated UTF-16 string, converted to the ANSI code page.
    std::string text() {
        std::wstring wide;
        for (WORD c = word(); ok_ && c != 0; c = word())
            wide.push_back(static_cast<wchar_t>(c));
        if (wide.empty())
            return {};
        int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, nullptr);
        std::string narrow(static_cast<size_t>(size), '\0');
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), narrow.data(),
                            size, nullptr, nullptr);
        return narrow;
    }
    // A string or an ordinal (0xFFFF then the number), given as text.
    std::string textOrOrdinal(bool classAtom) {
        if (offset_ + 2 <= size_ && data_[offset_] == 0xFF && data_[offset_ + 1] == 0xFF) {
            word();
            WORD ordinal = word();
            return classAtom ? atomName(ordinal) : "#" + std::to_string(ordinal);
        }
        return text();
    }
    void alignToDword() { offset_ = (offset_ + 3) & ~size_t{3}; }

  private:
    static std::string atomName(WORD atom) {
        switch (atom) {
        case 0x0080:
            return "Button";
        case 0x0081:
            return "Edit";
        case 0x0082:
            return "Static";
        case 0x0083:
            return "ListBox";
        case 0x0084:
            return "ScrollBar";
        case 0x0085:
            return "ComboBox";
        default:
            return "#" + std::to_string(atom);
        }
    }

    const uint8_t* data_;
    size_t size_;
    size_t offset_ = 0;
    bool ok_ = true;
};

} // namespace

std::optional<DialogTemplate> loadDialogTemplate(const char* name) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(5)); // RT_DIALOG
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (bytes == nullptr)
        return std::nullopt;
    TemplateReader reader(static_cast<const uint8_t*>(bytes), SizeofResource(module, found));

    DialogTemplate dialog;
    dialog.style = reader.dword();
    if (HIWORD(dialog.style) == kOrdinalMark) // an extended template
        return std::nullopt;
    dialog.exStyle = reader.dword();
    WORD count = reader.word();
    dialog.x = reader.coordinate();
    dialog.y = reader.coordinate();
    dialog.cx = reader.coordinate();
    dialog.cy = reader.coordinate();
    reader.textOrOrdinal(false); // menu
    reader.textOrOrdinal(true);  // window class
    dialog.caption = reader.text();
    if (dialog.style & DS_SETFONT) {
        dialog.pointSize = reader.word();
        dialog.typeface = reader.text();
    }
    for (WORD i = 0; i < count && reader.ok(); ++i) {
        reader.alignToDword();
        DialogItemTemplate item;
        item.style = reader.dword();
        item.exStyle = reader.dword();
        item.x = reader.coordinate();
        item.y = reader.coordinate();
        item.cx = reader.coordinate();
        item.cy = reader.coordinate();
        item.id = reader.word();
        item.className = reader.textOrOrdinal(true);
        item.text = reader.textOrOrdinal(false);
        WORD extra = reader.word();
        for (WORD skipped = 0; skipped < extra; skipped += 2)
            reader.word();
        dialog.items.push_back(item);
    }
    if (!reader.ok())
        return std::nullopt;
    return dialog;
}
