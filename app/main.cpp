#include "app/mainwindow.h"
#include "app/resources.h"
#include "app/version.h"

#include <QApplication>
#include <QPixmap>
#include <QSplashScreen>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    initAmpwrightResources();

    const QPixmap splashImage =
        QPixmap(QStringLiteral(":/KestLinear/kest_splashscreen.png"))
            .scaled(640, 480, Qt::KeepAspectRatio, Qt::FastTransformation);
    QSplashScreen splash(splashImage);
    splash.show();
    splash.showMessage(QObject::tr("Kest Voltrane Ampwright Tool V%1 is loading ...")
                           .arg(QString::fromLatin1(kAmpwrightVersion)),
                       Qt::AlignTop | Qt::AlignLeft, Qt::black);
    application.processEvents();

    MainWindow window;
    window.show();
    splash.finish(&window);
    splash.raise();
    return application.exec();
}
