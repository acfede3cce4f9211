// Unsaved edits: the question before the program leaves an edited font, the
// title's mark, and a failed open that keeps the font with its edits.
#include "tests/wine/program_windows.h"

namespace {

const std::string kTitle = "fontab - Tablesmith", kMarked = kTitle + " *";

// Opens the sample font and sets its weight, 400 as read, to 900 through the
// pane (and back when setBack): the title is marked after the first.
void openAndEdit(Session& session, bool setBack) {
    ASSERT_TRUE(session.open(sampleFont(), "OS/2"));
    for (int position : {9, setBack ? 4 : 9}) {
        moveTrackbar(hWeightTrackbar, position, {TB_ENDTRACK});
        EXPECT_TRUE(setBack || windowText(session.program.handle()) == kMarked);
    }
}

uint16_t weightIn(const Bytes& font) { // in the sample font's OS/2 (record 5); 0 for no file
    return font.empty() ? 0 : getU16(font, recordOffset(font, 5) + 4);
}

} // namespace

// Every way of leaving an edited font, and every answer. Yes writes out
// through the save dialog and goes on once written; that dialog cancelled,
// nothing happens; No goes on; Cancel changes nothing; an edit set back asks
// nothing. A file that cannot be opened leaves the font as it was, its edits,
// tree, pane and mark too. The title is marked while the font holds what was
// not written; a write-out then holds the edit and quitting asks nothing. The
// files are named, in a folder named, as the code page cannot spell: the open
// and save dialogs and a drop hand the program every name Windows can open.
TEST(UnsavedEdits, EachAnswerBeforeAnEditedFontIsLeftAndAFailedOpenKeepsItWithFileDialog) {
    // Quit from the menu, the close button, the end of the session, open from the menu
    // and by a drop; a file too short for its own directory opened, a missing one dropped.
    enum Way { quitCommand, closeButton, endSession, openCommand, drop, openBroken, dropMissing };
    const UINT messages[] = {WM_COMMAND,   WM_SYSCOMMAND, WM_QUERYENDSESSION, WM_COMMAND,
                             WM_DROPFILES, WM_COMMAND,    WM_DROPFILES};
    const WPARAM commands[] = {IDM_QUIT, SC_CLOSE, 0, IDM_OPEN, 0, IDM_OPEN, 0};
    // The question's answer (0: the edit was set back, nothing asks), then the save dialog's.
    const std::pair<int, int> answers[] = {
        {IDYES, IDOK}, {IDYES, IDCANCEL}, {IDNO, 0}, {IDCANCEL, 0}, {0, 0}};
    for (Way way :
         {quitCommand, closeButton, endSession, openCommand, drop, openBroken, dropMissing})
        for (auto [answer, save] : answers) {
            SCOPED_TRACE(testing::Message() << "way " << way << ", answers " << answer << save);
            Session session(unspellableName());
            ASSERT_TRUE(codePageLacks(session.folder.path()));
            openAndEdit(session, answer == 0);
            const std::string otherName = unspellableName() + ".ttf",
                              other = session.folder.file(otherName),
                              saved = session.folder.file(unspellableName() + "-2.ttf"),
                              broken = session.folder.file("broken.ttf");
            ASSERT_TRUE(writeBytes(other, session.font) &&
                        writeBytes(broken, Bytes(session.font.begin(), session.font.begin() + 20)));
            HWND window = session.program.handle();
            const auto before = std::make_tuple(treeTexts(), hPane);
            const bool goesOn = answer == 0 || answer == IDNO || save == IDOK;
            std::vector<MessageBoxSeen> seen,
                expected(answer != 0, {"in.ttf への変更を保存しますか？", "fontab",
                                       MB_ICONWARNING | MB_YESNOCANCEL, window});
            std::vector<Step> steps;
            if (answer != 0)
                steps.push_back(recordMessageBox(seen, answer));
            if (save != 0)
                steps.push_back(save == IDOK ? chooseFile(saved) : press(IDCANCEL));
            if (goesOn && (way == openCommand || way == openBroken))
                steps.push_back(
                    chooseFile(way == openCommand ? other : broken, "フォントファイルを開く"));
            if (goesOn && way >= openBroken) {
                steps.push_back(recordMessageBox(seen));
                expected.push_back(errorBox("ファイルを開くことができません。", nullptr)[0]);
            }
            const WPARAM wParam =
                messages[way] != WM_DROPFILES
                    ? commands[way]
                    : reinterpret_cast<WPARAM>(dropOf(
                          session.folder.path(), {wide(way == drop ? otherName : "missing.ttf")}));
            LRESULT result = 0;
            {
                ModalAnswerer answerer(steps);
                result = SendMessageW(window, messages[way], wParam, 0);
                pumpMessages();
                EXPECT_EQ(answerer.answered(), static_cast<int>(steps.size()));
            }
            EXPECT_EQ(seen, expected);
            EXPECT_EQ(weightIn(readBytes(saved)), save == IDOK ? 900 : 0);
            EXPECT_EQ(result, LRESULT{way == endSession && goesOn});
            if (goesOn && way < endSession) {
                EXPECT_FALSE(IsWindow(window));
                continue;
            }
            const bool opened = goesOn && (way == openCommand || way == drop);
            EXPECT_EQ(windowText(window),
                      !opened && (!goesOn || answer == IDNO) ? kMarked : kTitle);
            if (opened)
                EXPECT_EQ(treeTexts().at(0), otherName);
            else
                EXPECT_EQ(std::make_tuple(treeTexts(), hPane), before); // the very pane
            EXPECT_EQ(weightIn(session.writeOut("after.ttf")), opened || answer == 0 ? 400 : 900);
            EXPECT_EQ(windowText(window), kTitle);
            ModalAnswerer nothingAsks({});
            session.program.command(IDM_QUIT);
            EXPECT_FALSE(IsWindow(window));
        }
}
