#include "windows/HelpWindow.h"
#include "platform/Failure.h"
#include "platform/Icons.h"
#include "workspace/Services.h"
#include "platform/SettingsStore.h"
#include "workspace/Workspace.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QWindow>

namespace {

const QString Section = QStringLiteral("help");
const QString Key = QStringLiteral("size");

// "640x480" gives that size; anything else gives nothing.
QSize sizeFromText(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return {};
    return {match.captured(1).toInt(), match.captured(2).toInt()};
}

} // namespace

HelpWindow::HelpWindow(Workspace &workspace)
    : QWidget(nullptr, Qt::Window), m_settings(workspace.services().settings)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Scrivlo Help"));
    setWindowIcon(Icons::application());
    setAttribute(Qt::WA_DeleteOnClose);
    browser = new QTextBrowser(this);
    browser->setObjectName(QStringLiteral("Browser"));
    browser->setOpenExternalLinks(true); // the guide's own links stay inside, any other goes to the browser
    browser->setSource(QUrl(QStringLiteral("qrc:/help/guide.html")));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser);

    // Not a child of the frame, so that it stays usable while a dialog holds the frame; it still
    // stays in front of the frame and goes when the frame goes.
    QWidget &frame = workspace.window();
    restoreSize(frame);
    winId();
    if (windowHandle() && frame.windowHandle())
        windowHandle()->setTransientParent(frame.windowHandle());
}

void HelpWindow::restoreSize(const QWidget &frame)
{
    QSize size(640, 560);
    skipOnFailure([&] {
        const QSize kept = sizeFromText(m_settings.setting(Section, Key, QString()));
        if (kept.isValid())
            size = kept;
    });
    // A size kept on a larger screen, or written by hand, is made to fit this one, with room left
    // for the window's frame.
    const QScreen *screen = frame.screen() ? frame.screen() : QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    size = size.expandedTo(QSize(320, 240)).boundedTo(available.size() * 0.9);
    resize(size);
    move(available.center() - rect().center());
}

void HelpWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // Only what the user does to the open window is kept.
    if (isVisible())
        skipOnFailure([&] {
            m_settings.saveSetting(Section, Key, QStringLiteral("%1x%2").arg(width()).arg(height()));
        });
}
