#include "korvex.h"
#include "mainwindow.h"

#include <QDebug>

bool MainWindow::openDevice(int deviceIndex)
{
    const int count = Device_Scan(0);
    if (count <= 0) {
        warn(QStringLiteral("无设备连接！"));
        return false;
    }
    qDebug() << "dev num = " << count;
    if (!Device_Open(deviceIndex)) {
        warn(QStringLiteral("打开设备失败！"));
        return false;
    }
    return true;
}
