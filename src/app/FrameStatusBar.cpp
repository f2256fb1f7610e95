#include "app/FrameStatusBar.h"
#include "app/LockKeys.h"

#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QTimer>

FrameStatusBar::FrameStatusBar(QWidget *parent) : QStatusBar(parent), m_clock(new QTimer(this))
{
    setObjectName(QStringLiteral("StatusBar1"));
    const QStringList texts{QStringLiteral(" For help, press F1"), QStringLiteral("NUM"), QStringLiteral("INS"),
                            QStringLiteral("CAPS"), QString(), QString()};
    for (int i = 0; i < texts.size(); ++i) {
        auto *label = new QLabel(texts[i], this);
        label->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        label->setContentsMargins(4, 0, 4, 0);
        if (i == 0)
            addWidget(label, 1);
        else
            addPermanentWidget(label);
        m_panels << label;
    }
    const QString unreported = tr(" (not reported by this display)");
    m_panels[1]->setToolTip(tr("Num Lock") + (LockKeys::numLock() ? QString() : unreported));
    m_panels[2]->setToolTip(tr("Insert mode (greyed while typing overwrites; the Insert key switches)"));
    m_panels[3]->setToolTip(tr("Caps Lock") + (LockKeys::capsLock() ? QString() : unreported));
    connect(m_clock, &QTimer::timeout, this, &FrameStatusBar::refresh);
    m_clock->start(1000);
    qApp->installEventFilter(this); // lock keys change with any key press
    refresh();
}

QLabel *FrameStatusBar::panel(int index) const { return m_panels.value(index - 1); }

void FrameStatusBar::setInsertMode(bool inserting)
{
    m_inserting = inserting;
    m_panels[2]->setEnabled(inserting);
}

void FrameStatusBar::refresh()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale = QLocale::system();
    m_panels[4]->setText(locale.toString(now.time(), QLocale::ShortFormat));
    m_panels[5]->setText(locale.toString(now.date(), QLocale::ShortFormat));
    m_panels[1]->setEnabled(LockKeys::numLock().value_or(false));
    m_panels[3]->setEnabled(LockKeys::capsLock().value_or(false));
    m_panels[2]->setEnabled(m_inserting);
}

bool FrameStatusBar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_CapsLock || key == Qt::Key_NumLock)
            QTimer::singleShot(0, this, &FrameStatusBar::refresh);
    }
    return QStatusBar::eventFilter(watched, event);
}
