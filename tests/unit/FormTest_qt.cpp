// The main window on Qt's offscreen platform: its design, its keyboard, its buttons and
// the error box, with the open request caught by a URL handler instead of a program.

#include "Application.h"
#include "DocumentLibrary.h"
#include "Native.h"
#include "Unit1.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {

class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.append(url); }
};

struct Box {
    QString caption;
    QString text;
};
std::vector<Box> g_boxes;

void RecordBox(QWidget*, const QString& caption, const QString& text) {
    g_boxes.push_back({caption, text});
}

QWidget* Widget(TWinControl* control) {
    return static_cast<QWidget*>(control->Handle());
}

class MainWindow : public testing::Test {
protected:
    static void SetUpTestSuite() {
        home_ = new QTemporaryDir;
        qputenv("HOME", home_->path().toUtf8());
        Application->Initialize();
        Application->CreateForm(Form1);
        recorder_ = new UrlRecorder;
        QDesktopServices::setUrlHandler("file", recorder_, "open");
        Form1->Show();
        QApplication::processEvents();
    }
    static void TearDownTestSuite() {
        QDesktopServices::unsetUrlHandler("file");
        Application->Shutdown();
        Form1 = nullptr;
        delete recorder_;
        delete home_;
    }
    void SetUp() override {
        g_boxes.clear();
        recorder_->urls.clear();
        ui::qt::MessageBoxCall() = RecordBox;
        Form1->PageControl1->SetFocus();
        QApplication::processEvents();
    }

    static TWinControl* Focused() { return NativeControl::FromWidget(QApplication::focusWidget()); }
    static void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
        QApplication::processEvents();
    }

    static QTemporaryDir* home_;
    static UrlRecorder* recorder_;
};

QTemporaryDir* MainWindow::home_ = nullptr;
UrlRecorder* MainWindow::recorder_ = nullptr;

TEST_F(MainWindow, IsBuiltAtItsDesignedPlaceAndSize) {
    QWidget* window = Widget(Form1);
    EXPECT_EQ(window->windowTitle(), "Korvel");
    EXPECT_EQ(window->size(), QSize(477, 289));
    EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "the frame must not resize it";
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(Widget(Form1->PageControl1)->geometry(), QRect(8, 8, 457, 273));
    EXPECT_EQ(Widget(Form1->Image1)->geometry(), QRect(288, 16, 153, 217));
    const QRect buttons[] = {{8, 16, 257, 25},
                             {8, 64, 257, 25},
                             {8, 104, 257, 25},
                             {8, 152, 257, 25},
                             {8, 200, 257, 25}};
    TButton* controls[] = {Form1->Button1, Form1->Button2, Form1->Button3, Form1->Button4,
                           Form1->Button5};
    for (int i = 0; i < 5; ++i) {
        auto* button = qobject_cast<QPushButton*>(Widget(controls[i]));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->geometry(), buttons[i]) << "Button" << i + 1;
        EXPECT_EQ(button->text().toStdString(),
                  DocumentCatalogue[static_cast<std::size_t>(i)].ButtonCaption);
        EXPECT_EQ(button->parentWidget(), Widget(Form1->TabSheet1));
    }
    auto* tabs = qobject_cast<QTabWidget*>(Widget(Form1->PageControl1));
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->count(), 1);
    EXPECT_EQ(tabs->tabText(0), "- 1 -");
}

TEST_F(MainWindow, TheTabIsBoldAndTheButtonsAreRegular) {
    auto* tabs = qobject_cast<QTabWidget*>(Widget(Form1->PageControl1));
    EXPECT_TRUE(tabs->tabBar()->font().bold());
    EXPECT_EQ(tabs->tabBar()->font().pixelSize(), 11);
    const QFont button = Widget(Form1->Button3)->font();
    EXPECT_FALSE(button.bold());
    EXPECT_EQ(button.pixelSize(), 11);
    EXPECT_EQ(button.family(), tabs->tabBar()->font().family());
    // The stand-in face keeps the design unscaled: 8-point text is 13 pixels high.
    EXPECT_EQ(QFontMetrics(button).height(), 13);
}

