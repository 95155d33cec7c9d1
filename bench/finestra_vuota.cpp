// The least a Qt program that shows a window does: the start-up benchmark's floor.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication applicazione(argc, argv);
    QWidget finestra;
    finestra.resize(800, 600);
    finestra.show();
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    return QApplication::exec();
}
