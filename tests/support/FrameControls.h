#pragma once
#include "app/FrameStatusBar.h"
#include "app/MainFrame.h"
#include "platform/DropDownList.h"
#include "platform/KeyedToolbar.h"

#include <QFrame>
#include <QMdiArea>

// The frame's own controls, found by their names, for tests that look at them directly.
template <typename Control>
Control *frameControl(const MainFrame &frame, const char *name)
{
    return frame.findChild<Control *>(QString::fromLatin1(name));
}
inline DropDownList *fontNameBoxOf(const MainFrame &frame) { return frameControl<DropDownList>(frame, "Combo1"); }
inline DropDownList *fontSizeBoxOf(const MainFrame &frame) { return frameControl<DropDownList>(frame, "Combo2"); }
inline KeyedToolbar *standardToolbarOf(const MainFrame &frame) { return frameControl<KeyedToolbar>(frame, "Toolbar1"); }
inline KeyedToolbar *formattingToolbarOf(const MainFrame &frame) { return frameControl<KeyedToolbar>(frame, "Toolbar2"); }
inline FrameStatusBar *statusBarOf(const MainFrame &frame) { return frameControl<FrameStatusBar>(frame, "StatusBar1"); }
inline QFrame *lowerRebarOf(const MainFrame &frame) { return frameControl<QFrame>(frame, "CoolBar1"); }
inline QMdiArea *mdiAreaOf(const MainFrame &frame) { return frameControl<QMdiArea>(frame, "mdiArea"); }
