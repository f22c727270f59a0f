// Program entry of the Tallyon window program.
#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tallyon");
    return 0;
}
