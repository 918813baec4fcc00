#include "Application.h"

#include "Form.h"
#include "Native.h"
#include "Rules.h"

#include <QApplication>
#include <QMessageBox>

#include <climits>
#include <unistd.h>

namespace {

int g_argc = 1;
char g_program[] = "Korvel";
char* g_defaultArgv[] = {g_program, nullptr};
char** g_argv = g_defaultArgv;

std::unique_ptr<QApplication> g_qt;
std::string g_title;

std::string LowerUtf8(std::string text) {
    return QString::fromStdString(text).toLower().toStdString();
}

// The title comes from the executable's file name, as on Windows.
std::string TitleFromExecutable() {
    char path[PATH_MAX] = {};
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string name = length > 0 ? std::string(path, static_cast<std::size_t>(length)) : g_argv[0];
    if (auto slash = name.rfind('/'); slash != std::string::npos)
        name.erase(0, slash + 1);
    return ui::ApplicationTitle(name, LowerUtf8);
}

void ShowMessageBox(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, parent);
    // No other window of the program takes input while the box is shown.
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

QWidget* MainWidget() {
    TForm* main = Application->MainForm();
    return main && main->HandleAllocated() ? static_cast<QWidget*>(main->Handle()) : nullptr;
}

} // namespace

namespace ui::qt {

MessageBoxFunction& MessageBoxCall() {
    static MessageBoxFunction call = &ShowMessageBox;
    return call;
}

void KeepArguments(int argc, char** argv) {
    g_argc = argc;
    g_argv = argv;
}

} // namespace ui::qt

// Created before the program's entry point runs, with its title. Qt itself comes with
// Initialize, which has the program's arguments.
static TApplication g_application;
TApplication* Application = &g_application;

TApplication::TApplication() : TComponent(nullptr) {
    g_title = TitleFromExecutable();
}

TApplication::~TApplication() {
    Shutdown();
}

// Qt's own static objects may go before ours at exit; the widgets must go first.
void TApplication::Shutdown() {
    DestroyComponents();
    mainForm_ = nullptr;
    g_qt.reset();
}

void* TApplication::Handle() const {
    return MainWidget();
}

void TApplication::Initialize() {
    if (!QCoreApplication::instance())
        g_qt = std::make_unique<QApplication>(g_argc, g_argv);
    QGuiApplication::setDesktopFileName("net.korvel.Korvel");
}

void TApplication::Run() {
    if (!mainForm_)
        return;
    mainForm_->Show();
    QApplication::exec();
}

void TApplication::Terminate() {
    QCoreApplication::quit();
}

void TApplication::Minimize() {
    if (QWidget* main = MainWidget())
        main->showMinimized();
}

void TApplication::Restore() {
    if (QWidget* main = MainWidget()) {
        main->showNormal();
        main->activateWindow();
    }
}

std::string TApplication::Title() const {
    return g_title;
}

// Qt ends a mouse grab when a modal box opens; there is nothing to cancel first.
void TApplication::CancelMouseCapture() {}

void TApplication::ShowGenericReport(const std::string& text) {
    ui::qt::MessageBoxCall()(nullptr, "Application Error", QString::fromStdString(text));
}

void TApplication::ShowException(const Exception& e) {
    const std::string text = ui::WithFullStop(e.Message());
    ui::qt::MessageBoxCall()(MainWidget(), QString::fromStdString(g_title),
                             QString::fromStdString(text));
}
