// The window program.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Orvanta");
    QMainWindow window;
    window.setWindowTitle("NEWFILE.LMX  Orvanta");
    window.setFixedSize(792, 554);
    window.show();
    return app.exec();
}
