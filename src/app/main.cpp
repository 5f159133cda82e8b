#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Fenwold");
    QApplication::setApplicationVersion(FENWOLD_VERSION);
    QMainWindow window;
    window.setWindowTitle("Fenwold");
    window.resize(1024, 768);
    window.show();
    return QApplication::exec();
}
