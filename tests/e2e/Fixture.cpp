#include "Fixture.h"

#include <algorithm>

namespace e2e {

void KorvelTest::SetUp() {
    RemoveAll(kFolder);
    RemoveAll(L"c:\\e2e");
    RecorderLog::Clear();
    ASSERT_FALSE(Exists(kFolder));
    for (const Document& document : kDocuments)
        ASSERT_FALSE(Committed(document.number).empty())
            << "DOC" << document.number << ".doc not found in " << Narrow(DocumentsFolder());
}

void KorvelTest::TearDown() {
    // Whatever happened, only finished documents may be in the folder.
    if (IsDirectory(kFolder)) {
        for (const std::wstring& name : NamesIn(kFolder)) {
            const bool document =
                std::any_of(std::begin(kDocuments), std::end(kDocuments),
                            [&](const Document& d) { return name == d.fileName; });
            EXPECT_TRUE(document) << "left in " << Narrow(kFolder) << ": " << Narrow(name);
        }
    }
}

std::wstring CannotCreate(const Document& document) {
    return L"Cannot create file " + PathOf(document) + L".";
}

testing::AssertionResult CopyIsIntact(const Document& document) {
    const std::optional<Bytes> bytes = ReadBytes(PathOf(document));
    if (!bytes)
        return testing::AssertionFailure() << "no file " << Narrow(PathOf(document));
    const Bytes& expected = Committed(document.number);
    if (*bytes != expected) {
        const auto differ =
            std::mismatch(bytes->begin(), bytes->end(), expected.begin(), expected.end());
        return testing::AssertionFailure()
               << Narrow(PathOf(document)) << " has " << bytes->size() << " bytes, DOC"
               << document.number << " has " << expected.size() << "; first difference at byte "
               << (differ.first - bytes->begin());
    }
    return testing::AssertionSuccess();
}

testing::AssertionResult OpenedByShell(const ShellRequest& request, const Document& document) {
    const std::string expectedMatch = "DOC" + std::to_string(document.number);
    if (request.path != PathOf(document) || request.argumentCount != 1 || !request.exclusive ||
        request.match != expectedMatch ||
        request.size != static_cast<long long>(Committed(document.number).size()))
        return testing::AssertionFailure()
               << "the shell was asked to open \"" << Narrow(request.path) << "\" ("
               << request.argumentCount << " argument(s)); the file then had " << request.size
               << " bytes, matched " << request.match << ", "
               << (request.exclusive ? "was closed" : "was still held open by someone")
               << "; expected \"" << Narrow(PathOf(document)) << "\", complete ("
               << Committed(document.number).size() << " bytes, " << expectedMatch
               << ") and closed";
    return testing::AssertionSuccess();
}

testing::AssertionResult PressAndExpectOpened(const Program& program, const Document& document,
                                              Press press) {
    const std::vector<HWND> buttons = program.Buttons();
    if (buttons.size() != 5)
        return testing::AssertionFailure() << "found " << buttons.size() << " buttons";
    HWND button = buttons[static_cast<std::size_t>(document.number - 1)];
    const std::size_t seen = RecorderLog::Read().size();
    if (press == Press::Message) {
        PostClick(button);
    } else {
        HWND main = program.MainWindow();
        if (!BringToFront(main))
            return testing::AssertionFailure() << "the main window did not come to the front";
        if (!ClickAt(CentreOf(button)))
            return testing::AssertionFailure() << "the mouse pointer did not reach the button";
    }
    const std::vector<ShellRequest> log = RecorderLog::WaitFor(seen + 1);
    if (log.size() <= seen) {
        if (std::optional<DWORD> code = program.WaitForExit(Duration(0)))
            return testing::AssertionFailure()
                   << "button " << document.number << ": the program ended with code " << *code;
        if (std::optional<ErrorBox> box = program.WaitForErrorBox(Duration(0)))
            return testing::AssertionFailure()
                   << "button " << document.number << " showed \"" << Narrow(box->text) << "\"";
        return testing::AssertionFailure()
               << "button " << document.number << ": the shell was not asked to open anything";
    }
    if (testing::AssertionResult opened = OpenedByShell(log[seen], document); !opened)
        return opened;
    return CopyIsIntact(document);
}

testing::AssertionResult NoShellRequestAfter(std::size_t seen) {
    Sleep(static_cast<DWORD>(kSettle.count()));
    const std::vector<ShellRequest> log = RecorderLog::Read();
    if (log.size() == seen)
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << "the shell was asked to open \"" << Narrow(log[seen].path) << "\"";
}

testing::AssertionResult IsErrorBox(const std::optional<ErrorBox>& box, const Program& program,
                                    const std::wstring& caption, const std::wstring& text) {
    if (!box)
        return testing::AssertionFailure() << "no message box appeared";
    auto failure = testing::AssertionFailure();
    bool failed = false;
    if (box->caption != caption) {
        failure << "caption \"" << Narrow(box->caption) << "\", expected \"" << Narrow(caption)
                << "\"; ";
        failed = true;
    }
    if (box->text != text) {
        failure << "text \"" << Narrow(box->text) << "\", expected \"" << Narrow(text) << "\"; ";
        failed = true;
    }
    if (box->owner != program.FindTopLevel(L"TApplication")) {
        failure << "owned by a " << Narrow(ClassOf(box->owner))
                << " window, not the application window; ";
        failed = true;
    }
    if (box->buttons != std::vector<int>{IDOK} || !box->okIsDefault) {
        failure << "buttons with identifiers";
        for (int button : box->buttons)
            failure << " " << button;
        failure << (box->okIsDefault ? ", OK the default" : ", OK not the default") << "; ";
        failed = true;
    }
    if (!box->errorIcon) {
        failure << "not the error icon; ";
        failed = true;
    }
    return failed ? failure : testing::AssertionSuccess();
}

testing::AssertionResult ModalWhileShownThenDismissed(const ErrorBox& box, const Program& program) {
    HWND app = program.FindTopLevel(L"TApplication");
    HWND main = program.FindTopLevel(L"TForm1");
    for (HWND window : {app, main})
        if (window && IsWindowEnabled(window))
            return testing::AssertionFailure() << "the " << Narrow(ClassOf(window))
                                               << " window takes input while the box is up";
    if (!PressOk(box))
        return testing::AssertionFailure() << "the box did not close on OK";
    const bool back = WaitUntil(
        [&] { return IsWindowEnabled(app) && IsWindowEnabled(main) && program.Active() == main; });
    if (!back)
        return testing::AssertionFailure()
               << "after the box: application window "
               << (IsWindowEnabled(app) ? "enabled" : "disabled") << ", main window "
               << (IsWindowEnabled(main) ? "enabled" : "disabled") << ", active window of class \""
               << Narrow(ClassOf(program.Active())) << "\"";
    return testing::AssertionSuccess();
}

} // namespace e2e
