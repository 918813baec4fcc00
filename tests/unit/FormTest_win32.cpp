// The main window built from its design inside this process: the fonts it draws with,
// which another process cannot read, and the owner of the shell request.

#include "Application.h"
#include "DocumentLibrary.h"
#include "DocumentLibrary_win32.h"
#include "Native.h"
#include "Screen.h"
#include "Unit1.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Request {
    HWND owner;
    std::string path;
};
std::vector<Request> g_requests;

HINSTANCE WINAPI RecordRequest(HWND owner, LPCSTR, LPCSTR path, LPCSTR, LPCSTR, INT) {
    g_requests.push_back({owner, path});
    return reinterpret_cast<HINSTANCE>(42);
}

HWND Hwnd(TWinControl* control) {
    return static_cast<HWND>(control->Handle());
}

LOGFONTA FontOf(HWND window) {
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

// The face that a font actually gets on this system.
std::string RenderedFace(HWND window) {
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
    char face[LF_FACESIZE] = {};
    GetTextFaceA(dc, sizeof face, face);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return face;
}

class MainWindow : public testing::Test {
protected:
    static void SetUpTestSuite() {
        documents::win32::Calls().shellExecute = RecordRequest;
        Application->Initialize();
        Application->CreateForm(Form1);
    }
    static void TearDownTestSuite() {
        Application->Shutdown();
        Form1 = nullptr;
        documents::win32::Calls() = {};
    }
};

TEST_F(MainWindow, TheTabIsBoldAndTheButtonsRegularInMsSansSerif) {
    const LOGFONTA tab = FontOf(Hwnd(Form1->PageControl1));
    EXPECT_STREQ(tab.lfFaceName, "MS Sans Serif");
    EXPECT_EQ(tab.lfHeight, -11);
    EXPECT_EQ(tab.lfWeight, FW_BOLD);
    EXPECT_EQ(tab.lfCharSet, DEFAULT_CHARSET);
    for (TButton* button :
         {Form1->Button1, Form1->Button2, Form1->Button3, Form1->Button4, Form1->Button5}) {
        const LOGFONTA font = FontOf(Hwnd(button));
        EXPECT_STREQ(font.lfFaceName, "MS Sans Serif") << button->Name;
        EXPECT_EQ(font.lfHeight, -11) << button->Name;
        EXPECT_EQ(font.lfWeight, FW_NORMAL) << button->Name;
    }
    // The face is there, not a stand-in with other metrics: the design stays unscaled.
    EXPECT_EQ(RenderedFace(Hwnd(Form1->Button1)), "MS Sans Serif");
    EXPECT_EQ(ui::TextHeight(Form1->Font), 13);
    EXPECT_EQ(Form1->ClientWidth, 477);
    EXPECT_EQ(Form1->ClientHeight, 289);
}

TEST_F(MainWindow, CaptionsAreTheCatalogueInTheAnsiCodePage) {
    TButton* buttons[] = {Form1->Button1, Form1->Button2, Form1->Button3, Form1->Button4,
                          Form1->Button5};
    for (std::size_t i = 0; i < 5; ++i) {
        char text[128] = {};
        GetWindowTextA(Hwnd(buttons[i]), text, sizeof text);
        EXPECT_EQ(text, ui::win32::ToAnsi(DocumentCatalogue[i].ButtonCaption)) << "Button" << i + 1;
    }
    // Row 3's numero sign is one byte in code page 1251.
    char text[128] = {};
    GetWindowTextA(Hwnd(Form1->Button3), text, sizeof text);
    EXPECT_NE(std::string(text).find("\xB9 533-II"), std::string::npos);
}

TEST_F(MainWindow, TheWindowShowsTheProgramIcon) {
    EXPECT_NE(SendMessageA(Hwnd(Form1), WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageA(Hwnd(Form1), WM_GETICON, ICON_SMALL, 0), 0);
}

TEST_F(MainWindow, AButtonAsksTheShellWithTheMainWindowAsOwner) {
    g_requests.clear();
    SendMessageA(Hwnd(Form1->Button4), BM_CLICK, 0, 0);
    ASSERT_EQ(g_requests.size(), 1u);
    EXPECT_EQ(g_requests[0].owner, Hwnd(Form1));
    EXPECT_EQ(g_requests[0].path, DocumentPath(DocumentCatalogue[3]));
}

} // namespace
