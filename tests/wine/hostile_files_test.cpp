// Broken font files opened in the real main window: each one is refused with
// the open-failure message, or it opens, every tree item shows its pane over
// the broken tables, and it writes out at the length it was read with.
#include "app/base_window.h"
#include "app/main_window.h"
#include "app/placeholder_pane.h"
#include "tables/gasp/gasp_pane.h"
#include "tables/os2/os2_pane.h"
#include "tests/support/malformed_fonts.h"
#include "tests/wine/modal_answerer.h"
#include "tests/wine/program_windows.h"
#include "tests/wine/wine_test_files.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::string paneFor(const std::string& item) {
    if (item == "gasp")
        return kGaspPaneClass;
    if (item == "OS/2")
        return kOS2PaneClass;
    return kPlaceholderPaneClass;
}

size_t firstDifference(const Bytes& a, const Bytes& b) {
    return static_cast<size_t>(std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first -
                               a.begin());
}

} // namespace

TEST(HostileFiles, EachIsRefusedOrOpensWithEveryItemSafe) {
    for (const MalformedFont& font : malformedFonts()) {
        SCOPED_TRACE(font.name + " (" + outcomeName(font.outcome) + ")");
        TestFolder folder;
        const std::string name = font.name + ".ttf";
        ASSERT_TRUE(writeBytes(folder.file(name), font.bytes));
        ProgramWindow program;
        std::vector<MessageBoxSeen> seen;
        {
            ModalAnswerer answerer({recordMessageBox(seen)});
            program.load(folder.file(name));
            pumpMessages();
        }
        ASSERT_TRUE(IsWindow(program.handle()));
        const TreeContents tree = treeContents(hTreeView);
        if (font.outcome == MalformedOutcome::Refused) {
            ASSERT_EQ(seen.size(), 1u);
            EXPECT_EQ(seen[0].text, "ファイルを開くことができません。");
            EXPECT_EQ(seen[0].caption, "Error");
            EXPECT_EQ(tree.count, 0);
            EXPECT_EQ(otf, nullptr);
            continue;
        }
        EXPECT_TRUE(seen.empty()) << seen[0].text;
        ASSERT_NE(otf, nullptr);
        EXPECT_EQ(tree.root, name);
        EXPECT_EQ(tree.count, static_cast<int>(tree.children.size()) + 1);

        std::vector<std::string> items = tree.children;
        items.insert(items.begin(), tree.root);
        for (const std::string& item : items) {
            EXPECT_TRUE(selectItem(hTreeView, item)) << item;
            pumpMessages();
            ASSERT_TRUE(IsWindow(program.handle())) << item;
            EXPECT_EQ(paneClasses(hBaseWindow), std::vector<std::string>{paneFor(item)}) << item;
        }

        ASSERT_TRUE(writeOutAs(program, folder.file("out.ttf")));
        const Bytes out = readBytes(folder.file("out.ttf"));
        EXPECT_EQ(out.size(), font.bytes.size());
        if (font.outcome == MalformedOutcome::PassesThrough) {
            EXPECT_TRUE(out == font.bytes)
                << "first change at " << firstDifference(font.bytes, out);
        }
    }
}
