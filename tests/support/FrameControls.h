#pragma once
#include "app/FrameStatusBar.h"
#include "app/MDIForm1.h"
#include "platform/DropDownList.h"
#include "platform/KeyedToolbar.h"

#include <QFrame>
#include <QMdiArea>

// The frame's own controls, found by their names, for tests that look at them directly.
template <typename Control>
Control *frameControl(const MDIForm1 &frame, const char *name)
{
    return frame.findChild<Control *>(QString::fromLatin1(name));
}
inline DropDownList *Combo1Of(const MDIForm1 &frame) { return frameControl<DropDownList>(frame, "Combo1"); }
inline DropDownList *Combo2Of(const MDIForm1 &frame) { return frameControl<DropDownList>(frame, "Combo2"); }
inline KeyedToolbar *Toolbar1Of(const MDIForm1 &frame) { return frameControl<KeyedToolbar>(frame, "Toolbar1"); }
inline KeyedToolbar *Toolbar2Of(const MDIForm1 &frame) { return frameControl<KeyedToolbar>(frame, "Toolbar2"); }
inline FrameStatusBar *StatusBar1Of(const MDIForm1 &frame) { return frameControl<FrameStatusBar>(frame, "StatusBar1"); }
inline QFrame *CoolBar1Of(const MDIForm1 &frame) { return frameControl<QFrame>(frame, "CoolBar1"); }
inline QMdiArea *mdiAreaOf(const MDIForm1 &frame) { return frameControl<QMdiArea>(frame, "mdiArea"); }
