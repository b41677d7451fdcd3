#include <QApplication>
#include <QMainWindow>

// Placeholder start-up until the entry window lands.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("출금 전표"));
    window.show();
    return app.exec();
}
