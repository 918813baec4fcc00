#pragma once
// What every end-to-end case starts from, and the checks its cases share.

#include "Harness.h"

#include <gtest/gtest.h>

namespace e2e {

// Each case starts with no document folder, no copies of the program and an empty
// recorder log, and ends by checking that no temporary file was left beside the documents.
class KorvelTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// The document's copy on disk is, byte for byte, the committed document.
testing::AssertionResult CopyIsIntact(const Document& document);

// The recorder was started for exactly the document's path, with the file complete and
// closed at that moment.
testing::AssertionResult OpenedByShell(const ShellRequest& request, const Document& document);

// Presses the button and checks the one new shell request it brings and the copy on disk.
enum class Press { Message, Mouse };
inline void PrintTo(Press press, std::ostream* out) {
    *out << (press == Press::Message ? "BM_CLICK" : "mouse");
}
testing::AssertionResult PressAndExpectOpened(const Program& program, const Document& document,
                                              Press press = Press::Message);

// No shell request beyond the first `seen` arrives within the settle time.
testing::AssertionResult NoShellRequestAfter(std::size_t seen);

// The box is Korvel's error box with that text, owned by the application window.
testing::AssertionResult IsErrorBox(const std::optional<ErrorBox>& box, const Program& program,
                                    const std::wstring& caption, const std::wstring& text);

// While the box is up nothing else of the program takes input; once OK is pressed the
// windows take input again and the main window is the active one again.
testing::AssertionResult ModalWhileShownThenDismissed(const ErrorBox& box, const Program& program);

std::wstring CannotCreate(const Document& document);

} // namespace e2e
