// The yardstick for Korvel's start-up: the least a Qt Widgets program can show, one empty
// window.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle("Minimal");
    window.resize(477, 289);
    window.show();
    return QApplication::exec();
}
