#include "windows/SplashWindow.h"
#include "windows/Nameplate.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>

SplashWindow::SplashWindow(QWidget &next) : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint), m_next(next)
{
    setObjectName(QStringLiteral("Form1"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(401, 201); // 6015 x 3015 twips
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(224, 224, 224));
    setPalette(p);
    setAutoFillBackground(true);

    auto *notice = new QLabel(tr("Scrivlo 1.0 — a word processor for rich text.\nFree software; made by its own developers."), this);
    notice->setObjectName(QStringLiteral("Label1"));
    QFont verdana(QStringLiteral("Verdana"));
    verdana.setPointSize(8);
    notice->setFont(verdana);
    notice->setGeometry(24, 150, 353, 36);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    splashTimer = new QTimer(this);
    splashTimer->setObjectName(QStringLiteral("Timer1"));
    splashTimer->setInterval(2000);
    connect(splashTimer, &QTimer::timeout, this, &SplashWindow::showNext);
    splashTimer->start();
}

void SplashWindow::showNext()
{
    splashTimer->stop();
    close();
    m_next.showMaximized();
}

void SplashWindow::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // The frame of lines along a 6000 x 3000 twip rectangle.
    p.setPen(QPen(QColor(120, 120, 130), 1));
    p.drawRect(QRectF(0.5, 0.5, 399, 199));
    Nameplate::draw(p, QPoint(24, 28), 40, 353, tr("Write, format, print."));
}