TEST_F(MainWindow, TabWalksTheButtonsAndWrapsAround) {
    TWinControl* forward[] = {Form1->Button1, Form1->Button2, Form1->Button3,
                              Form1->Button4, Form1->Button5, Form1->PageControl1};
    EXPECT_EQ(Focused(), Form1->PageControl1);
    for (TWinControl* expected : forward) {
        Press(Qt::Key_Tab);
        EXPECT_EQ(Focused(), expected) << expected->Name;
    }
    TWinControl* backward[] = {Form1->Button5, Form1->Button4, Form1->Button3,
                               Form1->Button2, Form1->Button1, Form1->PageControl1};
    for (TWinControl* expected : backward) {
        Press(Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(Focused(), expected) << expected->Name;
    }
}

TEST_F(MainWindow, ArrowsMoveAmongTheButtonsAndWrapAround) {
    const struct {
        TButton* from;
        int key;
        TButton* to;
    } cases[] = {
        {Form1->Button3, Qt::Key_Down, Form1->Button4},
        {Form1->Button3, Qt::Key_Up, Form1->Button2},
        {Form1->Button3, Qt::Key_Right, Form1->Button4},
        {Form1->Button3, Qt::Key_Left, Form1->Button2},
        {Form1->Button5, Qt::Key_Down, Form1->Button1},
        {Form1->Button1, Qt::Key_Up, Form1->Button5},
    };
    for (const auto& c : cases) {
        c.from->SetFocus();
        Press(c.key);
        EXPECT_EQ(Focused(), c.to) << c.from->Name << " key " << c.key;
    }
}

TEST_F(MainWindow, EnterAndSpaceClickTheFocusedButtonOnce) {
    for (int key : {Qt::Key_Return, Qt::Key_Space}) {
        recorder_->urls.clear();
        Form1->Button2->SetFocus();
        Press(key);
        ASSERT_EQ(recorder_->urls.size(), 1) << "key " << key;
        EXPECT_EQ(recorder_->urls[0].toLocalFile().toStdString(),
                  DocumentPath(DocumentCatalogue[1]));
    }
}

TEST_F(MainWindow, EnterOnTheTabEscapeAndCtrlTabDoNothing) {
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
    } keys[] = {{Qt::Key_Return, Qt::NoModifier},
                {Qt::Key_Escape, Qt::NoModifier},
                {Qt::Key_Tab, Qt::ControlModifier}};
    for (const auto& k : keys) {
        Press(k.key, k.modifiers);
        EXPECT_EQ(Focused(), Form1->PageControl1);
    }
    EXPECT_TRUE(recorder_->urls.isEmpty());
    EXPECT_TRUE(g_boxes.empty());
    EXPECT_TRUE(Widget(Form1)->isVisible());
}

TEST_F(MainWindow, EachButtonWritesItsDocumentAndAsksForItToBeOpened) {
    TButton* buttons[] = {Form1->Button1, Form1->Button2, Form1->Button3, Form1->Button4,
                          Form1->Button5};
    for (std::size_t i = 0; i < 5; ++i) {
        QTest::mouseClick(Widget(buttons[i]), Qt::LeftButton);
        ASSERT_EQ(recorder_->urls.size(), static_cast<qsizetype>(i + 1));
        const std::string path = recorder_->urls.back().toLocalFile().toStdString();
        EXPECT_EQ(path, DocumentPath(DocumentCatalogue[i]));
        EXPECT_TRUE(QFile::exists(QString::fromStdString(path)));
    }
    EXPECT_TRUE(g_boxes.empty());
}

TEST_F(MainWindow, AFailureShowsTheErrorBoxAndTheWindowGoesOn) {
    const std::string path = DocumentPath(DocumentCatalogue[0]);
    QFile::remove(QString::fromStdString(path));
    QDir().mkpath(QString::fromStdString(path)); // a folder where the document goes
    for (int press = 0; press < 2; ++press)
        QTest::mouseClick(Widget(Form1->Button1), Qt::LeftButton);
    QDir(QString::fromStdString(path)).removeRecursively();

    ASSERT_EQ(g_boxes.size(), 2u);
    for (const Box& box : g_boxes) {
        EXPECT_EQ(box.caption.toStdString(), Application->Title());
        EXPECT_EQ(box.text.toStdString(), "Cannot create file " + path + ".");
    }
    EXPECT_TRUE(recorder_->urls.isEmpty());
    QTest::mouseClick(Widget(Form1->Button1), Qt::LeftButton);
    EXPECT_EQ(recorder_->urls.size(), 1);
}

TEST(ApplicationTitle, ComesFromTheProgramsName) {
    EXPECT_EQ(Application->Title(), "form_test");
}

} // namespace

#include "FormTest_qt.moc"
