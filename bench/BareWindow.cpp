// The yardstick for bench/resources.sh: a bare, frameless Qt window of the Warmap's size.
#include <QApplication>
#include <QScreen>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.setFixedSize(468, 608);
    window.setStyleSheet(
        QStringLiteral("background: qlineargradient(x1:0, y1:0, x2:1, y2:1, stop:0 #5a3c22, stop:1 #c8b48a);"));
    window.move(QGuiApplication::primaryScreen()->geometry().center() - window.rect().center());
    window.show();
    return app.exec();
}
